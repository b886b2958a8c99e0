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
#include "support/started_program.h"
#include "ui/application.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"

namespace cadenzo {

namespace {

using testing::kRecords;
using testing::Program;

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
