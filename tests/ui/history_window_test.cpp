// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Undo and Redo, and File > Merge, driven through the menus of the started program.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"

namespace cadenzo {

namespace {

constexpr int kRecords = 4;

// A four-record file on a media model. Every record is a Favorite and in Search 1 with keywords;
// the last one points at a song on USB.
std::vector<std::uint8_t> SongsFile() {
  testing::FileBuilder file{.model = "PSR-S970"};
  for (int i = 0; i < kRecords; ++i) {
    file.records.push_back(testing::RecordBuilder{.number = i,
                                                  .style = 291,
                                                  .tempo = 100 + i,
                                                  .flags = mfd::kFavorite | mfd::kSearch1,
                                                  .music = "Song " + std::to_string(i),
                                                  .keywords = "kw" + std::to_string(i),
                                                  .intro = 2,
                                                  .next = 5});
  }
  file.records.back().style = mfd::kMediaStyle;
  file.fileRefs =
      std::vector<testing::FileRefBuilder>{{.position = kRecords - 1, .path = "I:\\Hit.mid"}};
  return file.Build();
}

// The program started with that file named on its command line.
struct Program {
  Program() {
    path = tmp.Write("songs.mfd", SongsFile()).string();
    app.SetDialogs(&dialogs);
    started = app.Main({path}, CADENZO_DATA_DIR, (tmp.Path() / "user").string() + "/");
    window = app.Window();
    if (window != nullptr) {
      window->resize(1100, 700);
      view = window->ListView1();
    }
  }
  AppState& State() { return app.State(); }
  EditWindow* Editor() { return app.Controller()->Editor(); }

  void Press(const char* name) const {
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  void Trigger(const char* name) const {
    window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
  }
  void ClickRow(int row) const {
    const QPoint at = view->visualRect(view->model()->index(row, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  }
  void CheckRow(int row) const {
    QVERIFY(view->model()->setData(view->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole));
  }
  template <typename T>
  T* InEditor(const char* name) {
    return Editor()->findChild<T*>(QString::fromLatin1(name));
  }
  // The visible top-level window with this objectName.
  static QWidget* TopLevel(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    }
    return nullptr;
  }
  static std::vector<QWidget*> VisibleWindows() {
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) out.push_back(w);
    }
    return out;
  }
  std::uint8_t Flags(int n) { return State().FileBytes[mfd::RecordOffset(n) + mfd::kFlags]; }
  int Shown(const std::string& text) const {
    const auto texts = dialogs.Texts();
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
  }

  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  Application app;
  std::string path;
  bool started = false;
  MainWindow* window = nullptr;
  QTableView* view = nullptr;
};

QAction* Action(const Program& p, const char* name) {
  return p.window->findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

class HistoryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The Edit menu names the step each item would take back or do again; the keys run them; the
  // record and the unsaved state come back exactly.
  void undoAndRedoNameTheirStep() {
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    QAction* undo = Action(p, "mnuUndo");
    QAction* redo = Action(p, "mnuRedo");
    QVERIFY(undo != nullptr && redo != nullptr);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Undo"));
    const std::vector<std::uint8_t> opened = p.State().FileBytes;

    p.ClickRow(1);
    p.Trigger("mnuTrackMenuSetFavorite");
    p.dialogs.QueueInput("live");
    p.Trigger("mnuKeyword_Add");
    QCOMPARE(undo->text(), QStringLiteral("Undo Add Keyword"));
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QVERIFY(!p.State().FileSaved);

    QTest::keyClick(p.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.window->statusBar()->currentMessage(), QStringLiteral("Undone: Add Keyword"));
    QCOMPARE(undo->text(), QStringLiteral("Undo Toggle Favorite"));
    QCOMPARE(redo->text(), QStringLiteral("Redo Add Keyword"));
    QCOMPARE(p.State().List[1].Cell(col::kKeywords), std::string("kw1"));
    p.Trigger("mnuUndo");
    QCOMPARE(p.State().FileBytes, opened);
    QVERIFY(p.State().FileSaved);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(p.State().List[1].Cell(col::kFav), std::string("Yes"));
    // The model shows the restored texts.
    QCOMPARE(p.view->model()->index(1, col::kFav).data().toString(), QStringLiteral("Yes"));

    QTest::keyClick(p.window, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(p.window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(p.State().List[1].Cell(col::kKeywords), std::string("kw1,live"));
    QCOMPARE(p.State().List[1].Cell(col::kFav), std::string("No"));
    QCOMPARE(p.window->statusBar()->currentMessage(), QStringLiteral("Redone: Add Keyword"));
    QVERIFY(!redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Redo"));
    QVERIFY(p.dialogs.messages.empty());
  }

  // File > Merge appends the other file's records, checked alone, with the first in view; one
  // Undo takes them all back.
  void mergeAppendsCheckedRowsAndUndoesInOneStep() {
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.CheckRow(0);
    testing::FileBuilder other{.model = "PSR-2000"};
    for (int i = 0; i < 3; ++i) {
      other.records.push_back(
          testing::RecordBuilder{.number = i, .style = 30, .music = "Other " + std::to_string(i)});
    }
    p.dialogs.QueueFile(p.tmp.Write("other.mfd", other.Build()).string());
    p.Trigger("mnuMerge");
    QVERIFY2(p.dialogs.messages.empty(),
             p.dialogs.Texts().empty() ? "" : p.dialogs.Texts()[0].c_str());
    AppState& s = p.State();
    QCOMPARE(s.List.Size(), std::size_t{kRecords + 3});
    QCOMPARE(s.List.CheckedCount(), 3);
    for (const Row& row : s.List) {
      QCOMPARE(row.checked, row.record > kRecords);
      if (row.record > kRecords) QVERIFY(row.Cell(col::kMusic).starts_with("Other "));
    }
    QCOMPARE(p.window->findChild<QLabel*>(QStringLiteral("lblNumberChecked"))->text(),
             QStringLiteral("3"));
    const QModelIndex current = p.view->selectionModel()->selectedRows().value(0);
    QVERIFY(current.isValid());
    QCOMPARE(s.List[static_cast<std::size_t>(current.row())].record, std::uint32_t{kRecords + 1});
    QCOMPARE(Action(p, "mnuUndo")->text(), QStringLiteral("Undo Merge"));

    p.Trigger("mnuUndo");
    QCOMPARE(s.List.Size(), std::size_t{kRecords});
    QCOMPARE(p.view->model()->rowCount(), kRecords);
    QCOMPARE(int{HeaderCount(s.FileBytes)}, kRecords);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::HistoryWindowTest)
#include "history_window_test.moc"
