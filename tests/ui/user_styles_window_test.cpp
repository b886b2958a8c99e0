// SPDX-License-Identifier: GPL-3.0-or-later
// The user's style folder, a target without a style list and Find Duplicates, driven through
// the real main window offscreen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "mfd/target_change.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/user_styles_menus.h"

namespace cadenzo {

class UserStylesWindowTest : public QObject {
  Q_OBJECT

  struct Program {
    testing::TempDir dir;
    testing::ScriptedDialogs dialogs;
    Application app;
    explicit Program(const std::vector<std::uint8_t>& file) {
      // The user folder is Cadenzo/ in the data home, as at a real start.
      qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.Path().string()));
      const std::string path = dir.Write("list.mfd", file).string();
      app.SetDialogs(&dialogs);
      QVERIFY(app.Main({"\"" + path + "\""}, CADENZO_DATA_DIR, DefaultUserDataFolder()));
      QCOMPARE(app.State().UserFolder, dir.Str() + "Cadenzo/");
    }
    QAction* Action(const char* name) {
      return app.Window()->findChild<QAction*>(QString::fromLatin1(name));
    }
    void Trigger(const char* name) {
      QAction* action = Action(name);
      QVERIFY2(action != nullptr, name);
      action->trigger();
      QCoreApplication::processEvents();
    }
    void ChooseTarget(const char* model) {
      QComboBox* targets = app.Window()->cboInst();
      emit targets->activated(targets->findText(QString::fromLatin1(model)));
      QCOMPARE(app.State().TargetInstrument, std::string(model));
    }
    std::vector<std::uint32_t> CheckedRecords() {
      std::vector<std::uint32_t> out;
      for (const Row& row : app.State().List) {
        if (row.checked) out.push_back(row.record);
      }
      std::sort(out.begin(), out.end());
      return out;
    }
    static QWidget* TopLevel(const char* objectName) {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
      }
      return nullptr;
    }
  };

  // 80 different songs with the shipped list's first styles, then a repeat of song 3 (another
  // case, blanks around it), a repeat of song 5, and song 7 with another style.
  static std::vector<std::uint8_t> SongsWithRepeats() {
    testing::FileBuilder file;
    const auto add = [&](const std::string& music, int style) {
      file.records.push_back(testing::RecordBuilder{
          .number = static_cast<int>(file.records.size()), .style = style, .music = music});
    };
    for (int i = 0; i < 80; ++i) add("Song " + std::to_string(i), 1 + i % 3);
    add("  SONG 3 ", 1);
    add("Song 5", 3);
    add("Song 7", 1 + (7 + 1) % 3);
    return file.Build();
  }

 private slots:
  void findDuplicatesChecksTheRepeatsForDelChkd() {
    Program p(SongsWithRepeats());
    AppState& state = p.app.State();
    QCOMPARE(state.List.Size(), std::size_t{83});
    // Sorted by song, the repeats are not where the file has them.
    state.List.SetSort(col::kMusic, true);
    p.app.Window()->Refresh();
    QVERIFY(p.Action("mnuDuplicatesSongOnly")->isCheckable());
    QVERIFY(!p.Action("mnuDuplicatesSongOnly")->isChecked());
    QVERIFY(p.app.Window()
                ->findChild<QMenu*>(QStringLiteral("mnuActions"))
                ->actions()
                .contains(p.Action("mnuFindDuplicates")));

    // The first repeat on screen starts out of view.
    QTableView* view = p.app.Window()->ListView1();
    int first = -1;
    for (std::size_t i = 0; i < state.List.Size() && first < 0; ++i) {
      if (state.List[i].record == 81 || state.List[i].record == 82) first = static_cast<int>(i);
    }
    const auto inView = [&] {
      return view->viewport()->rect().intersects(view->visualRect(view->model()->index(first, 0)));
    };
    view->scrollToTop();
    QVERIFY(!inView());

    p.Trigger("mnuFindDuplicates");
    QCOMPARE(p.CheckedRecords(), (std::vector<std::uint32_t>{81, 82}));
    QCOMPARE(p.app.Window()->statusBar()->currentMessage(), QStringLiteral("2 duplicates checked"));
    QVERIFY(p.dialogs.messages.empty());
    QVERIFY(inView());

    p.Trigger("mnuDuplicatesSongOnly");
    QVERIFY(p.Action("mnuDuplicatesSongOnly")->isChecked());
    p.Trigger("mnuFindDuplicates");
    QCOMPARE(p.CheckedRecords(), (std::vector<std::uint32_t>{81, 82, 83}));
    QCOMPARE(p.app.Window()->statusBar()->currentMessage(), QStringLiteral("3 duplicates checked"));

    // Del Chk'd removes exactly those; a new search finds none.
    auto* deleteChecked =
        p.app.Window()->findChild<QPushButton*>(QStringLiteral("cmdDeleteChecked"));
    QVERIFY(deleteChecked->isEnabled());
    deleteChecked->click();
    QCoreApplication::processEvents();
    for (const Row& row : state.List) QCOMPARE(row.deleted, row.record > 80);
    p.Trigger("mnuFindDuplicates");
    QVERIFY(p.CheckedRecords().empty());
    QCOMPARE(p.app.Window()->statusBar()->currentMessage(), QStringLiteral("No duplicates found"));
    QVERIFY(!deleteChecked->isEnabled());
  }

  void aTargetWithoutAListSaysSoAndIsNotSavedWithoutUserStyles() {
    Program p(SongsWithRepeats());
    AppState& state = p.app.State();
    const std::string folder = p.dir.Str() + "Cadenzo/styles/";
    p.ChooseTarget("PSR-S670");  // no list is shipped for it
    const auto note = TargetStyleListNote(state);
    QVERIFY(note.has_value());
    QCOMPARE(p.app.Window()->cboInst()->toolTip().toStdString(),
             "No style list for PSR-S670: styles are kept as user styles while 'Allow User or "
             "Unknown Styles' is on. Add PSR-S670.dat to " +
                 folder + ".");
    QVERIFY(p.dialogs.messages.empty());  // said in the tooltip and the status line only

    p.Trigger("mnuUserStyles");
    QVERIFY(!state.AllowUserStyles);
    p.Trigger("mnuConvert");
    QWidget* options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    QCoreApplication::processEvents();
    // Refused before any question or file choice; nothing written.
    QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{*note});
    QVERIFY(p.dialogs.fileRequests.empty());
    QVERIFY(!std::filesystem::exists(folder));

    // A list the user adds to the styles folder is found; the tooltip goes.
    std::filesystem::create_directories(folder);
    p.dir.Write("Cadenzo/styles/PSR-S670.dat", std::string("Pop;0001\r\n"));
    p.ChooseTarget("PSR-S670");
    QVERIFY(p.app.Window()->cboInst()->toolTip().isEmpty());
    QVERIFY(!TargetStyleListNote(state).has_value());
  }

  void openStyleFolderMakesItAndHandsItToTheDesktop() {
    Program p(SongsWithRepeats());
    std::vector<QUrl> opened;
    const auto desktop = StyleFolderUrlOpener();
    StyleFolderUrlOpener() = [&](const QUrl& url) {
      opened.push_back(url);
      return true;
    };
    QVERIFY(p.app.Window()
                ->findChild<QMenu*>(QStringLiteral("mnuOption"))
                ->actions()
                .contains(p.Action("mnuOpenStyleFolder")));
    const auto folder = p.dir.Path() / "Cadenzo/styles";
    QVERIFY(!std::filesystem::exists(folder));
    p.Trigger("mnuOpenStyleFolder");
    QVERIFY(std::filesystem::is_directory(folder));
    QCOMPARE(opened, (std::vector<QUrl>{QUrl::fromLocalFile(
                         QString::fromStdString(p.dir.Str() + "Cadenzo/styles/"))}));
    QVERIFY(p.dialogs.messages.empty());
    StyleFolderUrlOpener() = desktop;
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::UserStylesWindowTest)
#include "user_styles_window_test.moc"
