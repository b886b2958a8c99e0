// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "midi/midi_file.h"
#include "midi/sysex_template.h"
#include "support/builders.h"
#include "support/recording_midi_port.h"
#include "support/scripted_dialogs.h"
#include "ui/midi_connection.h"

namespace cadenzo {

class MidiDeviceTest : public QObject {
  Q_OBJECT

  struct Fixture {
    AppState state;
    testing::ScriptedDialogs dialogs;
    testing::RecordingMidiPort* port = nullptr;
    std::unique_ptr<MidiConnection> connection;

    explicit Fixture(std::vector<std::string> names = {"Port A", "Port B"}) {
      auto owned = std::make_unique<testing::RecordingMidiPort>(std::move(names));
      port = owned.get();
      connection = std::make_unique<MidiConnection>(state, dialogs, nullptr, std::move(owned),
                                                    testing::FakeSleep(*port));
    }
  };

 private slots:
  void showsTheOutputsWithNothingChosen() {
    Fixture f;
    QCOMPARE(f.connection->DeviceWindow(), nullptr);
    MidiDeviceWindow& window = f.connection->ShowMidiDeviceWindow();
    QCOMPARE(window.objectName(), QStringLiteral("frmMidiDevice"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Select Midi Driver"));
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
    auto* frame = window.findChild<QGroupBox*>(QStringLiteral("Frame5"));
    QVERIFY(frame != nullptr);
    QCOMPARE(frame->title(), QStringLiteral("Midi connection to your instrument "));
    auto* list = window.findChild<QComboBox*>(QStringLiteral("cboMidiDevice"));
    QVERIFY(list != nullptr);
    QCOMPARE(list->placeholderText(), QStringLiteral("Select"));
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(1), QStringLiteral("Port B"));
    QCOMPARE(list->itemData(1).toInt(), 1);
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmkOk"));
    QVERIFY(ok != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(f.state.MidiDeviceIndex, -1);
    const auto* none = window.findChild<QLabel*>(QStringLiteral("lblNoDevice"));
    QVERIFY(none == nullptr || !none->isVisible());
  }

  void theChoiceSurvivesHidingAndTheListIsBuiltOnce() {
    Fixture f;
    MidiDeviceWindow& window = f.connection->ShowMidiDeviceWindow();
    window.DeviceList()->setCurrentIndex(1);
    QCOMPARE(f.state.MidiDeviceIndex, 1);
    QCOMPARE(f.state.MidiDeviceName, std::string("Port B"));
    window.findChild<QPushButton*>(QStringLiteral("cmkOk"))->click();
    QVERIFY(!window.isVisible());

    f.port->SetNames({"Port A", "Port B", "Port C"});
    MidiDeviceWindow& again = f.connection->ShowMidiDeviceWindow();
    QCOMPARE(&again, &window);
    QVERIFY(again.isVisible());
    QCOMPARE(again.DeviceList()->count(), 2);
    QCOMPARE(again.DeviceList()->currentIndex(), 1);
    QCOMPARE(f.state.MidiDeviceIndex, 1);
  }

  void withoutOutputsTheSendAsksForAChoice() {
    Fixture f(std::vector<std::string>{});
    MidiDeviceWindow& window = f.connection->ShowMidiDeviceWindow();
    QCOMPARE(window.DeviceList()->count(), 0);
    // The window says why there is nothing to choose instead of showing an empty list.
    QVERIFY(!window.DeviceList()->isVisible());
    const auto* none = window.findChild<QLabel*>(QStringLiteral("lblNoDevice"));
    QVERIFY(none != nullptr);
    QVERIFY(none->isVisible());
    QVERIFY(none->text().startsWith(QStringLiteral("No MIDI output found.")));
    f.state.FileName = "Songs.mfd";
    f.state.SelectedStyleText = "Big Band";
    f.connection->SendSelectedRecord();
    QCOMPARE(f.dialogs.Texts(), std::vector<std::string>{kNoMidiDeviceText});
  }

  void sendsTheSelectedRecordToTheChosenOutputAndReleases() {
    testing::TempDir app;
    app.Write(kSysExTemplateName, WriteMidiFile(MakeSysExTemplate()));
    app.Write("PSR-S970.dat", std::string("Big Band;0300\r\n"));
    Fixture f;
    f.state.AppPath = app.Str();
    f.state.FileName = "Songs.mfd";
    f.state.TargetInstrument = "PSR-S970";
    f.state.SelectedStyleText = "Big Band";
    f.state.SelectedTempo = 120;
    f.state.SelectedIntroCode = -1;
    f.state.SelectedNextCode = -1;
    f.connection->ShowMidiDeviceWindow().DeviceList()->setCurrentIndex(1);
    f.connection->SendSelectedRecord();
    QVERIFY(f.connection->Link().MidiFileHandle() != nullptr);
    f.connection->Link().MidiFileHandle()->WaitUntilIdle();
    QVERIFY(f.dialogs.messages.empty());
    const auto sent = f.port->SentMessages();
    QCOMPARE(sent.size(), std::size_t{17});
    QCOMPARE(sent.front().device, 1);
    QCOMPARE(sent.front().bytes[12], std::uint8_t{0x2C});
    f.connection->Release();
    QCOMPARE(f.connection->Link().MidiFileHandle(), nullptr);
    QVERIFY(!f.port->IsOpen());
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::MidiDeviceTest)
#include "midi_device_test.moc"
