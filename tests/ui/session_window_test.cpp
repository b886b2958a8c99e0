// SPDX-License-Identifier: GPL-3.0-or-later
// A working session through the started program's windows: the record editor after list
// commands and after another file, the Save As Options window, and File > Exit with the play list
// open.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "support/started_program.h"
#include "ui/application.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"

namespace cadenzo {

namespace {

constexpr const char* kExitRefusal = "Please use the menu item Exit to close";
using testing::kRecords;
using testing::Program;
using testing::SongsFile;

}  // namespace

class SessionWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Changes made through the list after the row click reach the editor when it opens, and OK
  // writes them back instead of the values of the click.
  void modifyShowsTheRecordAsItIsNow() {
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.ClickRow(1);
    QCOMPARE(p.State().SelectedRecord, 2);

    p.Trigger("mnuTrackMenuSetFavorite");  // Yes -> No
    p.Trigger("MnuTrackMenuSetS2");        // No -> Yes
    p.dialogs.QueueInput("live");
    p.Trigger("mnuKeyword_Add");
    QVERIFY(!p.State().FileSaved);

    p.Press("cmdModify");
    QVERIFY(p.Editor()->isVisible());
    QVERIFY(!p.InEditor<QCheckBox>("chkFavorite")->isChecked());
    QVERIFY(p.InEditor<QCheckBox>("chkSearch1")->isChecked());
    QVERIFY(p.InEditor<QCheckBox>("chkSearch2")->isChecked());
    QCOMPARE(p.InEditor<QLineEdit>("txtKeywords")->text(), QStringLiteral("kw1,live"));
    QCOMPARE(p.InEditor<QLineEdit>("txtMusic")->text(), QStringLiteral("Song 1"));
    QCOMPARE(p.InEditor<QLineEdit>("txtTempo")->text(), QStringLiteral("101"));

    QTest::mouseClick(p.InEditor<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(p.Editor()->isHidden());
    const std::uint8_t flags = p.Flags(2);
    QCOMPARE(flags & mfd::kFavorite, 0);
    QCOMPARE(flags & mfd::kSearch1, int{mfd::kSearch1});
    QCOMPARE(flags & mfd::kSearch2, int{mfd::kSearch2});
    const Row& row = p.State().List[1];
    QCOMPARE(row.Cell(col::kFav), std::string("No"));
    QCOMPARE(row.Cell(col::kS2), std::string("Yes"));
    QCOMPARE(row.Cell(col::kKeywords), std::string("kw1,live"));
    const auto keywords = p.State().FileBytes.begin() +
                          static_cast<std::ptrdiff_t>(mfd::RecordOffset(2) + mfd::kKeywords);
    QCOMPARE(std::string(keywords, keywords + 8), std::string("kw1,live"));
    QVERIFY(p.dialogs.messages.empty());
  }

  // Add before any row of the newly read file was clicked starts from nothing: not from the
  // record an earlier file's click or Modify left in the editor.
  void addOnAFreshFileStartsEmpty_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("File > New") << QStringLiteral("mnuNew");
    QTest::newRow("File > Open of an empty file") << QStringLiteral("mnuOpen");
  }
  void addOnAFreshFileStartsEmpty() {
    QFETCH(QString, command);
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    // The media row fills the editor, its file label included; Cancel leaves them there.
    p.ClickRow(kRecords - 1);
    p.Press("cmdModify");
    QCOMPARE(p.InEditor<QLabel>("lblSelectedFile")->text(), QStringLiteral("USB:\\Hit.mid"));
    QVERIFY(p.InEditor<QCheckBox>("chkFavorite")->isChecked());
    QTest::mouseClick(p.InEditor<QPushButton>("cmdcancel"), Qt::LeftButton);

    const std::string fresh =
        command == QLatin1String("mnuNew")
            ? std::string(CADENZO_DATA_DIR) +
                  "Blank 3 - PSR-S6x0 to S975, SX600 700 900, CVP-5x9 6x9, GENOS, TYROS 4 5.mfd"
            : p.tmp.Write("empty.mfd", testing::FileBuilder{.model = "PSR-S970"}.Build()).string();
    p.dialogs.QueueFile(fresh);
    p.window->Click(command);
    QVERIFY(p.dialogs.AllAnswered());
    QCOMPARE(p.State().CurrentFilePath, fresh);
    QCOMPARE(p.State().List.Size(), 0u);

    p.Press("cmdAdd");
    QVERIFY(p.Editor()->isVisible());
    for (const char* name : {"txtMusic", "txtTempo", "txtKeywords"}) {
      QVERIFY2(p.InEditor<QLineEdit>(name)->text().isEmpty(), name);
    }
    QCOMPARE(p.InEditor<QComboBox>("cboGenre")->currentText(), QString());
    QCOMPARE(p.InEditor<QComboBox>("cboStyle")->currentIndex(), -1);
    QCOMPARE(p.InEditor<QLabel>("lblSelectedFile")->text(), QString());
    for (const char* name : {"chkFavorite", "chkSearch1", "chkSearch2"}) {
      QVERIFY2(!p.InEditor<QCheckBox>(name)->isChecked(), name);
    }
    for (const char* name : {"opt00", "opt24", "opt34", "opt44", "opt68"}) {
      QVERIFY2(!p.InEditor<QRadioButton>(name)->isChecked(), name);
      QVERIFY2(p.InEditor<QRadioButton>(name)->isEnabled(), name);
    }
    QCOMPARE(p.InEditor<QComboBox>("cboIntro")->currentText(), QStringLiteral("Off"));
    QCOMPARE(p.InEditor<QComboBox>("cboSection")->currentText(), QStringLiteral("Off"));
    QVERIFY(p.dialogs.messages.empty());
  }

  // "Checked Records Only" with nothing to save says so and writes nothing; the window stays
  // with the choice, and the next save writes what the choice holds.
  void checkedRecordsOnlyWithoutAnyRowToSave_data() {
    QTest::addColumn<QList<int>>("checkedRows");
    QTest::addColumn<int>("deletedRow");
    QTest::addColumn<int>("saved");  // records in the file written; -1: nothing written
    QTest::newRow("no row checked") << QList<int>{} << -1 << -1;
    QTest::newRow("only a deleted row checked") << QList<int>{2} << 2 << -1;
    QTest::newRow("one row checked") << QList<int>{1} << -1 << 1;
    QTest::newRow("a deleted and a kept row checked") << QList<int>{0, 2} << 2 << 1;
  }
  void checkedRecordsOnlyWithoutAnyRowToSave() {
    QFETCH(QList<int>, checkedRows);
    QFETCH(int, deletedRow);
    QFETCH(int, saved);
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    if (deletedRow >= 0) {
      p.ClickRow(deletedRow);
      p.Press("CmdDelete");
    }
    for (int row : checkedRows) p.CheckRow(row);

    p.window->Click(QStringLiteral("mnuConvert"));
    QWidget* options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    QTest::mouseClick(options->findChild<QRadioButton*>(QStringLiteral("optCheckedRecords")),
                      Qt::LeftButton);
    const std::string out = p.tmp.Str() + "out.mfd";
    p.dialogs.QueueFile(out);
    QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("cmdSave")), Qt::LeftButton);

    if (saved < 0) {
      QCOMPARE(p.dialogs.messages.size(), std::size_t{1});
      QVERIFY2(p.dialogs.messages[0].text.starts_with("No row is checked"),
               p.dialogs.messages[0].text.c_str());
      QVERIFY(p.dialogs.fileRequests.empty());
      QVERIFY(!std::filesystem::exists(out));
      QCOMPARE(Program::TopLevel("frmConvert"), options);
      QVERIFY(options->findChild<QRadioButton*>(QStringLiteral("optCheckedRecords"))->isChecked());
      // All Records is still there to choose: the whole file is written.
      options->findChild<QRadioButton*>(QStringLiteral("optAllRecords"))->click();
      options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    }
    QVERIFY(p.dialogs.AllAnswered());
    QVERIFY(std::filesystem::exists(out));
    const std::string text = testing::ReadText(out);
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const int expected = saved < 0 ? kRecords - (deletedRow >= 0 ? 1 : 0) : saved;
    QCOMPARE(int{HeaderCount(bytes)}, expected);
  }

  // The save choice is reset when the window opens, never when it is activated again.
  void saveChoiceSurvivesReactivation() {
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.window->Click(QStringLiteral("mnuConvert"));
    QPointer<QWidget> options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    auto* all = options->findChild<QRadioButton*>(QStringLiteral("optAllRecords"));
    auto* checked = options->findChild<QRadioButton*>(QStringLiteral("optCheckedRecords"));
    QVERIFY(all->isChecked());
    QVERIFY(QTest::qWaitForWindowActive(options));
    QTest::mouseClick(checked, Qt::LeftButton);
    QVERIFY(checked->isChecked());

    // Away to the main window and back, twice.
    for (int i = 0; i < 2; ++i) {
      p.window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(p.window));
      options->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(options));
      QTest::qWait(20);
      QVERIFY(checked->isChecked());
      QVERIFY(!all->isChecked());
    }
    QCOMPARE(options->findChild<QLineEdit*>(QStringLiteral("txtSourceInstrument"))->text(),
             QStringLiteral("PSR-S970"));

    // Closed and opened again: All Records.
    options->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(options.isNull());
    p.window->Click(QStringLiteral("mnuConvert"));
    QWidget* again = Program::TopLevel("frmConvert");
    QVERIFY(again != nullptr);
    QVERIFY(again->findChild<QRadioButton*>(QStringLiteral("optAllRecords"))->isChecked());
    QVERIFY(p.dialogs.messages.empty());
  }

  // File > Exit with the play list open ends the event loop with no window left, after the
  // unsaved-changes question when there is one.
  void exitWithThePlayListOpenEndsTheProgram_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("saved") << false;
    QTest::newRow("unsaved, not saving") << true;
  }
  void exitWithThePlayListOpenEndsTheProgram() {
    QFETCH(bool, unsaved);
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.CheckRow(0);
    p.Press("cmdPlayList");
    QPointer<QWidget> playList = Program::TopLevel("frmPlayList");
    QVERIFY(playList != nullptr);
    if (unsaved) {
      p.ClickRow(0);
      p.Trigger("mnuTrackMenuSetFavorite");
      QVERIFY(!p.State().FileSaved);
      p.dialogs.QueueAnswer(Answer::kNo);
    }

    QTimer::singleShot(0, p.window, [&p] { p.Trigger("mnuExit"); });
    // A program that does not end is stopped here, with a code of its own.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    const int code = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(code, 0);
    QVERIFY(Program::VisibleWindows().empty());
    QVERIFY(playList.isNull());
    QCOMPARE(p.Shown(kExitRefusal), 0);
    QVERIFY(p.dialogs.AllAnswered());
    QCOMPARE(p.dialogs.messages.size(), std::size_t{unsaved ? 1u : 0u});
  }

  // The program's windows in a process of their own, scripted through the screenshot steps:
  // File > Exit with the play list open ends the process before the picture the script would
  // take last.
  void exitEndsTheRealProgram() {
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/cadenzo-screenshot");
    if (!QFileInfo::exists(program)) QSKIP("the program is not built beside the tests");
    testing::TempDir home;
    const std::string file = home.Write("songs.mfd", SongsFile()).string();
    const QString shot = QString::fromStdString(home.Str() + "shot.png");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(home.Str()));
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(program, {shot, QStringLiteral("--steps"),
                        QStringLiteral("click=cmdCheck;click=cmdPlayList;click=mnuExit"),
                        QString::fromStdString(file)});
    QVERIFY(run.waitForStarted());
    const bool ended = run.waitForFinished(30000);
    if (!ended) {
      run.kill();
      run.waitForFinished();
    }
    QVERIFY2(ended, "the program is still running after File > Exit");
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
    QVERIFY2(!QFileInfo::exists(shot), run.readAllStandardError().constData());
  }

  // Choosing to save first keeps the program, its play list included.
  void exitAnsweredWithSaveFirstKeepsThePlayList() {
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.CheckRow(0);
    p.Press("cmdPlayList");
    QPointer<QWidget> playList = Program::TopLevel("frmPlayList");
    QVERIFY(playList != nullptr);
    p.ClickRow(0);
    p.Trigger("mnuTrackMenuSetFavorite");
    p.dialogs.QueueAnswer(Answer::kYes);
    // The Save As Options window comes up modal; it is cancelled.
    bool sawOptions = false;
    QTimer::singleShot(0, p.window, [&sawOptions] {
      QWidget* modal = QApplication::activeModalWidget();
      sawOptions = modal != nullptr && modal->objectName() == QLatin1String("frmConvert");
      if (modal != nullptr) modal->close();
    });
    p.Trigger("mnuExit");
    QVERIFY(sawOptions);
    QVERIFY(p.window->isVisible());
    QVERIFY(playList != nullptr);
    QVERIFY(playList->isVisible());
    QCOMPARE(p.Shown(kExitRefusal), 0);
    QVERIFY(p.dialogs.AllAnswered());
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::SessionWindowTest)
#include "session_window_test.moc"
