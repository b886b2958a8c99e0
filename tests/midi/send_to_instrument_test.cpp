// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/send_to_instrument.h"

#include <gtest/gtest.h>

#include "midi/midi_file.h"
#include "midi/sysex_template.h"
#include "support/builders.h"
#include "support/recording_midi_port.h"
#include "support/scripted_dialogs.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::microseconds;

class SetPSRTest : public ::testing::Test {
 protected:
  SetPSRTest() {
    app_.Write(kSysExTemplateName, WriteMidiFile(MakeSysExTemplate()));
    const std::string styles =
        "# name;number\r\n"
        "Cool 8Beat;0012\r\n"
        "Big Band;0300\r\n"
        "Zero;0000\r\n"
        "Bad Number;12x\r\n"
        "Too Large;20000\r\n";
    app_.Write("PSR-S970.dat", styles);
    app_.Write("TYROS.dat", styles);
    state_.FileName = "Songs.mfd";
    state_.AppPath = app_.Str();
    state_.TargetInstrument = "PSR-S970";
    state_.SelectedStyleText = "Big Band";
    state_.SelectedTempo = 120;
    state_.SelectedIntroCode = -1;
    state_.SelectedNextCode = 9;
    state_.MidiDeviceIndex = 1;
    state_.MidiDeviceName = "Port B";
  }

  void Send() {
    SetPSR(state_, dialogs_, link_);
    if (link_.MidiFileHandle()) link_.MidiFileHandle()->WaitUntilIdle();
  }

  // The sequence for a row: style, the fifteen sections off, the sections on, the tempo.
  static std::vector<Bytes> Expected(Bytes style, std::vector<std::uint8_t> on, Bytes tempo) {
    std::vector<Bytes> out = {std::move(style)};
    for (const std::uint8_t s : {0x00, 0x01, 0x02, 0x08, 0x09, 0x0A, 0x0B, 0x10, 0x11, 0x12, 0x13,
                                 0x18, 0x20, 0x21, 0x22}) {
      out.push_back({0xF0, 0x43, 0x7E, 0x00, s, 0x00, 0xF7});
    }
    for (const std::uint8_t s : on) out.push_back({0xF0, 0x43, 0x7E, 0x00, s, 0x7F, 0xF7});
    out.push_back(std::move(tempo));
    return out;
  }

  testing::TempDir app_;
  AppState state_;
  testing::ScriptedDialogs dialogs_;
  testing::RecordingMidiPort port_;
  InstrumentLink link_{port_, testing::FakeSleep(port_)};
};

const Bytes kBigBandLong = {0xF0, 0x43, 0x73, 0x01, 0x51, 0x05, 0x00,
                            0x03, 0x04, 0x00, 0x00, 0x02, 0x2C, 0xF7};
const Bytes kTempo120 = {0xF0, 0x43, 0x7E, 0x01, 0x00, 0x1E, 0x42, 0x20, 0xF7};

TEST_F(SetPSRTest, SendsStyleSectionsAndTempoAtTheirTimesOnTheChosenOutput) {
  Send();
  EXPECT_TRUE(dialogs_.messages.empty());
  const auto sent = port_.SentMessages();
  std::vector<Bytes> bytes;
  for (const auto& s : sent) bytes.push_back(s.bytes);
  // Intro "Off", Next Section "Main B": one section switched on, 09.
  EXPECT_EQ(bytes, Expected(kBigBandLong, {0x09}, kTempo120));
  ASSERT_EQ(sent.size(), 18u);
  EXPECT_EQ(sent.front().at, microseconds(0));
  for (std::size_t i = 1; i < 17; ++i) EXPECT_EQ(sent[i].at, microseconds(250000)) << i;
  EXPECT_EQ(sent.back().at, microseconds(500000));
  for (const auto& s : sent) EXPECT_EQ(s.device, 1);
}

TEST_F(SetPSRTest, NextSectionGoesOnBeforeTheIntro) {
  state_.SelectedIntroCode = 2;
  state_.SelectedNextCode = 33;
  state_.SelectedTempo = 60;
  Send();
  EXPECT_EQ(port_.SentBytes(), Expected(kBigBandLong, {33, 2},
                                        {0xF0, 0x43, 0x7E, 0x01, 0x00, 0x3D, 0x04, 0x40, 0xF7}));
}

TEST_F(SetPSRTest, NoSectionOnWhenBothAreOff) {
  state_.SelectedNextCode = -1;
  Send();
  EXPECT_EQ(port_.SentBytes(), Expected(kBigBandLong, {}, kTempo120));
}

TEST_F(SetPSRTest, StyleMessageFollowsTheTargetsGroup) {
  state_.TargetInstrument = "TYROS";
  Send();
  const auto sent = port_.SentBytes();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), (Bytes{0xF0, 0x43, 0x73, 0x01, 0x11, 0x00, 0x16, 0x02, 0x2C, 0xF7}));
}

TEST_F(SetPSRTest, FindsTheStyleWhateverItsBlanksAndCase) {
  struct Case {
    const char* text;
    std::uint8_t lo;
  };
  for (const Case& c : {Case{"Big  Band", 0x2C}, Case{"BIGBAND", 0x2C}, Case{" big band ", 0x2C},
                        Case{"Cool8beat", 12}, Case{"COOL 8 BEAT", 12}, Case{"Zero", 0}}) {
    port_.now = microseconds(0);
    const std::size_t before = port_.SentBytes().size();
    state_.SelectedStyleText = c.text;
    Send();
    const auto sent = port_.SentBytes();
    ASSERT_EQ(sent.size(), before + 18) << c.text;
    EXPECT_EQ(sent[before][12], c.lo) << c.text;
  }
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(SetPSRTest, AStyleTheTargetLacksSendsNothingAndSaysNothing) {
  for (const char* text : {"USB:\\Songs\\Big Band.mid", "Missing Style", "-1"}) {
    state_.SelectedStyleText = text;
    Send();
  }
  EXPECT_TRUE(port_.SentBytes().empty());
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(SetPSRTest, ChecksComeInOrderAndEachEndsTheCommand) {
  struct Case {
    std::string fileName;
    std::string style;
    int device;
    bool deviceFails;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"", "", -1, true, kNoFileOpenText},
      {"Songs.mfd", "", -1, true, kNoEntrySelectedText},
      {"Songs.mfd", "Big Band", -1, true, kNoMidiDeviceText},
      {"Songs.mfd", "Big Band", 1, true, kMidiDeviceFailedText},
  };
  for (const Case& c : cases) {
    testing::ScriptedDialogs dialogs;
    testing::RecordingMidiPort port;
    if (c.deviceFails) port.failing = {1};
    InstrumentLink link(port, testing::FakeSleep(port));
    state_.FileName = c.fileName;
    state_.SelectedStyleText = c.style;
    state_.MidiDeviceIndex = c.device;
    SetPSR(state_, dialogs, link);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.text});
    EXPECT_NE(link.MidiFileHandle(), nullptr) << "the object is made before the checks";
    EXPECT_TRUE(port.SentBytes().empty());
  }
}

TEST_F(SetPSRTest, PressingTwiceSendsTwiceWithOneObject) {
  Send();
  const MidiFilePlayer* first = link_.MidiFileHandle();
  Send();
  EXPECT_EQ(link_.MidiFileHandle(), first);
  const auto once = Expected(kBigBandLong, {0x09}, kTempo120);
  auto twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(port_.SentBytes(), twice);
  EXPECT_EQ(port_.opens, 1);
  link_.Free();
  EXPECT_EQ(link_.MidiFileHandle(), nullptr);
  EXPECT_FALSE(port_.IsOpen());
}

TEST_F(SetPSRTest, ValuesThatCannotBeSentAreReportedAsSetPSR) {
  struct Case {
    const char* style;
    int tempo;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"Big Band", 0, "Error #: 11, Division by zero, encountered in Function SetPSR."},
      {"Big Band", 20,
       "Error #: 6, Overflow: tempo 20 cannot be sent to the instrument, "
       "encountered in Function SetPSR."},
      {"Too Large", 120,
       "Error #: 6, Overflow: style number 20000 cannot be sent to the "
       "instrument, encountered in Function SetPSR."},
      {"Bad Number", 120, "Error #: 13, Type mismatch, encountered in Function SetPSR."},
  };
  for (const Case& c : cases) {
    testing::ScriptedDialogs dialogs;
    state_.SelectedStyleText = c.style;
    state_.SelectedTempo = static_cast<std::int16_t>(c.tempo);
    SetPSR(state_, dialogs, link_);
    ASSERT_EQ(dialogs.Texts().size(), 1u) << c.style;
    EXPECT_EQ(dialogs.Texts()[0].rfind(c.text, 0), 0u) << dialogs.Texts()[0];
  }
  link_.MidiFileHandle()->WaitUntilIdle();
  EXPECT_TRUE(port_.SentBytes().empty());
}

TEST_F(SetPSRTest, AMissingTemplateIsReported) {
  std::filesystem::remove(app_.Path() / kSysExTemplateName);
  Send();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"This file is Not found."});
  EXPECT_TRUE(port_.SentBytes().empty());
}

TEST_F(SetPSRTest, AFailedSendingIsToldOnceAndTheNextSendReopens) {
  port_.failSends = true;
  Send();
  EXPECT_TRUE(dialogs_.messages.empty());  // the worker shows nothing itself
  port_.failSends = false;
  Send();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"That device appears unavailable."});
  Send();
  EXPECT_EQ(port_.SentBytes(), Expected(kBigBandLong, {0x09}, kTempo120));
  EXPECT_EQ(port_.opens, 2);
}

}  // namespace
}  // namespace cadenzo
