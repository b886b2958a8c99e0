// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "app/command_availability.h"
#include "app/runtime_error.h"
#include "playlist/play_list_print.h"
#include "support/builders.h"
#include "support/list_rows.h"
#include "support/scripted_dialogs.h"
#include "ui/playlist_window.h"

namespace cadenzo {

class PlayListWindowTest : public QObject {
  Q_OBJECT

 private:
  // n checked songs "Song 01" and on, records 0001 and on.
  static void FillMain(AppState& state, int n, bool checked = true) {
    state.List.Clear();
    for (int i = 1; i <= n; ++i) {
      state.List.Add(testing::MainRowBuilder{
          .number = i,
          .music = QStringLiteral("Song %1").arg(i, 2, 10, QLatin1Char('0')).toStdString(),
          .style = "Style A",
          .checked = checked}
                         .Build());
    }
  }

  static QStringList Headers(PlayListWindow* w) {
    auto* view = w->findChild<QTreeView*>(QStringLiteral("ListView1"));
    QStringList out;
    for (int c = 0; c < view->model()->columnCount(); ++c) {
      out << view->model()->headerData(c, Qt::Horizontal).toString();
    }
    return out;
  }

  static QStringList Column(PlayListWindow* w, int column) {
    auto* view = w->findChild<QTreeView*>(QStringLiteral("ListView1"));
    QStringList out;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
      out << view->model()->index(r, column).data().toString();
    }
    return out;
  }

  static QAction* Action(QWidget* w, const char* name) {
    return w->findChild<QAction*>(QString::fromLatin1(name));
  }

 private slots:
  void captionsAndObjectNames() {
    QWidget root;
    AppState state;
    FillMain(state, 2);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    QVERIFY(w != nullptr);
    QCOMPARE(w->objectName(), QStringLiteral("frmPlayList"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Cadenzo  Play List"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(),
             QStringLiteral("For selected row:"));
    QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("cmdOrder"))->text(),
             QStringLiteral("Change Position in List"));
    QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("cmdNotes"))->text(),
             QStringLiteral("Enter Comments"));

    // The menu bar in its order; Print and Exit act straight from the bar.
    QStringList bar;
    for (QAction* a : w->menuBar()->actions()) bar << a->text();
    QCOMPARE(bar, (QStringList{"&Print", "List Items", "Save As",
                               QString(18, QLatin1Char(' ')) + "&Exit"}));
    QCOMPARE(w->findChild<QMenu*>(QStringLiteral("mnuListItems"))->title(),
             QStringLiteral("List Items"));
    QCOMPARE(w->findChild<QMenu*>(QStringLiteral("mnuSaveAs"))->title(), QStringLiteral("Save As"));
    QCOMPARE(Action(w, "mnuPrint")->text(), QStringLiteral("&Print"));
    QCOMPARE(Action(w, "mnuDefault")->text(), QStringLiteral("Default"));
    QCOMPARE(Action(w, "mnuSong_Genre")->text(), QStringLiteral("Song-Genre"));
    QCOMPARE(Action(w, "mnuTextFile")->text(), QStringLiteral("&Delimited Text File"));
    QCOMPARE(Action(w, "mnuTextFileImportable")->text(),
             QStringLiteral("Delimited Text File (&importable)"));
    QCOMPARE(Action(w, "mnuExit")->text(), QString(18, QLatin1Char(' ')) + "&Exit");
    QVERIFY(Action(w, "mnuDefault")->isChecked());
    QVERIFY(!Action(w, "mnuSong_Genre")->isChecked());

    QCOMPARE(Headers(w),
             (QStringList{"Number", "CdzIndex", "Music", "Style", "TimeSig", "Tempo", "Comments"}));
    QCOMPARE(Column(w, 0), (QStringList{"00001", "00002"}));
    QCOMPARE(Column(w, 1), (QStringList{"1", "2"}));
    QVERIFY(dialogs.messages.empty());
  }

  void nothingCheckedShowsTheMessage() {
    QWidget root;
    AppState state;
    FillMain(state, 3, false);
    testing::ScriptedDialogs dialogs;
    QVERIFY(OpenPlayList(&root, state, dialogs) == nullptr);
    QCOMPARE(dialogs.Texts(),
             std::vector<std::string>{"At least one record must be checked to go to PlayList"});
    QVERIFY(root.findChild<PlayListWindow*>() == nullptr);
    QVERIFY(!CommandAvailability(state).cmdPlayList);
  }

  void closeBoxIsRefused() {
    QWidget root;
    AppState state;
    FillMain(state, 1);
    testing::ScriptedDialogs dialogs;
    QPointer<PlayListWindow> w = OpenPlayList(&root, state, dialogs);
    QVERIFY(!w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QCOMPARE(dialogs.Texts(), std::vector<std::string>{"Please use the menu item Exit to close"});
  }

  void reopeningAppendsAndExitDiscards() {
    QWidget root;
    AppState state;
    FillMain(state, 3, false);
    state.List[1].checked = true;
    testing::ScriptedDialogs dialogs;
    QPointer<PlayListWindow> first = OpenPlayList(&root, state, dialogs);
    QCOMPARE(Column(first, 2), QStringList{"Song 02"});

    // Opening again (from the search window, say) finds the same window and appends.
    QWidget search(&root, Qt::Window);
    state.List[0].checked = true;
    state.List[2].checked = true;
    QCOMPARE(OpenPlayList(&search, state, dialogs), first.data());
    QCOMPARE(Column(first, 2), (QStringList{"Song 02", "Song 01", "Song 03"}));
    QCOMPARE(Column(first, 0), (QStringList{"00001", "00002", "00003"}));

    Action(first, "mnuSong_Genre")->trigger();
    Action(first, "mnuExit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());

    PlayListWindow* second = OpenPlayList(&root, state, dialogs);
    QVERIFY(second != nullptr);
    QCOMPARE(second->List().Layout(), PlayListLayout::kDefault);
    QCOMPARE(Column(second, 2), (QStringList{"Song 01", "Song 02", "Song 03"}));
    QVERIFY(dialogs.messages.empty());
  }

  void layoutMenuSwitchesColumnsAndCheckMarks() {
    QWidget root;
    AppState state;
    FillMain(state, 2);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    Action(w, "mnuSong_Genre")->trigger();
    QCOMPARE(Headers(w), (QStringList{"Number", "CdzIndex", "Genre", "Music", "Style"}));
    QVERIFY(Action(w, "mnuSong_Genre")->isChecked());
    QVERIFY(!Action(w, "mnuDefault")->isChecked());
    // Choosing the checked item again keeps it checked and changes nothing.
    Action(w, "mnuSong_Genre")->trigger();
    QVERIFY(Action(w, "mnuSong_Genre")->isChecked());
    QCOMPARE(Headers(w).size(), 5);
    Action(w, "mnuDefault")->trigger();
    QCOMPARE(Headers(w).size(), 7);
    QVERIFY(!Action(w, "mnuSong_Genre")->isChecked());
  }

  // Comments have a column only in the default layout: the button is off in the other one, and
  // no internal error reaches the user however it is reached.
  void commentsOnlyWhereTheLayoutHasThem() {
    QWidget root;
    AppState state;
    FillMain(state, 3);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    auto* notes = w->findChild<QPushButton*>(QStringLiteral("cmdNotes"));
    auto* order = w->findChild<QPushButton*>(QStringLiteral("cmdOrder"));
    auto* view = w->findChild<QTreeView*>(QStringLiteral("ListView1"));
    QVERIFY(notes->isEnabled());

    Action(w, "mnuSong_Genre")->trigger();
    QVERIFY(!notes->isEnabled());
    QVERIFY(order->isEnabled());
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::mouseClick(notes, Qt::LeftButton);
    notes->click();  // a disabled button ignores a click from code as well
    QVERIFY(dialogs.inputPrompts.empty());
    QVERIFY(dialogs.messages.empty());

    // Moving a row still works in this layout.
    dialogs.QueueInput("1");
    QTest::mouseClick(order, Qt::LeftButton);
    QCOMPARE(Column(w, 3), (QStringList{"Song 02", "Song 01", "Song 03"}));

    Action(w, "mnuDefault")->trigger();
    QVERIFY(notes->isEnabled());
    view->setCurrentIndex(view->model()->index(2, 0));
    dialogs.QueueInput("slow");
    QTest::mouseClick(notes, Qt::LeftButton);
    QCOMPARE(Column(w, 6), (QStringList{" ", " ", "slow"}));
    QVERIFY(dialogs.messages.empty());
    QVERIFY(dialogs.AllAnswered());
  }

  void rowClickAndButtonsReachTheCore() {
    QWidget root;
    AppState state;
    FillMain(state, 4);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    auto* view = w->findChild<QTreeView*>(QStringLiteral("ListView1"));
    view->setCurrentIndex(view->model()->index(2, 0));
    QCOMPARE(w->List().PlayListSelected(), 3);
    dialogs.QueueInput("1");
    w->findChild<QPushButton*>(QStringLiteral("cmdOrder"))->click();
    QCOMPARE(Column(w, 2), (QStringList{"Song 03", "Song 01", "Song 02", "Song 04"}));
    QCOMPARE(view->currentIndex().row(), 0);

    view->setCurrentIndex(view->model()->index(1, 0));
    dialogs.QueueInput("fade out");
    w->findChild<QPushButton*>(QStringLiteral("cmdNotes"))->click();
    QCOMPARE(Column(w, 6), (QStringList{" ", "fade out", " ", " "}));

    // A header click sorts through the core.
    view->header()->sectionClicked(2);
    view->header()->sectionClicked(2);
    QCOMPARE(Column(w, 2), (QStringList{"Song 04", "Song 03", "Song 02", "Song 01"}));
    QCOMPARE(view->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(dialogs.AllAnswered());
  }

  void returningToTheWindowAppendsButItsOwnDialogsDoNot() {
    QWidget root;
    root.show();
    AppState state;
    FillMain(state, 4, false);
    state.List[0].checked = true;
    state.List[1].checked = true;
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* view = w->findChild<QTreeView*>(QStringLiteral("ListView1"));
    view->setCurrentIndex(view->model()->index(1, 0));

    // A modal box of the window's own comes and goes: the clicked row stays.
    QDialog box(w);
    QTimer::singleShot(50, &box, &QDialog::accept);
    box.exec();
    w->activateWindow();  // as the window manager hands the activation back
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::qWait(50);
    QCOMPARE(w->List().PlayListSelected(), 2);

    // Back from the main window with a newly checked row: it is appended.
    state.List[3].checked = true;
    root.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&root));
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTRY_COMPARE(Column(w, 2), (QStringList{"Song 01", "Song 02", "Song 04"}));
    QCOMPARE(w->List().PlayListSelected(), 1);
  }

  void exportMenuWritesThroughTheFileChoice() {
    QWidget root;
    testing::TempDir tmp;
    AppState state;
    FillMain(state, 1);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    dialogs.QueueFile(tmp.Str() + "plain.txt");
    Action(w, "mnuTextFile")->trigger();
    dialogs.QueueFile(tmp.Str() + "import.txt");
    Action(w, "mnuTextFileImportable")->trigger();
    QCOMPARE(testing::ReadText(tmp.Path() / "plain.txt"),
             std::string("Number\tMusic         \tStyleName\tTimeSig\tTempo\tComments\r\n"
                         " 1\tSong 01\tStyle A\t 4/ 4\t120\t \r\n\r\n"));
    const std::string imported = testing::ReadText(tmp.Path() / "import.txt");
    QVERIFY(imported.find("\r\n 1\tPop\t001 Song 01\tStyle A\t") != std::string::npos);
    QCOMPARE(state.ExportFolder, tmp.Str());
  }

  void printPreviewHasItsCaptionAndIcon() {
    QWidget root;
    AppState state;
    state.AppPath = CADENZO_DATA_DIR;
    FillMain(state, 3);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    QString caption;
    bool hasIcon = false;
    QTimer::singleShot(0, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      if (preview == nullptr) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
          if (auto* p = qobject_cast<QPrintPreviewDialog*>(top); p && p->isVisible()) preview = p;
        }
      }
      if (preview != nullptr) {
        caption = preview->windowTitle();
        hasIcon = !preview->windowIcon().isNull();
        preview->reject();
      }
    });
    Action(w, "mnuPrint")->trigger();
    QCOMPARE(caption, QStringLiteral("Cadenzo Play List Print Preview"));
    QVERIFY(hasIcon);
    QCOMPARE(dialogs.busyDepth, 0);
    QVERIFY(dialogs.messages.empty());
  }

  void printsFortyOneRowsAPageToPdf() {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
    QWidget root;
    testing::TempDir tmp;
    AppState state;
    FillMain(state, 50);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    dialogs.QueueInput("capo two");
    w->findChild<QPushButton*>(QStringLiteral("cmdNotes"))->click();

    const QString pdf = QString::fromStdString(tmp.Str() + "playlist.pdf");
    w->PrintToPdf(pdf);
    QProcess run;
    run.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 0);
    const QStringList pages =
        QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);

    const QRegularExpression song(QStringLiteral("Song (\\d\\d)"));
    auto songsOn = [&](const QString& page) {
      QStringList found;
      for (auto it = song.globalMatch(page); it.hasNext();) found << it.next().captured(1);
      return found;
    };
    const QStringList first = songsOn(pages[0]);
    QCOMPARE(first.size(), 41);
    QCOMPARE(first.front(), QStringLiteral("01"));
    QCOMPARE(first.back(), QStringLiteral("41"));
    const QStringList second = songsOn(pages[1]);
    QCOMPARE(second.size(), 9);
    QCOMPARE(second.front(), QStringLiteral("42"));

    for (const QString& page : pages) {
      QVERIFY(page.contains(QStringLiteral("Cadenzo Play List")));
      const QRegularExpression header(
          QStringLiteral("Number\\s+CdzIndex\\s+Music\\s+Style\\s+TimeSig\\s+Tempo\\s+Comments"));
      QVERIFY2(header.match(page).hasMatch(), qPrintable(page.left(400)));
    }
    QVERIFY(QRegularExpression(QStringLiteral("00001\\s+1\\s+Song 01\\s+Style A\\s+4/ 4\\s+120\\s+"
                                              "capo two"))
                .match(pages[0])
                .hasMatch());
    QVERIFY(pages[0].contains(QStringLiteral("Page 1 of 2")));
    QVERIFY(pages[1].contains(QStringLiteral("Page 2 of 2")));
  }

  void unwritablePdfFails() {
    QWidget root;
    AppState state;
    FillMain(state, 1);
    testing::ScriptedDialogs dialogs;
    PlayListWindow* w = OpenPlayList(&root, state, dialogs);
    bool failed = false;
    try {
      w->PrintToPdf(QStringLiteral("/nonexistent-folder/x.pdf"));
    } catch (const RuntimeError& e) {
      failed = true;
      QVERIFY(PrintErrorMessage(e).has_value());
    }
    QVERIFY(failed);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::PlayListWindowTest)
#include "playlist_window_test.moc"
