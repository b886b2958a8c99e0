// SPDX-License-Identifier: GPL-3.0-or-later
// The row commands as a user reaches them: the pop-up menu over the list, the set-all and
// clear-all picture buttons, and the check-mark buttons, all found by objectName on the started
// program's main window with a real file open.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/main_window.h"

namespace cadenzo {

namespace {

constexpr int kRecords = 4;

// The program started with a four-record file named on its command line.
struct Program {
  Program() {
    testing::FileBuilder file{.model = "PSR-S970"};
    for (int i = 0; i < kRecords; ++i) {
      file.records.push_back(
          testing::RecordBuilder{.number = i, .style = 291, .music = "Song " + std::to_string(i)});
    }
    path = tmp.Write("rows.mfd", file.Build()).string();
    app.SetDialogs(&dialogs);
    started = app.Main({path}, CADENZO_DATA_DIR, (tmp.Path() / "user").string() + "/");
    window = app.Window();
    if (window != nullptr) {
      window->resize(1100, 700);
      view = window->ListView1();
    }
  }
  AppState& State() { return app.State(); }

  QPushButton* Button(const char* name) const {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  void Press(const char* name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }
  QString Cell(int row, int column) const {
    return view->model()->index(row, column).data().toString();
  }
  bool Checked(int row) const {
    return view->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  QString CheckedLabel() const {
    return window->findChild<QLabel*>(QStringLiteral("lblNumberChecked"))->text();
  }
  // The flags byte of record n in the file image the program holds.
  std::uint8_t Flags(int n) { return State().FileBytes[mfd::RecordOffset(n) + mfd::kFlags]; }

  void ClickRow(int row) const {
    const QPoint at = view->visualRect(view->model()->index(row, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  }

  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  Application app;
  std::string path;
  bool started = false;
  MainWindow* window = nullptr;
  QTableView* view = nullptr;
};

}  // namespace

class RowCommandsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void trackMenuTogglesTheClickedRowsFlag_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("bit");
    QTest::newRow("favorite") << "mnuTrackMenuSetFavorite" << col::kFav << int{mfd::kFavorite};
    QTest::newRow("search 1") << "mnuTrackMenuSetS1" << col::kS1 << int{mfd::kSearch1};
    QTest::newRow("search 2") << "MnuTrackMenuSetS2" << col::kS2 << int{mfd::kSearch2};
  }
  void trackMenuTogglesTheClickedRowsFlag() {
    QFETCH(QString, action);
    QFETCH(int, column);
    QFETCH(int, bit);
    Program p;
    QVERIFY(p.started);
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    QCOMPARE(p.view->model()->rowCount(), kRecords);
    QVERIFY(p.State().FileSaved);

    p.ClickRow(1);
    QCOMPARE(p.State().SelectedRecord, 2);
    const QPoint over = p.view->visualRect(p.view->model()->index(1, 2)).center();
    emit p.view->customContextMenuRequested(over);
    QMenu* track = p.window->mnuTrackMenu();
    QVERIFY(track->isVisible());
    QAction* item = track->findChild<QAction*>(action);
    if (item == nullptr) {
      for (QAction* a : track->actions()) {
        if (a->objectName() == action) item = a;
      }
    }
    QVERIFY(item != nullptr);
    track->close();
    item->trigger();

    QCOMPARE(p.Cell(1, column), QStringLiteral("Yes"));
    QCOMPARE(p.Flags(2) & bit, bit);
    QVERIFY(!p.State().FileSaved);
    for (int other : {0, 2, 3}) QCOMPARE(p.Cell(other, column), QStringLiteral("No"));
    for (int n : {1, 3, 4}) QCOMPARE(p.Flags(n) & bit, 0);

    // The second toggle turns it off again, in the cell and in the record.
    item->trigger();
    QCOMPARE(p.Cell(1, column), QStringLiteral("No"));
    QCOMPARE(p.Flags(2) & bit, 0);
  }

  void setAndClearButtonsReachEveryRowAndRecord_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("clear");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("bit");
    QTest::newRow("favorite") << "cmdSetFav"
                              << "CmdFav" << col::kFav << int{mfd::kFavorite};
    QTest::newRow("search 1") << "cmdSetS1"
                              << "cmdS1" << col::kS1 << int{mfd::kSearch1};
    QTest::newRow("search 2") << "cmdSetS2"
                              << "cmdS2" << col::kS2 << int{mfd::kSearch2};
  }
  void setAndClearButtonsReachEveryRowAndRecord() {
    QFETCH(QString, set);
    QFETCH(QString, clear);
    QFETCH(int, column);
    QFETCH(int, bit);
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(p.window));

    // A deleted row is set and cleared as well: its record is still in the store.
    p.ClickRow(2);
    p.Press("CmdDelete");
    QCOMPARE(p.Cell(2, col::kGenre), QStringLiteral("deleted"));

    p.Press(set.toLatin1().constData());
    for (int r = 0; r < kRecords; ++r) QCOMPARE(p.Cell(r, column), QStringLiteral("Yes"));
    for (int n = 1; n <= kRecords; ++n) QCOMPARE(p.Flags(n) & bit, bit);
    QVERIFY(!p.State().FileSaved);

    p.Press(clear.toLatin1().constData());
    for (int r = 0; r < kRecords; ++r) QCOMPARE(p.Cell(r, column), QStringLiteral("No"));
    for (int n = 1; n <= kRecords; ++n) QCOMPARE(p.Flags(n) & bit, 0);
    QVERIFY(p.dialogs.messages.empty());
  }

  void checkButtonsMarkCountAndEnable() {
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    QPushButton* deleteChecked = p.Button("cmdDeleteChecked");
    QPushButton* playList = p.Button("cmdPlayList");
    const auto expect = [&](std::initializer_list<bool> marks, const char* label) {
      int r = 0;
      for (bool mark : marks) QCOMPARE(p.Checked(r++), mark);
      QCOMPARE(p.CheckedLabel(), QString::fromLatin1(label));
      const bool any = std::string_view(label) != "0";
      QCOMPARE(deleteChecked->isEnabled(), any);
      QCOMPARE(playList->isEnabled(), any);
    };

    p.Press("cmdCheck");
    expect({true, true, true, true}, "4");
    p.Press("cmdInvert");
    expect({false, false, false, false}, "0");

    // One mark set by hand, then inverted: the other three.
    QVERIFY(
        p.view->model()->setData(p.view->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    p.Press("cmdInvert");
    expect({true, false, true, true}, "3");
    p.Press("CmdUnCheck");
    expect({false, false, false, false}, "0");
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::RowCommandsWindowTest)
#include "row_commands_window_test.moc"
