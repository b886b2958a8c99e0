// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/command_availability.h"
#include "support/list_rows.h"
#include "support/scripted_dialogs.h"

namespace cadenzo {

using testing::MainRowBuilder;

class SearchWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Harness {
    AppState state;
    testing::ScriptedDialogs dialogs;
    QWidget mainWindow;
    QPointer<SearchWindow> window;
    std::vector<std::size_t> shown;
    int listChanges = 0;
    int playListOpenings = 0;

    Harness() {
      state.List = testing::MakeList(
          {MainRowBuilder{.number = 1, .genre = "Pop", .music = "Alpha", .fav = "No"},
           MainRowBuilder{.number = 2, .genre = "Jazz Ballad", .music = "Beta", .fav = "Yes"},
           MainRowBuilder{.number = 3, .genre = "Jazz", .music = "Gamma", .fav = "Yes"}});
    }
    SearchWindow* Open() {
      SearchWindowHooks hooks{
          .showRow = [this](std::size_t p) { shown.push_back(p); },
          .listChanged = [this] { ++listChanges; },
          .openPlayList = [this] { ++playListOpenings; },
      };
      return ShowSearchWindow(window, state, dialogs, std::move(hooks), &mainWindow);
    }
    template <typename T>
    T* Find(const char* name) {
      T* child = window->findChild<T*>(QString::fromLatin1(name));
      if (child == nullptr) qFatal("no control %s", name);
      return child;
    }
  };

 private slots:
  void controlsCarryTheirNamesAndCaptions() {
    Harness h;
    SearchWindow* w = h.Open();
    QCOMPARE(w->objectName(), QStringLiteral("frmSearch"));
    QCOMPARE(w->windowTitle(), QStringLiteral("List Search"));
    const std::vector<std::pair<const char*, const char*>> frames = {
        {"Frame1", "Select field to search"}, {"Frame2", "For this text"}, {"Frame3", "Match"}};
    for (const auto& [name, title] : frames) {
      QCOMPARE(h.Find<QGroupBox>(name)->title(), QString::fromLatin1(title));
    }
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"cmdFind", "Find First"},           {"cmdAgain", "Find Next"},
        {"cmdCheck", "Find and Check All"},  {"cmdFilter", "Filter List"},
        {"cmdPlayList", "Open in PlayList"}, {"cmdExit", "Close"}};
    for (const auto& [name, caption] : buttons) {
      QCOMPARE(h.Find<QPushButton>(name)->text(), QString::fromLatin1(caption));
    }
    const std::vector<const char*> options = {"Music",    "Genre",    "Keywords", "Favorites",
                                              "Search 1", "Search 2", "Style"};
    for (std::size_t i = 0; i < options.size(); ++i) {
      const QByteArray name = "Option1_" + QByteArray::number(static_cast<int>(i) + 1);
      auto* option = h.Find<QRadioButton>(name.constData());
      QCOMPARE(option->text(), QString::fromLatin1(options[i]));
      QCOMPARE(option->isChecked(), i == 0);
    }
    QCOMPARE(h.Find<QRadioButton>("OptMatchWord")->text(), QStringLiteral("Whole Word"));
    QCOMPARE(h.Find<QRadioButton>("optMatchContaining")->text(), QStringLiteral("Containing"));
    QVERIFY(h.Find<QRadioButton>("optMatchContaining")->isChecked());
    QVERIFY(h.Find<QLineEdit>("txtFind")->text().isEmpty());
    QCOMPARE(w->Search().SearchColumn, 2);
  }

  void favoritesOptionPresetsYesAndFindFirstShowsTheRow() {
    Harness h;
    h.Open();
    h.Find<QRadioButton>("Option1_4")->click();
    QCOMPARE(h.Find<QLineEdit>("txtFind")->text(), QStringLiteral("Yes"));
    QCOMPARE(h.window->Search().SearchColumn, 7);
    h.Find<QPushButton>("cmdFind")->click();
    QCOMPARE(h.shown, std::vector<std::size_t>{1});
    QVERIFY(h.state.List[1].selected);
    QCOMPARE(h.state.SelectedRecord, std::int16_t{0});
    h.Find<QPushButton>("cmdAgain")->click();
    h.Find<QPushButton>("cmdAgain")->click();
    QCOMPARE(h.shown, (std::vector<std::size_t>{1, 2}));
    QVERIFY(h.dialogs.messages.empty());
  }

  void wholeWordAndCheckAllReachTheMainWindow() {
    Harness h;
    h.Open();
    h.Find<QRadioButton>("Option1_2")->click();
    h.Find<QRadioButton>("OptMatchWord")->click();
    QTest::keyClicks(h.Find<QLineEdit>("txtFind"), QStringLiteral("Jazz"));
    h.Find<QPushButton>("cmdCheck")->click();
    QVERIFY(!h.state.List[1].checked);
    QVERIFY(h.state.List[2].checked);
    QCOMPARE(CommandAvailability(h.state).checkedCount, 1);
    QCOMPARE(h.listChanges, 1);
    h.Find<QPushButton>("cmdPlayList")->click();
    QCOMPARE(h.playListOpenings, 1);
  }

  void emptyTextShowsTheMessageAndOpensNoPlayList() {
    Harness h;
    h.Open();
    h.Find<QPushButton>("cmdPlayList")->click();
    h.Find<QPushButton>("cmdFilter")->click();
    QCOMPARE(h.dialogs.Texts(),
             std::vector<std::string>(2, "please enter something to search for"));
    QCOMPARE(h.playListOpenings, 0);
    for (const Row& row : h.state.List) QVERIFY(row.Cell(col::kGenre) != "deleted");
  }

  void enterInTheFieldFindsTheFirstMatch() {
    Harness h;
    h.Open();
    QTest::keyClicks(h.Find<QLineEdit>("txtFind"), QStringLiteral("Gamma"));
    QTest::keyClick(h.Find<QLineEdit>("txtFind"), Qt::Key_Return);
    QCOMPARE(h.shown, std::vector<std::size_t>{2});
    QVERIFY(h.dialogs.messages.empty());
  }

  // Where the user left it, also after its close box made it afresh.
  void reopensWhereTheUserLeftIt() {
    Harness h;
    SearchWindow* first = h.Open();
    first->move(first->pos() + QPoint(7, 11));
    const QPoint left = first->pos();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.window.isNull());
    QCOMPARE(h.Open()->pos(), left);
  }

  void closeHidesTheWindowAndKeepsItsState() {
    Harness h;
    SearchWindow* first = h.Open();
    h.Find<QRadioButton>("Option1_3")->click();
    h.Find<QRadioButton>("OptMatchWord")->click();
    QTest::keyClicks(h.Find<QLineEdit>("txtFind"), QStringLiteral("Swing"));
    h.Find<QPushButton>("cmdFind")->click();
    h.Find<QPushButton>("cmdExit")->click();
    QVERIFY(!first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!h.window.isNull());

    QCOMPARE(h.Open(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(h.Find<QLineEdit>("txtFind")->text(), QStringLiteral("Swing"));
    QVERIFY(h.Find<QRadioButton>("Option1_3")->isChecked());
    QVERIFY(h.Find<QRadioButton>("OptMatchWord")->isChecked());
    QCOMPARE(first->Search().SearchColumn, 6);
    QCOMPARE(first->Search().SearchText, std::string("Swing"));
    QCOMPARE(first->Search().SearchPos, 4);
  }

  void closeBoxUnloadsAndTheNextOpeningStartsAfresh() {
    Harness h;
    h.Open();
    h.Find<QRadioButton>("Option1_7")->click();
    QTest::keyClicks(h.Find<QLineEdit>("txtFind"), QStringLiteral("Cool"));
    h.Find<QPushButton>("cmdFind")->click();
    QVERIFY(h.window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.window.isNull());

    SearchWindow* second = h.Open();
    QVERIFY(second->isVisible());
    QVERIFY(h.Find<QLineEdit>("txtFind")->text().isEmpty());
    QVERIFY(h.Find<QRadioButton>("Option1_1")->isChecked());
    QVERIFY(h.Find<QRadioButton>("optMatchContaining")->isChecked());
    QCOMPARE(second->Search().SearchColumn, 2);
    QCOMPARE(second->Search().SearchPos, 0);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::SearchWindowTest)
#include "search_window_test.moc"
