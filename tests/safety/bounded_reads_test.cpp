// SPDX-License-Identifier: GPL-3.0-or-later
// Reads that stay bounded whatever the files hold: a file-reference block whose paths lack their
// zero bytes is read in linear work, and every file the program reads whole is refused above the
// size its kind can have, with a message that names it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "midi/midi_file.h"
#include "midi/send_to_instrument.h"
#include "midi/sysex_template.h"
#include "support/app_fixture.h"
#include "support/recording_midi_port.h"
#include "textio/info_views.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;
using Bytes = std::vector<std::uint8_t>;

// One record, then a block of `size` bytes of chunks without a zero byte anywhere: k = 0x0101,
// position 0x0101, type 1 and 254 path bytes each. A path may only run to its chunk's end.
constexpr std::size_t kChunkSize = 6 + 0x0101;
constexpr std::size_t kPathInChunk = 0x0101 - 3;

Bytes UnterminatedBlock(std::size_t size) {
  Bytes bytes = FileBuilder{.records = {RecordBuilder{.style = 12}}}.Build();
  for (const char c : std::string("FPhd\x01\x01\x01\x01")) bytes.push_back(static_cast<uint8_t>(c));
  const std::size_t chunks = size / kChunkSize;
  bytes.reserve(bytes.size() + chunks * kChunkSize);
  for (std::size_t i = 0; i < chunks; ++i) {
    for (const char c : std::string("FPdt\x01\x01\x01\x01\x01")) {
      bytes.push_back(static_cast<std::uint8_t>(c));
    }
    bytes.insert(bytes.end(), kPathInChunk, static_cast<std::uint8_t>('a' + i % 26));
  }
  return bytes;
}

class UnterminatedPaths : public ::testing::TestWithParam<std::size_t> {};

TEST_P(UnterminatedPaths, EndAtTheirChunkSoTheWorkIsLinear) {
  const Bytes bytes = UnterminatedBlock(GetParam());
  const auto refs = ReadFileReferenceBlock(bytes, 1);
  ASSERT_EQ(refs.size(), GetParam() / kChunkSize);
  const std::size_t pathBytes = std::accumulate(
      refs.begin(), refs.end(), std::size_t{0},
      [](std::size_t sum, const FileReference& ref) { return sum + ref.path.size(); });
  EXPECT_LE(pathBytes, bytes.size());
  for (std::size_t i = 0; i < refs.size(); ++i) {
    ASSERT_EQ(refs[i].path, std::string(kPathInChunk, static_cast<char>('a' + i % 26))) << i;
  }

  // The open procedure reads it too: the record keeps its style, no chunk belongs to a row.
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Pop Rock", "12"}});
  fx.PutFile("block.mfd", bytes);
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_TRUE(fx.state.FileLoaded);
  EXPECT_TRUE(fx.dialogs.Texts().empty());
  ASSERT_EQ(fx.state.List.Size(), 1u);
  EXPECT_EQ(fx.state.List[0].Cell(col::kStyle), "Pop Rock");
}

INSTANTIATE_TEST_SUITE_P(Sizes, UnterminatedPaths,
                         ::testing::Values(std::size_t{1} << 20, std::size_t{4} << 20),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           return std::to_string(info.param >> 20) + "MiB";
                         });

// Where a path ends: its zero byte or its chunk's end, whichever comes first, and never past
// the file.
TEST(FileReferencePath, EndsAtItsZeroOrItsChunk) {
  struct Case {
    const char* name;
    int k;
    std::string body;  // the bytes after the type byte, up to the end of the file
    std::string path;
  };
  const Case cases[] = {
      {"zero inside the chunk", 9, std::string("ab\0cdef", 7) + "FPed", "ab"},
      {"chunk ends first", 5, "abcdefgh", "ab"},
      {"chunk ends before its path", 1, "abcdefgh", ""},
      {"file ends first", 200, "abc", "abc"},
  };
  for (const Case& c : cases) {
    Bytes bytes = FileBuilder{}.Build();
    const std::string head("FPhd\0\0\0\0FPdt", 12);
    bytes.insert(bytes.end(), head.begin(), head.end());
    AppendU16(bytes, static_cast<std::uint16_t>(c.k));
    AppendU16(bytes, 0);
    bytes.push_back(1);
    bytes.insert(bytes.end(), c.body.begin(), c.body.end());
    const auto refs = ReadFileReferenceBlock(bytes, 0);
    ASSERT_FALSE(refs.empty()) << c.name;
    EXPECT_EQ(refs.front().path, c.path) << c.name;
  }
}

// Every file read whole, just above its limit: refused with a message that names it, and
// nothing done with it.
struct LimitCase {
  const char* name;
  const char* file;                                           // under the fixture's folder
  std::size_t size;                                           // the limit of its kind
  std::function<std::vector<std::string>(AppFixture&)> read;  // the messages shown
  std::string message;
};

void PrintTo(const LimitCase& c, std::ostream* out) { *out << c.name; }

// Sends the selected record to a recording port; the bytes sent go to `sent`.
std::vector<std::string> SendRecord(AppFixture& fx, std::size_t* sent) {
  fx.state.FileName = "Songs.mfd";
  fx.state.TargetInstrument = "PSR-S970";
  fx.state.SelectedStyleText = "Big Band";
  fx.state.SelectedTempo = 120;
  fx.state.MidiDeviceIndex = 0;
  fx.state.MidiDeviceName = "Port A";
  testing::RecordingMidiPort port;
  InstrumentLink link(port, testing::FakeSleep(port));
  SetPSR(fx.state, fx.dialogs, link);
  if (link.MidiFileHandle() != nullptr) link.MidiFileHandle()->WaitUntilIdle();
  *sent = port.SentBytes().size();
  return fx.dialogs.Texts();
}

std::string SetPsrError(const std::string& description) {
  return "Error #: 7, " + description +
         ", encountered in Function SetPSR. If the solution is not obvious, please report this "
         "to the author.";
}

class SizeLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(SizeLimit, RefusesAFileAboveItsKindsSize) {
  const LimitCase& c = GetParam();
  AppFixture fx;
  fx.dir.Write("app/" + std::string(kSysExTemplateName), WriteMidiFile(MakeSysExTemplate()));
  fx.dir.Write("app/PSR-S970.dat", std::string("# list\r\nBig Band;0300\r\n"));
  // A valid beginning, then a hole up to one byte above the limit.
  const fs::path path = fx.dir.Path() / c.file;
  if (!fs::exists(path)) fx.dir.Write(c.file, std::string("Song;Style\r\n"));
  fs::resize_file(path, c.size + 1);
  EXPECT_EQ(c.read(fx), std::vector<std::string>{c.message});

  // At the limit itself the file is not refused for its size (the documents of the size of a
  // limit are not laid out here: the limit of every kind is the same shared check).
  if (c.size > (std::size_t{4} << 20)) return;
  fx.dialogs.messages.clear();
  fs::resize_file(path, c.size);
  for (const std::string& text : c.read(fx)) EXPECT_NE(text, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SizeLimit,
    ::testing::Values(
        LimitCase{"MidiTemplate", "app/sysex2.mid", std::size_t{64} << 10,
                  [](AppFixture& fx) {
                    std::size_t sent = 0;
                    auto texts = SendRecord(fx, &sent);
                    if (!texts.empty()) {
                      EXPECT_EQ(sent, 0u);
                    }
                    return texts;
                  },
                  SetPsrError("sysex2.mid is larger than 64 KiB")},
        LimitCase{"StyleListOfTheStyleNumbers", "app/PSR-S970.dat", std::size_t{4} << 20,
                  [](AppFixture& fx) {
                    std::size_t sent = 0;
                    auto texts = SendRecord(fx, &sent);
                    if (!texts.empty()) {
                      EXPECT_EQ(sent, 0u);
                    }
                    // The message names the list by its full path, which differs every run.
                    for (std::string& text : texts) {
                      if (text.starts_with("Error #: 5, The style list ") &&
                          text.find("PSR-S970.dat cannot be read: it is larger than") !=
                              std::string::npos &&
                          text.find("in Function SetPSR.") != std::string::npos) {
                        text = "refused for its size";
                      }
                    }
                    return texts;
                  },
                  "refused for its size"},
        LimitCase{"QuickStartGuide", "app/QuickStartGuide.rtf", std::size_t{16} << 20,
                  [](AppFixture& fx) {
                    (void)LoadInfoFile(QuickStartGuideView(fx.state.AppPath), fx.dialogs);
                    return fx.dialogs.Texts();
                  },
                  "The Information File QuickStartGuide.rtf is larger than 16 MiB and is not "
                  "shown."},
        LimitCase{"ConversionLog", "user/ExportLog.txt", std::size_t{16} << 20,
                  [](AppFixture& fx) {
                    (void)LoadInfoFile(ConversionLogView(fx.state.UserFolder), fx.dialogs);
                    return fx.dialogs.Texts();
                  },
                  "The Information File ExportLog.txt is larger than 16 MiB and is not shown."},
        LimitCase{"ImportLog", "user/ImportLog.txt", std::size_t{16} << 20,
                  [](AppFixture& fx) {
                    const ImportLogDisplay view = Presented(LoadImportLog(fx.state), fx.dialogs);
                    if (!fx.dialogs.messages.empty()) {
                      EXPECT_FALSE(view.text.has_value());
                    }
                    return fx.dialogs.Texts();
                  },
                  "The Information File ImportLog.txt is larger than 16 MiB and is not shown."}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadenzo
