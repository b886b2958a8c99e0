// SPDX-License-Identifier: GPL-3.0-or-later
// A damaged MIDI template in the application folder: sending a record reports it under
// "SetPSR", sends nothing, and leaves the template as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "midi/midi_file.h"
#include "midi/send_to_instrument.h"
#include "midi/sysex_template.h"
#include "support/builders.h"
#include "support/recording_midi_port.h"
#include "support/scripted_dialogs.h"

namespace cadenzo {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct TemplateCase {
  const char* name;
  Bytes bytes;
  const char* what;  // the reader's description after "Invalid MIDI file: "
};

void PrintTo(const TemplateCase& c, std::ostream* out) { *out << c.name; }

Bytes Template() { return WriteMidiFile(MakeSysExTemplate()); }

// The shipped template with one 32-bit length replaced.
Bytes WithLength(std::size_t at, std::uint32_t length) {
  Bytes bytes = Template();
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
  return bytes;
}

class HostileTemplate : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(HostileTemplate, IsReportedAndNothingIsSent) {
  const TemplateCase& c = GetParam();
  testing::TempDir app;
  const auto path = app.Write(kSysExTemplateName, c.bytes);
  app.Write("PSR-S970.dat", std::string("# list\r\nBig Band;0300\r\n"));
  AppState state;
  state.FileName = "Songs.mfd";
  state.AppPath = app.Str();
  state.TargetInstrument = "PSR-S970";
  state.SelectedStyleText = "Big Band";
  state.SelectedTempo = 120;
  state.MidiDeviceIndex = 0;
  state.MidiDeviceName = "Port A";
  testing::ScriptedDialogs dialogs;
  testing::RecordingMidiPort port;
  InstrumentLink link(port, testing::FakeSleep(port));

  ASSERT_NO_THROW(SetPSR(state, dialogs, link));
  if (link.MidiFileHandle() != nullptr) link.MidiFileHandle()->WaitUntilIdle();

  EXPECT_EQ(dialogs.Texts(),
            std::vector<std::string>{std::string("Error #: 5, Invalid MIDI file: ") + c.what +
                                     ", encountered in Function SetPSR. If the solution is not "
                                     "obvious, please report this to the author."});
  EXPECT_TRUE(port.SentBytes().empty());
  EXPECT_EQ(testing::ReadText(path), std::string(c.bytes.begin(), c.bytes.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Templates, HostileTemplate,
    ::testing::Values(TemplateCase{"Empty", {}, "no MThd header"},
                      TemplateCase{"HeaderLengthPastTheEnd", WithLength(4, 0xFFFFFFF0),
                                   "the header length runs past the end"},
                      TemplateCase{"TrackLengthPastTheEnd", WithLength(18, 0x7FFFFFFF),
                                   "the length of track 1 of 1 runs past the end"},
                      TemplateCase{"TrackShorterThanItsEvents", WithLength(18, 4),
                                   "an event length in track 1 runs past its end"},
                      TemplateCase{"CutInsideTheTrack",
                                   [] {
                                     Bytes b = Template();
                                     b.resize(b.size() - 3);
                                     return b;
                                   }(),
                                   "the length of track 1 of 1 runs past the end"}),
    [](const ::testing::TestParamInfo<TemplateCase>& info) {
      return std::string(info.param.name);
    });

// A template that is a device without end is refused at the reader's size limit.
TEST(HostileTemplateFile, AnEndlessDeviceIsRefusedAtTheSizeLimit) {
  if (!std::filesystem::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero";
  try {
    LoadMidiFile("/dev/zero");
    ADD_FAILURE() << "read";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Description(), "Invalid MIDI file: larger than 16 MiB");
  }
}

}  // namespace
}  // namespace cadenzo
