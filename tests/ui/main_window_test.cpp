// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QTableView>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/command_availability.h"
#include "app/runtime_error.h"
#include "support/builders.h"
#include "support/paint_counter.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/qt_text.h"
#include "ui/record_list_model.h"

namespace cadenzo {

namespace {

// A started program with an empty list, answering its dialogs from a script.
struct Program {
  Program() {
    app.SetDialogs(&dialogs);
    started = app.Main({}, CADENZO_DATA_DIR, tmp.Str());
    window = app.Window();
    if (window != nullptr) {
      window->resize(1100, 700);
      view = window->ListView1();
    }
  }
  AppState& State() { return app.State(); }

  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  Application app;
  bool started = false;
  MainWindow* window = nullptr;
  QTableView* view = nullptr;
};

void AddRow(AppState& state, const char* number, const char* genre, const char* tempo = "120") {
  Row row;
  row.SetCell(col::kNumber, number);
  row.SetCell(col::kGenre, genre);
  row.SetCell(col::kMusic, "Song");
  row.SetCell(col::kTempo, tempo);
  row.SetCell(col::kFav, "No");
  state.List.Add(std::move(row));
}

QStringList NumbersShown(QTableView* view) {
  QStringList numbers;
  for (int r = 0; r < view->model()->rowCount(); ++r) {
    numbers << view->model()->index(r, 0).data().toString();
  }
  return numbers;
}

QPoint CellCentre(QTableView* view, int row, int column) {
  return view->visualRect(view->model()->index(row, column)).center();
}

QPoint CheckBoxOf(QTableView* view, int row) {
  const QRect cell = view->visualRect(view->model()->index(row, 0));
  const int indicator = view->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view);
  const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
  return {cell.left() + margin + indicator / 2, cell.center().y()};
}

void ClickHeader(QTableView* view, int column) {
  QHeaderView* header = view->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

using testing::PaintCounter;

// Lets the event loop do what a command left for it: layouts, timers, paints.
void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

int SumOfWidths(QTableView* view) {
  int sum = 0;
  for (int c = 0; c < view->model()->columnCount(); ++c) {
    sum += view->horizontalHeader()->sectionSize(c);
  }
  return sum;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void menuItemsHaveTheirCaptionsInTheirMenus_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    const auto row = [](const char* menu, QStringList items, QStringList captions) {
      QTest::newRow(menu) << QString::fromLatin1(menu) << items << captions;
    };
    row("menubar",
        {"mnuFile", "mnuEdit", "mnuSetup", "mnuActions", "mnuView", "mnuOption", "mnuHelp"},
        {"&File", "&Edit", "&Setup", "&Actions", "&View", "&Options", "&Help/Info"});
    row("mnuFile",
        {"mnuNew", "mnuOpen", "mnuOpenRecent", "mnuMerge", "mnuSave", "mnuTextDelimitedInput",
         "mnuExit"},
        {"&New", "&Open", "Open &Recent", "&Merge...", "&Save As", "&Import Delimited Text File",
         "E&xit"});
    row("mnuEdit", {"mnuUndo", "mnuRedo"}, {"Undo", "Redo"});
    row("mnuSave", {"mnuConvert", "mnuTextFile"}, {"&MusicFinder File ", "&Delimited Text File"});
    row("mnuSetup", {"mnuMidiDevice", "mnuOptions"}, {"&Midi Device", "&Source Instrument    "});
    row("mnuOptions", {"mnuAuto", "mnuStyleNumbers"}, {"&Auto", "Use Style Numbers"});
    row("mnuActions",
        {"mnuSearch", "MnuAddToPlayList", "mnuSetupPSR", "mnuEditItems", "mnuClear", "mnuSet",
         "mnuCheckmarks", "mnuKeyword_Add", "mnuFindDuplicates", "mnuDuplicatesSongOnly"},
        {"&Search", "&Add to Play List", "Setup &PSR", "&Edit Items", "&Clear all", "&Set all",
         "Check&marks", "Add Text to All &Keywords", "Find &Duplicates",
         "Compare Song &Names Only"});
    row("mnuEditItems", {"mnuDelete", "mnuAdd", "mnuModify", "mnuReplace"},
        {"&Delete", "&Add", "&Modify", "&Replace"});
    row("mnuDelete", {"mnuDeleteItem", "mnuDeleteCheckedItems"}, {"&Item", "&Checked Items"});
    row("mnuReplace", {"mnuReplaceItem", "mnuAutoReplace"}, {"&Item", "&Auto Replace"});
    row("mnuClear", {"mnuClearFavorites", "mnuClearSearch1", "mnuClearSearch2"},
        {"&Favorites", "Search &1", "Search &2"});
    row("mnuSet", {"mnuSetFavorites", "mnuSetSearch1", "mnuSetSearch2"},
        {"&Favorites", "Search &1", "Search &2"});
    row("mnuCheckmarks", {"mnuCheckItem", "mnuUncheckItem", "MnuInvertAllCheckmarks"},
        {"&Check All Items", "&Uncheck All Items", "&Invert All Checkmarks"});
    row("mnuView", {"mnuStyleList", "mnuConversion", "mnuDelimitedFile"},
        {"&Style List", "&Conversion Log", "&Delimited File Load Log"});
    row("mnuOption",
        {"mnuUserStyles", "mnuDefaultStyle", "mnuColor", "mnudblclick", "mnuPrinterFont",
         "mnuHideGridLines", "mnuOpenStyleFolder"},
        {"&Allow User or Unknown Styles", "Change Default &Style", "&Color for unrecognized styles",
         "&Double Click Action", "Select &Font Size", "&HideGridLines", "&Open Style Folder"});
    row("mnuColor", {"mnuRed", "mnuBlue"}, {"&Red", "&Blue"});
    row("mnudblclick", {"mnuEditRecord", "mnuToggleFavorite"},
        {"&Edit Record", "&Toggle Favorite"});
    row("mnuHelp", {"mnuQuickStartGuide", "mnuManual", "mnuAbout"},
        {"&Quick Start Guide", "&Manual", "&About"});
    row("mnuTrackMenu", {"mnuTrackMenuSetFavorite", "mnuTrackMenuSetS1", "MnuTrackMenuSetS2"},
        {"Toggle Favorite", "Toggle S1", "Toggle S2"});
  }

  void menuItemsHaveTheirCaptionsInTheirMenus() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    Program p;
    QVERIFY(p.started);
    QList<QAction*> shown;
    if (menu == QLatin1String("menubar")) {
      shown = p.window->menuBar()->actions();
    } else {
      auto* m = p.window->findChild<QMenu*>(menu);
      QVERIFY2(m != nullptr, qPrintable(menu));
      shown = m->actions();
    }
    QStringList names;
    QStringList texts;
    for (QAction* action : shown) {
      if (action->isSeparator()) continue;
      QMenu* sub = action->menu();
      names << (sub != nullptr ? sub->objectName() : action->objectName());
      texts << action->text();
      if (sub != nullptr) QCOMPARE(sub->title(), action->text());
    }
    QCOMPARE(names, items);
    QCOMPARE(texts, captions);
  }

  void trackMenuPopsUpOnlyOverTheList() {
    Program p;
    QMenu* track = p.window->mnuTrackMenu();
    QCOMPARE(track->objectName(), QStringLiteral("mnuTrackMenu"));
    QCOMPARE(track->title(), QStringLiteral("TrackMenu"));
    for (QAction* top : p.window->menuBar()->actions()) QVERIFY(top->menu() != track);

    AddRow(p.State(), "0001", "Pop");
    AddRow(p.State(), "0002", "Rock");
    p.window->Refresh();
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    QSignalSpy spy(p.window, &MainWindow::ListRightButton);
    emit p.view->customContextMenuRequested(CellCentre(p.view, 1, 2));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 1);
    QVERIFY(track->isVisible());
    track->close();
  }

  void checkableItemsStartAsTheProgramDoes() {
    Program p;
    const struct {
      const char* name;
      bool checked;
    } items[] = {{"mnuAuto", true},
                 {"mnuStyleNumbers", false},
                 {"mnuUserStyles", true},
                 {"mnuRed", true},
                 {"mnuBlue", false},
                 {"mnuEditRecord", true},
                 {"mnuToggleFavorite", false},
                 {"mnuHideGridLines", false}};
    for (const auto& item : items) {
      auto* action = p.window->findChild<QAction*>(QLatin1String(item.name));
      QVERIFY2(action != nullptr && action->isCheckable(), item.name);
      QVERIFY2(action->isChecked() == item.checked, item.name);
    }
  }

  void controlsHaveTheirCaptionsInTheirFrames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");  // empty: a picture button
    QTest::addColumn<QString>("frame");    // empty: directly on the window
    const auto row = [](const char* name, const char* caption, const char* frame) {
      QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                          << QString::fromLatin1(frame);
    };
    row("fraClear", "Clear (all)", "");
    row("CmdFav", "", "fraClear");
    row("cmdS1", "", "fraClear");
    row("cmdS2", "", "fraClear");
    row("fraSet", "Set (all)", "");
    row("cmdSetFav", "", "fraSet");
    row("cmdSetS1", "", "fraSet");
    row("cmdSetS2", "", "fraSet");
    row("fraCheck", "Checkbox Control (all)", "");
    row("cmdCheck", "Check", "fraCheck");
    row("CmdUnCheck", "Uncheck ", "fraCheck");
    row("cmdInvert", "Invert", "fraCheck");
    row("lblchk", "Number", "fraCheck");
    row("lblNumberChecked", "0", "fraCheck");
    row("fraEdit", "Edit Items", "");
    row("cmdAdd", "Add", "fraEdit");
    row("cmdModify", "Modify", "fraEdit");
    row("CmdDelete", "Delete", "fraEdit");
    row("cmdDeleteChecked", "Del Chk'd", "fraEdit");
    row("cmdReplaceStyle", "Replace", "fraEdit");
    row("Frame2", "Target Instrument", "");
    row("cboInst", "", "Frame2");
    row("Frame3", "Actions", "");
    row("cmdSetPSR", "Set PSR", "Frame3");
    row("cmdSearch", "Search", "");
    row("cmdPlayList", "PlayList", "");
  }

  void controlsHaveTheirCaptionsInTheirFrames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, frame);
    Program p;
    auto* widget = p.window->findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      QCOMPARE(box->title(), caption);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      QCOMPARE(label->text(), caption);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      if (caption.isEmpty()) {
        QVERIFY(!button->icon().isNull());
      } else {
        QCOMPARE(button->text(), caption);
      }
    } else {
      QVERIFY(qobject_cast<QComboBox*>(widget) != nullptr);
    }
    QWidget* group = widget->parentWidget();
    while (group != nullptr && qobject_cast<QGroupBox*>(group) == nullptr) {
      group = group->parentWidget();
    }
    QCOMPARE(group != nullptr ? group->objectName() : QString(), frame);
    QVERIFY(widget->isEnabled());
  }

  void listShowsTheThirteenHeaders() {
    Program p;
    QAbstractItemModel* model = p.view->model();
    const QStringList expected = {
        "Number", "Genre", "Music", "Style or File", "TimeSig",      "Tempo", "Keywords",
        "Fav ",   "S1",    "S2",    "Intro",         "Next Section", " "};
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) {
      headers << model->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, expected);
    QCOMPARE(p.view->objectName(), QStringLiteral("ListView1"));
    QCOMPARE(p.view->font().family(), QStringLiteral("Arial"));
    QCOMPARE(p.view->font().pointSize(), 8);
    QVERIFY(p.view->showGrid());
  }

  void cellsShowAlignmentColourAndCheckBox() {
    Program p;
    AddRow(p.State(), "0001", "Pop", " 96");
    AddRow(p.State(), "0002", "Pop");
    p.State().List[0].styleColor = kRed;
    p.State().List[1].styleColor = kBlue;
    p.State().List[1].checked = true;
    p.window->Refresh();
    QAbstractItemModel* m = p.view->model();
    const auto align = [m](int column) {
      return m->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
             Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(align(col::kTimeSig), Qt::AlignHCenter);
    QCOMPARE(align(col::kTempo), Qt::AlignRight);
    QCOMPARE(align(col::kFav), Qt::AlignHCenter);
    QCOMPARE(align(col::kS1), Qt::AlignHCenter);
    QCOMPARE(align(col::kS2), Qt::AlignLeft);
    QCOMPARE(align(col::kIntro), Qt::AlignHCenter);
    QCOMPARE(align(col::kNext), Qt::AlignLeft);
    QCOMPARE(m->index(0, col::kTempo).data().toString(), QStringLiteral(" 96"));
    QCOMPARE(m->index(0, col::kStyle).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(m->index(1, col::kStyle).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    QVERIFY(!m->index(0, col::kGenre).data(Qt::ForegroundRole).isValid());
    QCOMPARE(m->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(m->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!m->index(1, 1).data(Qt::CheckStateRole).isValid());
  }

  void checkBoxesCountIntoTheLabelAndDeleteChecked() {
    Program p;
    for (const char* n : {"0001", "0002", "0003"}) AddRow(p.State(), n, "Pop");
    p.window->Refresh();
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    auto* label = p.window->findChild<QLabel*>(QStringLiteral("lblNumberChecked"));
    auto* deleteChecked = p.window->findChild<QPushButton*>(QStringLiteral("cmdDeleteChecked"));
    auto* playList = p.window->findChild<QPushButton*>(QStringLiteral("cmdPlayList"));
    QSignalSpy spy(p.window, &MainWindow::RowCheckChanged);

    QTest::mouseClick(p.view->viewport(), Qt::LeftButton, {}, CheckBoxOf(p.view, 0));
    QTest::mouseClick(p.view->viewport(), Qt::LeftButton, {}, CheckBoxOf(p.view, 2));
    QVERIFY(p.State().List[0].checked);
    QVERIFY(!p.State().List[1].checked);
    QVERIFY(p.State().List[2].checked);
    QCOMPARE(label->text(), QStringLiteral("2"));
    QVERIFY(deleteChecked->isEnabled());
    QCOMPARE(spy.count(), 2);

    // Play List is on while rows are checked, whatever the rule says for no marks.
    p.State().CheckCommands.playListWithoutMarks = false;
    p.window->UpdateActions();
    QVERIFY(playList->isEnabled());
    QTest::mouseClick(p.view->viewport(), Qt::LeftButton, {}, CheckBoxOf(p.view, 0));
    QTest::mouseClick(p.view->viewport(), Qt::LeftButton, {}, CheckBoxOf(p.view, 2));
    QCOMPARE(label->text(), QStringLiteral("0"));
    QVERIFY(!deleteChecked->isEnabled());
    // Unchecking the last mark by hand leaves Play List on.
    QVERIFY(playList->isEnabled());
    QVERIFY(p.State().CheckCommands.playListWithoutMarks);
  }

  void headerClicksSortTheCoreList() {
    Program p;
    AddRow(p.State(), "0001", "Rock", "120");
    AddRow(p.State(), "0002", "jazz", " 96");
    AddRow(p.State(), "0003", "Pop", "100");
    p.window->Refresh();
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    QSignalSpy spy(p.window, &MainWindow::ColumnClicked);
    QHeaderView* header = p.view->horizontalHeader();

    ClickHeader(p.view, col::kGenre);
    QCOMPARE(NumbersShown(p.view), (QStringList{"0002", "0003", "0001"}));
    QCOMPARE(p.State().List[0].Cell(col::kNumber), std::string("0002"));
    QCOMPARE(header->sortIndicatorSection(), col::kGenre);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    ClickHeader(p.view, col::kGenre);
    QCOMPARE(NumbersShown(p.view), (QStringList{"0001", "0003", "0002"}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeader(p.view, col::kTempo);
    QCOMPARE(NumbersShown(p.view), (QStringList{"0002", "0003", "0001"}));
    QCOMPARE(header->sortIndicatorSection(), col::kTempo);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(p.State().SortColumn, std::int16_t{col::kTempo});
    QCOMPARE(spy.count(), 3);
  }

  void rowClickSelectsTheCoreRowAndTheCoreSelectionShows() {
    Program p;
    for (const char* n : {"0001", "0002", "0003"}) AddRow(p.State(), n, "Pop");
    p.window->Refresh();
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    QSignalSpy clicks(p.window, &MainWindow::RowClicked);
    QTest::mouseClick(p.view->viewport(), Qt::LeftButton, {}, CellCentre(p.view, 1, 2));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 1);
    QVERIFY(p.State().List[1].selected);
    QVERIFY(!p.State().List[0].selected);

    // The core moves the selection (as a search does); the view follows.
    p.State().List[1].selected = false;
    p.State().List[2].selected = true;
    p.window->Refresh();
    const QModelIndexList rows = p.view->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).row(), 2);
    QCOMPARE(clicks.count(), 1);

    // Moving with the keyboard counts as a click on the row moved to.
    QTest::keyClick(p.view, Qt::Key_Up);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(1).at(0).toInt(), 1);
    QVERIFY(p.State().List[1].selected);
    QVERIFY(!p.State().List[2].selected);

    QSignalSpy doubles(p.window, &MainWindow::RowDoubleClicked);
    // The events a double click makes: press, release, double click, release.
    const QPoint at = CellCentre(p.view, 0, 2);
    QTest::mousePress(p.view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(p.view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(p.view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(p.view->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(doubles.at(0).at(0).toInt(), 0);
  }

  void commandsReachTheirHandlersAndTheWindowFollowsTheState() {
    Program p;
    int checks = 0;
    p.window->OnCommand(QStringLiteral("cmdCheck"), [&] {
      ++checks;
      p.State().RowCommandsNeedSelection = true;
      AddRow(p.State(), "0001", "Pop");
      p.State().List[p.State().List.Size() - 1].checked = true;
    });
    auto* button = p.window->findChild<QPushButton*>(QStringLiteral("cmdCheck"));
    auto* modify = p.window->findChild<QPushButton*>(QStringLiteral("cmdModify"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(checks, 1);
    QVERIFY(!modify->isEnabled());
    QCOMPARE(p.window->findChild<QLabel*>(QStringLiteral("lblNumberChecked"))->text(),
             QStringLiteral("1"));
    // The menu item of the same role runs the button's command.
    p.window->findChild<QAction*>(QStringLiteral("mnuCheckItem"))->trigger();
    QCOMPARE(checks, 2);
    // A check item shows the state's check mark: the pair follows the colour option.
    auto* blue = p.window->findChild<QAction*>(QStringLiteral("mnuBlue"));
    blue->trigger();
    QVERIFY(blue->isChecked());
    QCOMPARE(p.State().UnknownStyleColor, kBlue);
    QVERIFY(!p.window->findChild<QAction*>(QStringLiteral("mnuRed"))->isChecked());
    // A handler that fails is reported under the control's name.
    p.window->OnCommand(QStringLiteral("mnuAbout"), [] { throw RuntimeError(err::kInvalidCall); });
    p.window->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
    QCOMPARE(p.dialogs.messages.size(), std::size_t{1});
    QVERIFY(p.dialogs.messages[0].text.find("mnuAbout") != std::string::npos);
  }

  void fontSizeComesFromTheInputBox_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("size");
    QTest::newRow("twelve") << "12" << false << 12;
    QTest::newRow("empty") << "" << false << 8;
    QTest::newRow("text") << "big" << false << 8;
    QTest::newRow("cancel") << "" << true << 8;
  }

  void fontSizeComesFromTheInputBox() {
    QFETCH(QString, answer);
    QFETCH(bool, cancel);
    QFETCH(int, size);
    Program p;
    AddRow(p.State(), "0001", "A genre wide enough to need room");
    p.window->Refresh();
    const int before = p.view->horizontalHeader()->sectionSize(col::kGenre);
    p.dialogs.QueueInput(cancel ? std::nullopt : std::optional(answer.toStdString()));
    p.window->findChild<QAction*>(QStringLiteral("mnuPrinterFont"))->trigger();
    QCOMPARE(p.dialogs.inputPrompts, std::vector<std::string>{"Input font size to use "});
    QCOMPARE(p.dialogs.inputDefaults, std::vector<std::string>{"8"});
    QVERIFY(p.dialogs.messages.empty());
    QCOMPARE(p.view->font().pointSize(), size);
    const int after = p.view->horizontalHeader()->sectionSize(col::kGenre);
    if (size > 8) {
      QVERIFY(after > before);
    } else {
      QCOMPARE(after, before);
    }
  }

  void gridLinesToggle() {
    Program p;
    QAction* hide = p.window->findChild<QAction*>(QStringLiteral("mnuHideGridLines"));
    hide->trigger();
    QVERIFY(hide->isChecked());
    QVERIFY(!p.view->showGrid());
    hide->trigger();
    QVERIFY(!hide->isChecked());
    QVERIFY(p.view->showGrid());
  }

  void resizeFitsHeadersAndCellsWithOrWithoutAFile() {
    Program p;
    AddRow(p.State(), "0001", "Pop");
    p.window->Refresh();
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.window->resize(1200, 700);
    QTRY_COMPARE(SumOfWidths(p.view), p.view->viewport()->width());

    // With a file open the headers stay readable and the last column still takes the rest.
    p.State().FileName = "a.mfd";
    p.window->resize(1400, 700);
    QTRY_COMPARE(SumOfWidths(p.view), p.view->viewport()->width());
  }

  // Every header can be read and every cell shown in full, on an empty list, a blank file and the
  // shipped example, after the fit the file command asks for and after the window grows; the last
  // column takes the width left over.
  void columnsFitHeadersAndCells_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("no file") << QString();
    QTest::newRow("blank file") << QStringLiteral("Blank 1*.mfd");
    QTest::newRow("example") << QStringLiteral("examples/Example.mfd");
  }

  void columnsFitHeadersAndCells() {
    QFETCH(QString, file);
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    if (!file.isEmpty()) {
      // The shipped file the pattern names.
      const QFileInfo pattern(QStringLiteral(CADENZO_DATA_DIR) + file);
      const QStringList found = pattern.dir().entryList({pattern.fileName()}, QDir::Files);
      QCOMPARE(found.size(), 1);
      p.State().CurrentFilePath = PathFromQt(pattern.dir().filePath(found[0]));
      p.State().FileName = PathFromQt(found[0]);
      p.app.Controller()->OpenCurrentFile();
      QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{});
      QVERIFY(p.State().FileLoaded);
    }
    QCOMPARE(p.view->model()->rowCount() > 0, file.contains(QLatin1String("Example")));
    QHeaderView* header = p.view->horizontalHeader();
    const QFontMetrics headerMetrics = header->fontMetrics();
    const QFontMetrics cellMetrics = p.view->fontMetrics();
    const auto checkFits = [&](const char* when) {
      for (int c = 0; c < col::kCount; ++c) {
        const QString text = p.view->model()->headerData(c, Qt::Horizontal).toString();
        const QByteArray what = QStringLiteral("%1: column %2 \"%3\" is %4 wide")
                                    .arg(QLatin1String(when))
                                    .arg(c)
                                    .arg(text)
                                    .arg(header->sectionSize(c))
                                    .toUtf8();
        QVERIFY2(header->sectionSize(c) >= headerMetrics.horizontalAdvance(text), what.constData());
        for (int r = 0; r < p.view->model()->rowCount(); ++r) {
          const QString cell = p.view->model()->index(r, c).data().toString();
          QVERIFY2(header->sectionSize(c) >= cellMetrics.horizontalAdvance(cell), what.constData());
        }
      }
      QVERIFY2(SumOfWidths(p.view) >= p.view->viewport()->width(), when);
      QCOMPARE(
          header->sectionViewportPosition(col::kCount - 1) + header->sectionSize(col::kCount - 1),
          std::max(SumOfWidths(p.view), p.view->viewport()->width()));
    };
    checkFits("after opening");
    p.window->resize(1600, 800);
    QTRY_COMPARE(SumOfWidths(p.view), p.view->viewport()->width());
    checkFits("after growing");
  }

  // In a long list the widest texts may stand anywhere, and the text with the most characters is
  // not always the widest: every cell of every row is shown in full after opening.
  void columnsFitEveryRowOfALongList_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("wideAt");
    QTest::newRow("middle of 3000") << 3000 << 1500;
    QTest::newRow("first of 3000") << 3000 << 0;
    QTest::newRow("last of 3000") << 3000 << 2999;
    QTest::newRow("middle of 300") << 300 << 150;
  }

  void columnsFitEveryRowOfALongList() {
    QFETCH(int, records);
    QFETCH(int, wideAt);
    testing::FileBuilder file;
    for (int i = 0; i < records; ++i) {
      // Many narrow characters everywhere, few wide ones in one record.
      const bool wide = i == wideAt;
      file.records.push_back(testing::RecordBuilder{
          .number = i,
          .tempo = wide ? 280 : 60 + i % 100,
          .music = wide ? "WWWWWWWWWWWWWW" : "iiiiiiiiiiiiiiiiiiiiiii" + std::to_string(i % 7),
          .genre = wide ? "MMMMMMMMM" : "lllllllllllllll",
          .keywords = wide ? "W@W@W@W@W@" : "ilj;ilj;ilj;ilj;ilj"});
    }
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(p.window));
    p.State().CurrentFilePath = p.tmp.Write("long.mfd", file.Build()).string();
    p.State().FileName = "long.mfd";
    p.app.Controller()->OpenCurrentFile();
    QCOMPARE(p.view->model()->rowCount(), records);

    QHeaderView* header = p.view->horizontalHeader();
    const QFontMetrics cellMetrics = p.view->fontMetrics();
    for (int c = 0; c < col::kCount; ++c) {
      QSet<QString> seen;
      for (int r = 0; r < records; ++r) {
        const QString cell = p.view->model()->index(r, c).data().toString();
        if (seen.contains(cell)) continue;
        seen.insert(cell);
        const QByteArray what = QStringLiteral("column %1 is %2 wide, row %3 \"%4\" needs %5")
                                    .arg(c)
                                    .arg(header->sectionSize(c))
                                    .arg(r)
                                    .arg(cell)
                                    .arg(cellMetrics.horizontalAdvance(cell))
                                    .toUtf8();
        QVERIFY2(header->sectionSize(c) >= cellMetrics.horizontalAdvance(cell), what.constData());
      }
    }
  }

  void enabledStatesFollowTheState() {
    Program p;
    const auto button = [&](const char* name) {
      return p.window->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    // A fresh window offers every command.
    for (const char* name : {"cmdModify", "CmdDelete", "cmdReplaceStyle", "cmdDeleteChecked",
                             "cmdPlayList", "cmdAdd", "cmdCheck"}) {
      QVERIFY2(button(name)->isEnabled(), name);
    }
    // As an opened file leaves them: the row and mark commands wait, the others stay.
    p.State().RowCommandsNeedSelection = true;
    p.State().CheckCommands = {CheckCommandRules::DeleteChecked::kFollowsMarks, false};
    p.window->UpdateActions();
    for (const char* name :
         {"cmdModify", "CmdDelete", "cmdReplaceStyle", "cmdDeleteChecked", "cmdPlayList"}) {
      QVERIFY2(!button(name)->isEnabled(), name);
    }
    QVERIFY(p.window->findChild<QMenu*>(QStringLiteral("mnuSave"))->menuAction()->isEnabled());
    QVERIFY(button("cmdCheck")->isEnabled());
    QVERIFY(button("cmdAdd")->isEnabled());
  }

  // A command that keeps the rows (a sort, Check All, Uncheck All) shows their new order and
  // marks with one paint of the list, not a second one for a new layout after it.
  void commandsThatKeepTheRowsPaintTheListOnce() {
    Program p;
    for (const char* n : {"0003", "0001", "0002"}) AddRow(p.State(), n, "Pop");
    p.window->Refresh();
    PaintCounter paints;
    p.view->viewport()->installEventFilter(&paints);
    Settle();
    const auto button = [&p](const char* name) {
      return p.window->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    QWidget* header = p.view->horizontalHeader()->viewport();
    // The mouse and the focus go to the control first: leaving the list repaints it.
    const struct {
      const char* what;
      QWidget* control;
      std::function<void()> command;
      QStringList numbers;
      int checked;
    } steps[] = {
        {"sort by Number",
         header,
         [&] { ClickHeader(p.view, col::kNumber); },
         {"0001", "0002", "0003"},
         0},
        {"Check All",
         button("cmdCheck"),
         [&] { QTest::mouseClick(button("cmdCheck"), Qt::LeftButton); },
         {"0001", "0002", "0003"},
         3},
        {"sort by Number again",
         header,
         [&] { ClickHeader(p.view, col::kNumber); },
         {"0003", "0002", "0001"},
         3},
        {"Uncheck All",
         button("CmdUnCheck"),
         [&] { QTest::mouseClick(button("CmdUnCheck"), Qt::LeftButton); },
         {"0003", "0002", "0001"},
         0},
    };
    for (const auto& step : steps) {
      QTest::mouseMove(step.control);
      if (step.control->focusPolicy() != Qt::NoFocus) step.control->setFocus();
      Settle();
      paints.count = 0;
      step.command();
      Settle();
      QVERIFY2(paints.count == 1,
               (std::string(step.what) + ": " + std::to_string(paints.count) + " paints").c_str());
      QCOMPARE(NumbersShown(p.view), step.numbers);
      int checked = 0;
      for (int r = 0; r < p.view->model()->rowCount(); ++r) {
        checked += p.view->model()->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
      }
      QCOMPARE(checked, step.checked);
    }
  }

  void refreshKeepsColumnWidthsWhenRowsComeAndGo() {
    Program p;
    p.view->horizontalHeader()->resizeSection(col::kMusic, 321);
    for (const char* n : {"0001", "0002"}) AddRow(p.State(), n, "Pop");
    p.window->Refresh();
    QCOMPARE(p.view->model()->rowCount(), 2);
    QCOMPARE(p.view->horizontalHeader()->sectionSize(col::kMusic), 321);
    p.State().List.Clear();
    p.window->Refresh();
    QCOMPARE(p.view->model()->rowCount(), 0);
    QCOMPARE(p.view->horizontalHeader()->sectionSize(col::kMusic), 321);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::MainWindowTest)
#include "main_window_test.moc"
