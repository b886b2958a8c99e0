// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window tells after each command: the status bar line with its figures, a
// damaged file's message in words, and the question before Filter List deletes rows.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"

namespace cadenzo {

namespace {

// Songs on a PSR-S970 whose style the model's own list holds, genres Pop and Jazz by turns.
std::vector<std::uint8_t> Songs(int count) {
  testing::FileBuilder file{.model = "PSR-S970"};
  for (int i = 0; i < count; ++i) {
    file.records.push_back(testing::RecordBuilder{.number = i,
                                                  .style = 291,
                                                  .tempo = 100 + i,
                                                  .music = "Song " + std::to_string(i),
                                                  .genre = i % 2 == 0 ? "Pop" : "Jazz"});
  }
  return file.Build();
}

// The program started with the file named on its command line.
struct Program {
  explicit Program(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    path = tmp.Write(name, bytes).string();
    app.SetDialogs(&dialogs);
    started = app.Main({path}, CADENZO_DATA_DIR, (tmp.Path() / "user").string() + "/");
    window = app.Window();
  }
  AppState& State() { return app.State(); }
  QString StatusLine() const { return window->statusBar()->currentMessage(); }
  void Trigger(const char* name) const {
    window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
  }
  void Press(const char* name) const {
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  void ClickRow(int row) const {
    QTableView* view = window->ListView1();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, 2)).center());
  }
  static QWidget* TopLevel(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    }
    return nullptr;
  }
  int RowsLeft() {
    int left = 0;
    for (const Row& row : State().List) left += row.deleted ? 0 : 1;
    return left;
  }

  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  Application app;
  std::string path;
  bool started = false;
  MainWindow* window = nullptr;
};

}  // namespace

class FeedbackWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Each command in turn, through the real window; the status bar shows the line of the last one.
  void statusBarConfirmsWhatEachCommandDid() {
    Program p("songs.mfd", Songs(4));
    QVERIFY(p.started);
    QCOMPARE(p.window->statusBar()->objectName(), QStringLiteral("statusBar"));
    QCOMPARE(p.StatusLine(), QStringLiteral("Opened songs.mfd: 4 records from a PSR-S970"));
    const std::string list = p.tmp.Str() + "list.txt";
    const std::string out = p.tmp.Str() + "out.mfd";
    struct Step {
      const char* name;
      std::function<void()> run;
      QString status;
    };
    const std::vector<Step> steps = {
        {"check all", [&] { p.Press("cmdCheck"); }, "4 rows checked"},
        {"invert", [&] { p.Press("cmdInvert"); }, "0 rows checked"},
        {"favorite on all", [&] { p.Press("cmdSetFav"); }, "Favorite set on all 4 records"},
        {"export",
         [&] {
           p.dialogs.QueueFile(list);
           p.Trigger("mnuTextFile");
         },
         "Exported 4 records to list.txt"},
        // The exported list read back: four more records, none left out.
        {"import",
         [&] {
           p.dialogs.QueueFile(list);
           p.Trigger("mnuTextDelimitedInput");
         },
         "Imported 4 records"},
        {"delete",
         [&] {
           p.ClickRow(0);
           p.Press("CmdDelete");
         },
         "Deleted record 1; it will not be saved"},
        {"replace",
         [&] {
           p.ClickRow(1);
           p.Press("cmdReplaceStyle");
           QWidget* w = Program::TopLevel("frmStyleReplace");
           QVERIFY(w != nullptr);
           w->findChild<QRadioButton*>(QStringLiteral("optGenre"))->click();
           auto* genre = w->findChild<QComboBox*>(QStringLiteral("cboGenre"));
           genre->setEditText(QStringLiteral("Soul"));
           emit genre->lineEdit()->editingFinished();
           w->findChild<QPushButton*>(QStringLiteral("cmdAllEntries"))->click();
           w->close();
         },
         // Row 1 is a Jazz song, as are every second of the original and the imported ones.
         "Replaced Jazz by Soul in 4 records"},
        {"save",
         [&] {
           p.dialogs.QueueFile(out);
           p.Trigger("mnuConvert");
           QWidget* options = Program::TopLevel("frmConvert");
           QVERIFY(options != nullptr);
           options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
           QCoreApplication::processEvents();
         },
         "Saved 7 records to out.mfd"},
    };
    for (const Step& step : steps) {
      step.run();
      QVERIFY2(!QTest::currentTestFailed(), step.name);
      QVERIFY2(p.StatusLine() == step.status,
               qPrintable(QString::fromLatin1(step.name) + ": " + p.StatusLine()));
      QVERIFY2(p.dialogs.messages.empty(), step.name);
    }
    QVERIFY(p.dialogs.AllAnswered());
    // The import told its progress to the end, and the bar is gone once it is done.
    QVERIFY(!p.dialogs.progress.empty());
    QVERIFY(std::any_of(p.dialogs.progress.begin(), p.dialogs.progress.end(), [](const auto& step) {
      return step == std::pair<std::size_t, std::size_t>{4, 4};
    }));
    QVERIFY(!p.window->findChild<QProgressBar*>(QStringLiteral("prgStatus"))->isVisible());
    QVERIFY(std::filesystem::exists(out));
  }

  // A file cut off in its seventh record: the words name the record, the count and the byte, and
  // the rows before it are shown.
  void aDamagedFileIsDescribedInWords() {
    std::vector<std::uint8_t> bytes = Songs(8);
    bytes.resize(mfd::RecordOffset(7) + 30);
    Program p("Example.mfd", bytes);
    QCOMPARE(p.dialogs.Texts(),
             std::vector<std::string>{
                 "Example.mfd is damaged: record 7 of 8 is cut off at byte 620. The 6 records "
                 "before it are shown; saving writes only those."});
    QCOMPARE(p.window->ListView1()->model()->rowCount(), 6);
    QCOMPARE(p.StatusLine(),
             QStringLiteral("Opened Example.mfd: 6 of 8 records, the file is damaged"));

    // Saving writes the records that were shown, as the message said.
    p.dialogs.messages.clear();
    const std::string out = p.tmp.Str() + "out.mfd";
    p.dialogs.QueueFile(out);
    p.Trigger("mnuConvert");
    QWidget* options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    QCoreApplication::processEvents();
    QVERIFY(p.dialogs.AllAnswered());
    QCOMPARE(p.StatusLine(), QStringLiteral("Saved 6 records to out.mfd"));
    const std::string saved = testing::ReadText(out);
    QCOMPARE(int{HeaderCount(
                 std::span(reinterpret_cast<const std::uint8_t*>(saved.data()), saved.size()))},
             6);
  }

  // Filter List says how many rows it would delete and asks, No being the default; No leaves
  // every row, Yes with "Don't ask again" filters and is not asked the next time.
  void filterListAsksBeforeItDeletes() {
    Program p("songs.mfd", Songs(6));
    QVERIFY(p.started);
    p.Press("cmdSearch");
    QWidget* search = Program::TopLevel("frmSearch");
    QVERIFY(search != nullptr);
    search->findChild<QRadioButton*>(QStringLiteral("Option1_2"))->click();  // Genre
    auto* find = search->findChild<QLineEdit*>(QStringLiteral("txtFind"));
    auto* filter = search->findChild<QPushButton*>(QStringLiteral("cmdFilter"));
    const std::string question =
        "Filter List marks the 3 rows that do not match as deleted; they will not be saved. "
        "Filter the list?";

    find->setText(QStringLiteral("Pop"));
    p.dialogs.QueueAnswer(Answer::kNo);
    filter->click();
    QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{question});
    QCOMPARE(p.dialogs.messages[0].defaultButton, 1);
    QCOMPARE(p.RowsLeft(), 6);
    QVERIFY(p.State().FileSaved);

    p.dialogs.messages.clear();
    p.dialogs.QueueAnswer(Answer::kYes);
    p.dialogs.QueueCheckBox(true);
    filter->click();
    QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{question});
    QCOMPARE(p.RowsLeft(), 3);
    QCOMPARE(p.StatusLine(), QStringLiteral("Filter List marked 3 rows deleted; 3 rows left"));

    p.dialogs.messages.clear();
    search->findChild<QRadioButton*>(QStringLiteral("Option1_1"))->click();  // Music
    find->setText(QStringLiteral("Song 0"));
    filter->click();
    QVERIFY(p.dialogs.messages.empty());
    QCOMPARE(p.RowsLeft(), 1);
    QVERIFY(p.dialogs.AllAnswered());
  }

  // The real message box carries the check box, No as its default, and gives back its state.
  void theQuestionBoxHasTheCheckBox() {
    QtDialogs dialogs;
    bool ticked = false;
    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
      auto* check = box->findChild<QCheckBox*>(QStringLiteral("chkDontAsk"));
      QVERIFY(check != nullptr);
      QCOMPARE(check->text(), QStringLiteral("Don't ask again during this run"));
      check->setChecked(true);
      box->button(QMessageBox::Yes)->click();
    });
    const Answer answer = dialogs.MessageWithCheckBox(
        {.text = "Filter?", .buttons = Buttons::kYesNo, .defaultButton = 1},
        "Don't ask again during this run", ticked);
    QCOMPARE(answer, Answer::kYes);
    QVERIFY(ticked);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::FeedbackWindowTest)
#include "feedback_window_test.moc"
