// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "mfd/reader.h"
#include "support/app_fixture.h"
#include "ui/style_replace_window.h"

namespace cadenzo {

class StyleReplaceWindowTest : public QObject {
  Q_OBJECT

  struct Opened {
    testing::AppFixture fx;
    int refreshed = 0;
    QPointer<StyleReplaceWindow> window;

    Opened() {
      fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Funk", "77"}});
      testing::FileBuilder file;
      file.records = {testing::RecordBuilder{.number = 0, .style = 291, .genre = "Rock"},
                      testing::RecordBuilder{.number = 1, .style = 77, .genre = "Pop"}};
      fx.PutFile("in.mfd", file.Build());
      Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    }
    void Open() {
      window = StyleReplaceWindow::Open(
          fx.state, fx.dialogs, [this] { ++refreshed; }, nullptr);
    }
    ~Opened() { delete window.data(); }
  };

  template <typename T>
  static T* Find(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
  }

 private slots:
  void refusesWithoutASelectedRow() {
    Opened o;
    o.Open();
    QVERIFY(o.window.isNull());
    QCOMPARE(o.fx.dialogs.Texts(), std::vector<std::string>{kSelectItemFirst});
  }

  void showsItsControlsWithTheirCaptions() {
    Opened o;
    o.fx.state.SelectedRecord = 2;
    o.fx.state.SelectedStyleText = "Funk";
    o.Open();
    QVERIFY(!o.window.isNull());
    QWidget* w = o.window;
    QCOMPARE(w->objectName(), QStringLiteral("frmStyleReplace"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Replace "));
    const std::pair<const char*, const char*> buttons[] = {{"optStyle", "Style"},
                                                           {"optGenre", "Genre"},
                                                           {"optKeyword", "Keyword"},
                                                           {"Option1", "Whole Keyword"},
                                                           {"Option2", "Characters"}};
    for (const auto& [name, text] : buttons) {
      auto* b = Find<QRadioButton>(w, name);
      QVERIFY2(b != nullptr, name);
      QCOMPARE(b->text(), QString::fromLatin1(text));
    }
    QCOMPARE(Find<QPushButton>(w, "cmdAllEntries")->text(), QStringLiteral("Replace All Entries"));
    QCOMPARE(Find<QPushButton>(w, "cmdCancel")->text(), QStringLiteral("Close"));
    QCOMPARE(Find<QLabel>(w, "lblKeywordNote")->text(),
             QStringLiteral("Whole keyword and * removes the keyword"));
    QCOMPARE(Find<QLabel>(w, "lblStyleWith")->text(), QStringLiteral("with:"));
    QVERIFY(Find<QLineEdit>(w, "txtCurrentKeyword") != nullptr);
    QVERIFY(Find<QLineEdit>(w, "txtKeyword") != nullptr);

    QCOMPARE(Find<QLabel>(w, "lblCurrentStyle")->text(), QStringLiteral("Funk"));
    QCOMPARE(Find<QLabel>(w, "lblGenre")->text(), QStringLiteral("Pop"));
    auto* cboStyle = Find<QComboBox>(w, "cboStyle");
    QCOMPARE(cboStyle->count(), 2);
    QCOMPARE(cboStyle->currentIndex(), -1);
    QCOMPARE(cboStyle->itemData(1).toInt(), 77);
    auto* cboGenre = Find<QComboBox>(w, "cboGenre");
    QCOMPARE(cboGenre->currentText(), QStringLiteral("Pop"));
    QVERIFY(Find<QRadioButton>(w, "optStyle")->isChecked());
    QVERIFY(Find<QRadioButton>(w, "Option1")->isChecked());
  }

  void eachModeEnablesOnlyItsGroup() {
    Opened o;
    o.fx.state.SelectedRecord = 1;
    o.Open();
    QWidget* w = o.window;
    const char* styleGroup[] = {"lblStyleReplace", "lblCurrentStyle", "lblStyleWith", "cboStyle"};
    const char* genreGroup[] = {"lblGenreReplace", "lblGenre", "lblGenreWith", "cboGenre"};
    const char* keywordGroup[] = {"lblKeywordReplace", "txtCurrentKeyword", "lblKeywordWith",
                                  "txtKeyword",        "Option1",           "Option2"};
    auto check = [&](bool style, bool genre, bool keyword) {
      for (const char* n : styleGroup) QCOMPARE(Find<QWidget>(w, n)->isEnabled(), style);
      for (const char* n : genreGroup) QCOMPARE(Find<QWidget>(w, n)->isEnabled(), genre);
      for (const char* n : keywordGroup) QCOMPARE(Find<QWidget>(w, n)->isEnabled(), keyword);
    };
    check(true, false, false);
    Find<QRadioButton>(w, "optGenre")->click();
    check(false, true, false);
    Find<QRadioButton>(w, "optKeyword")->click();
    check(false, false, true);
    QVERIFY(Find<QRadioButton>(w, "Option1")->isChecked());  // its own group
    Find<QRadioButton>(w, "optStyle")->click();
    check(true, false, false);
  }

  void typedGenreReplacesEveryMatchingRecord() {
    Opened o;
    o.fx.state.SelectedRecord = 1;
    o.Open();
    QWidget* w = o.window;
    Find<QRadioButton>(w, "optGenre")->click();
    auto* cboGenre = Find<QComboBox>(w, "cboGenre");
    const int before = cboGenre->count();
    cboGenre->setEditText(QStringLiteral("Swing"));
    emit cboGenre->lineEdit()->editingFinished();
    QCOMPARE(cboGenre->count(), before + 1);
    QCOMPARE(cboGenre->currentText(), QStringLiteral("Swing"));
    Find<QPushButton>(w, "cmdAllEntries")->click();
    QCOMPARE(o.refreshed, 1);
    const Row& row = o.fx.state.List[static_cast<std::size_t>(o.fx.state.List.FindByRecord(1))];
    QCOMPARE(row.Cell(col::kGenre), std::string("Swing"));
    QVERIFY(!o.fx.state.FileSaved);
  }

  void styleModeWithoutANewStyleDoesNothing() {
    Opened o;
    o.fx.state.SelectedRecord = 1;
    o.Open();
    Find<QPushButton>(o.window, "cmdAllEntries")->click();
    QCOMPARE(o.refreshed, 0);
    QVERIFY(o.fx.state.FileSaved);
  }

  void closeReleasesTheWindow() {
    Opened o;
    o.fx.state.SelectedRecord = 1;
    o.Open();
    Find<QPushButton>(o.window, "cmdCancel")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(o.window.isNull());
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::StyleReplaceWindowTest)
#include "style_replace_window_test.moc"
