// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "editing/record_editor.h"
#include "mfd/byte_io.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "ui/edit_window.h"

namespace cadenzo {

namespace {

// An open three-record file on a media model, the editor created as start-up creates it.
struct Session {
  testing::AppFixture fx;
  std::unique_ptr<EditWindow> window;
  std::vector<int> listChanges;

  explicit Session(const std::string& model = "PSR-S970") {
    fx.WriteStyleList(model, {{"Cool Beat", "291"}, {"Pop Rock", "12"}, {"Funk", "77"}});
    testing::FileBuilder file{.model = model};
    for (int i = 0; i < 3; ++i) {
      file.records.push_back(testing::RecordBuilder{
          .number = i, .style = 291, .music = "Song " + std::to_string(i + 1), .genre = "Pop"});
    }
    fx.PutFile("edit.mfd", file.Build());
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    PrepareEditor(fx.state);
    window = std::make_unique<EditWindow>(fx.state, fx.dialogs, nullptr);
    window->SetListChangedCallback([this](int record) { listChanges.push_back(record); });
  }

  // What a click on the row of record n puts into the editor.
  void Click(int n) {
    AppState& s = fx.state;
    const Row& row = s.List[static_cast<std::size_t>(s.List.FindByRecord(n))];
    s.SelectedRecord = static_cast<std::int16_t>(n);
    s.Editor.txtMusic = row.Cell(col::kMusic);
    s.Editor.txtTempo = row.Cell(col::kTempo);
    s.Editor.cboGenre = "Pop";
    ChooseTimeSignature(s, TimeSigOption::k44);
    window->RefreshFromState();
  }

  template <typename T>
  T* Find(const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qWarning("missing control %s", name);
    return w;
  }
};

}  // namespace

class EditWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsCarryTheirNamesAndCaptions() {
    Session s;
    QCOMPARE(s.window->objectName(), QStringLiteral("frmEdit"));
    QCOMPARE(s.window->windowTitle(), QStringLiteral("Data Enter/Edit"));
    QVERIFY(!s.window->isModal());
    QVERIFY(s.window->isHidden());

    const std::vector<std::pair<const char*, const char*>> buttons = {{"cmdBrowse", "USB"},
                                                                      {"cmdBrowse2", "HD"},
                                                                      {"cmdOK", "OK"},
                                                                      {"cmdcancel", "Cancel"},
                                                                      {"Command1", "Clear"}};
    for (const auto& [name, caption] : buttons) {
      auto* b = s.Find<QPushButton>(name);
      QVERIFY(b != nullptr);
      QCOMPARE(b->text(), QString::fromLatin1(caption));
    }
    const std::vector<std::pair<const char*, const char*>> options = {
        {"opt00", "0/0"}, {"opt24", "2/4"}, {"opt34", "3/4"}, {"opt44", "4/4"}, {"opt68", "6/8"}};
    for (const auto& [name, caption] : options) {
      auto* o = s.Find<QRadioButton>(name);
      QVERIFY(o != nullptr);
      QCOMPARE(o->text(), QString::fromLatin1(caption));
      QCOMPARE(o->parentWidget()->objectName(), QStringLiteral("Frame1"));
    }
    const std::vector<std::pair<const char*, const char*>> labels = {
        {"Label1", "Genre"},        {"Label2", "Music (Song)"},
        {"Label3", "Preset Style"}, {"Label4", "Time Sig."},
        {"Label5", "Tempo"},        {"Label6", "Keywords"},
        {"Label7", "Favorite"},     {"Label8", "Search 1"},
        {"Label9", "Search 2"},     {"Label10", "Intro"},
        {"Label11", "Section"},     {"Label12", "Media based style, midi or audio file"}};
    for (const auto& [name, caption] : labels) {
      auto* l = s.Find<QLabel>(name);
      QVERIFY(l != nullptr);
      QCOMPARE(l->text(), QString::fromLatin1(caption));
    }
    for (const char* name : {"txtMusic", "txtTempo", "txtKeywords"}) {
      QVERIFY(s.Find<QLineEdit>(name) != nullptr);
    }
    for (const char* name : {"chkFavorite", "chkSearch1", "chkSearch2"}) {
      QVERIFY(s.Find<QCheckBox>(name) != nullptr);
    }
    QVERIFY(s.Find<QLabel>("lblSelectedFile") != nullptr);
    QVERIFY(s.Find<QComboBox>("cboGenre")->isEditable());
    QVERIFY(!s.Find<QComboBox>("cboStyle")->isEditable());
    QCOMPARE(s.Find<QComboBox>("cboStyle")->count(), 3);
    for (const char* name : {"cboIntro", "cboSection"}) {
      auto* c = s.Find<QComboBox>(name);
      QCOMPARE(c->count(), 11);
      QCOMPARE(c->currentText(), QStringLiteral("Off"));
      QCOMPARE(c->itemText(10), QStringLiteral("Ending 3"));
      QCOMPARE(c->itemData(10).toInt(), 10);
    }
  }

  void closingHidesAndKeepsTheControls() {
    Session s;
    s.Click(2);
    s.window->StartModifyRecord();
    QVERIFY(s.window->isVisible());
    QTest::keyClicks(s.Find<QLineEdit>("txtKeywords"), QStringLiteral("kept"));
    QPointer<EditWindow> guard(s.window.get());
    s.window->close();
    QVERIFY(guard != nullptr);
    QVERIFY(s.window->isHidden());
    s.window->ShowEditor();
    QCOMPARE(s.Find<QLineEdit>("txtKeywords")->text(), QStringLiteral("kept"));
    // Escape is Cancel: nothing stored.
    QTest::keyClick(s.window.get(), Qt::Key_Escape);
    QVERIFY(s.window->isHidden());
    QCOMPARE(s.fx.state.List[1].Cell(col::kKeywords), std::string());
    QVERIFY(s.fx.state.FileSaved);
    QVERIFY(s.listChanges.empty());
  }

  void okWritesTheEditedRecordThrough() {
    Session s;
    s.Click(2);
    s.window->StartModifyRecord();
    QVERIFY(s.window->isVisible());
    QCOMPARE(s.Find<QComboBox>("cboStyle")->currentText(), QStringLiteral("Cool Beat"));
    QCOMPARE(s.Find<QLineEdit>("txtMusic")->text(), QStringLiteral("Song 2"));

    auto* music = s.Find<QLineEdit>("txtMusic");
    music->clear();
    QTest::keyClicks(music, QStringLiteral("Caf"));
    QTest::sendKeyEvent(QTest::Click, music, Qt::Key_Eacute, QStringLiteral("\u00e9"),
                        Qt::NoModifier);
    QTest::keyClicks(music, QStringLiteral(" Song"));
    auto* style = s.Find<QComboBox>("cboStyle");
    style->setCurrentIndex(2);
    emit style->activated(2);
    s.Find<QRadioButton>("opt34")->click();
    s.Find<QCheckBox>("chkFavorite")->click();
    auto* intro = s.Find<QComboBox>("cboIntro");
    intro->setCurrentIndex(5);
    emit intro->activated(5);
    s.Find<QPushButton>("cmdOK")->click();

    QVERIFY(s.fx.dialogs.messages.empty());
    QVERIFY(s.window->isHidden());
    QCOMPARE(s.listChanges, std::vector<int>{0});
    const Row& row = s.fx.state.List[static_cast<std::size_t>(s.fx.state.List.FindByRecord(2))];
    QCOMPARE(row.Cell(col::kMusic), std::string("Caf\xE9 Song"));
    QCOMPARE(row.Cell(col::kStyle), std::string("Funk"));
    QCOMPARE(row.Cell(col::kTimeSig), std::string(" 3/ 4"));
    QCOMPARE(row.Cell(col::kFav), std::string("Yes"));
    QCOMPARE(row.Cell(col::kIntro), std::string("Main B"));
    const std::size_t r = mfd::RecordOffset(2);
    QCOMPARE(int(ReadU16(s.fx.state.FileBytes, r + 2)), 77);
    QCOMPARE(int(s.fx.state.FileBytes[r + 4]), 3);
    QCOMPARE(int(s.fx.state.FileBytes[r + 9 + 3]), 0xE9);
    QVERIFY(!s.fx.state.FileSaved);
    // Modify sets the sections back to "Off" for the next use.
    QCOMPARE(intro->currentText(), QStringLiteral("Off"));
  }

  void addWithTypedGenreAndEnter() {
    Session s;
    s.Click(1);
    s.window->StartAddRecord();
    QVERIFY(s.window->isVisible());
    auto* genre = s.Find<QComboBox>("cboGenre");
    genre->setFocus();
    genre->lineEdit()->selectAll();
    QTest::keyClicks(genre->lineEdit(), QStringLiteral("Polka"));
    // Enter is OK; the genre box's own check runs first and adds the typed genre.
    QTest::keyClick(genre->lineEdit(), Qt::Key_Return);
    QVERIFY2(s.fx.dialogs.messages.empty(),
             s.fx.dialogs.messages.empty() ? "" : s.fx.dialogs.messages[0].text.c_str());
    QVERIFY(s.window->isHidden());
    QCOMPARE(s.fx.state.List.Size(), std::size_t{4});
    QCOMPARE(s.listChanges, std::vector<int>{4});
    QCOMPARE(genre->itemText(genre->count() - 1), QStringLiteral("Polka"));
    const Row& row = s.fx.state.List[static_cast<std::size_t>(s.fx.state.List.FindByRecord(4))];
    QCOMPARE(row.Cell(col::kGenre), std::string("Polka"));
    QCOMPARE(row.Cell(col::kMusic), std::string("Song 1"));
  }

  void failedChecksKeepTheWindowOpen() {
    Session s;
    s.Click(1);
    s.window->StartAddRecord();
    s.Find<QLineEdit>("txtMusic")->clear();
    s.fx.state.Editor.txtMusic.clear();
    s.Find<QPushButton>("cmdOK")->click();
    QCOMPARE(s.fx.dialogs.Texts(),
             std::vector<std::string>{"All entries must have a Music(song name)"});
    QVERIFY(s.window->isVisible());
    QVERIFY(s.listChanges.empty());

    // Enter in the tempo box checks the tempo before OK.
    QTest::keyClicks(s.Find<QLineEdit>("txtMusic"), QStringLiteral("Name"));
    auto* tempo = s.Find<QLineEdit>("txtTempo");
    tempo->setFocus();
    tempo->selectAll();
    QTest::keyClicks(tempo, QStringLiteral("300"));
    QTest::keyClick(tempo, Qt::Key_Return);
    QCOMPARE(s.fx.dialogs.Texts().back(), std::string("Tempo must be between 32 and 280"));
    QVERIFY(s.window->isVisible());
    QCOMPARE(s.fx.state.List.Size(), std::size_t{3});
  }

  void mediaControlsFollowTheTarget() {
    Session s;
    s.fx.state.TargetInstrument = "TYROS 5";
    s.window->ShowEditor();
    QVERIFY(s.Find<QPushButton>("cmdBrowse")->isVisible());
    QVERIFY(s.Find<QPushButton>("cmdBrowse2")->isVisible());
    QVERIFY(s.Find<QLabel>("Label12")->isVisible());
    s.fx.state.TargetInstrument = "PSR-S970";
    s.window->ShowEditor();
    QVERIFY(s.Find<QPushButton>("cmdBrowse")->isVisible());
    QVERIFY(!s.Find<QPushButton>("cmdBrowse2")->isVisible());
    s.fx.state.TargetInstrument = "PSR-2000";
    s.window->ShowEditor();
    QVERIFY(!s.Find<QPushButton>("cmdBrowse")->isVisible());
    QVERIFY(!s.Find<QLabel>("lblSelectedFile")->isVisible());
    QVERIFY(!s.Find<QLabel>("Label12")->isVisible());
  }

  void browseShowsTheReferenceAndDisablesTiming() {
    Session s;
    s.fx.state.TargetInstrument = "TYROS 5";
    s.window->SetVolumeRootOf([](const std::string&) { return std::string("/media/stick"); });
    s.Click(1);
    s.window->StartModifyRecord();
    s.fx.dialogs.QueueFile("/media/stick/Songs/Hit.wav");
    s.Find<QPushButton>("cmdBrowse2")->click();
    QCOMPARE(s.Find<QLabel>("lblSelectedFile")->text(), QStringLiteral("HD:/Songs/Hit.wav"));
    QCOMPARE(s.Find<QComboBox>("cboStyle")->currentIndex(), -1);
    QVERIFY(!s.Find<QRadioButton>("opt44")->isEnabled());
    QVERIFY(!s.Find<QLineEdit>("txtTempo")->isEnabled());
    QVERIFY(s.Find<QComboBox>("cboIntro")->isEnabled());
    QCOMPARE(s.fx.dialogs.messages.size(), std::size_t{1});  // the storage-mode notice
    const QString shot = qEnvironmentVariable("CADENZO_SCREENSHOT");
    if (!shot.isEmpty()) QVERIFY(s.window->grab().save(shot));
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::EditWindowTest)
#include "edit_window_test.moc"
