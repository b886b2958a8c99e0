// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/midi_file.h"

#include <gtest/gtest.h>

#include <random>

#include "app/runtime_error.h"
#include "midi/sysex_template.h"
#include "support/builders.h"

namespace cadenzo {
namespace {

using Bytes = std::vector<std::uint8_t>;

MidiEvent Channel(std::uint32_t tick, std::uint8_t status, Bytes data) {
  return MidiEvent{.tick = tick, .status = status, .data = std::move(data)};
}
MidiEvent Meta(std::uint32_t tick, std::uint8_t type, Bytes data) {
  return MidiEvent{.tick = tick, .status = 0xFF, .metaType = type, .data = std::move(data)};
}
MidiEvent SysEx(std::uint32_t tick, Bytes afterF0) {
  return MidiEvent{.tick = tick, .status = 0xF0, .data = std::move(afterF0)};
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A header chunk followed by the given chunks' raw bytes.
Bytes FileBytes(std::uint16_t format, std::uint16_t tracks, std::uint16_t division,
                const Bytes& rest) {
  Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  for (const std::uint16_t v : {format, tracks, division}) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
  }
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}
Bytes Track(const Bytes& body) {
  Bytes out = {'M', 'T', 'r', 'k'};
  const auto n = static_cast<std::uint32_t>(body.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(n >> s));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

TEST(VarLenTest, EncodesAndDecodesTheEdgeValues) {
  struct Case {
    std::uint32_t value;
    Bytes bytes;
  };
  const std::vector<Case> cases = {{0, {0x00}},
                                   {0x7F, {0x7F}},
                                   {0x80, {0x81, 0x00}},
                                   {0x3FFF, {0xFF, 0x7F}},
                                   {0x4000, {0x81, 0x80, 0x00}},
                                   {0x200000, {0x81, 0x80, 0x80, 0x00}},
                                   {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}};
  for (const Case& c : cases) {
    Bytes out;
    AppendVarLen(out, c.value);
    EXPECT_EQ(out, c.bytes) << c.value;
    std::size_t pos = 0;
    EXPECT_EQ(ReadVarLen(c.bytes, pos, c.bytes.size()), c.value);
    EXPECT_EQ(pos, c.bytes.size());
  }
}

TEST(VarLenTest, RefusesWhatCannotBeAVariableLengthNumber) {
  Bytes out;
  EXPECT_THROW(AppendVarLen(out, 0x10000000), RuntimeError);
  const Bytes fiveBytes = {0x81, 0x80, 0x80, 0x80, 0x00};
  const Bytes unfinished = {0x81, 0x80};
  std::size_t pos = 0;
  EXPECT_THROW(ReadVarLen(fiveBytes, pos, fiveBytes.size()), RuntimeError);
  pos = 0;
  EXPECT_THROW(ReadVarLen(unfinished, pos, unfinished.size()), RuntimeError);
  pos = 0;  // the end given stops the read even where the buffer goes on
  EXPECT_THROW(ReadVarLen(fiveBytes, pos, 1), RuntimeError);
}

TEST(MidiFileTest, WriteThenReadGivesTheSameFile) {
  MidiFile file;
  file.format = 1;
  file.division = 96;
  file.tracks.resize(2);
  file.tracks[0].events = {Meta(0, 0x51, {0x07, 0xA1, 0x20}), Meta(0, 0x03, {'T', 'e', 'm', 'p'}),
                           Meta(384, 0x2F, {})};
  file.tracks[1].events = {Channel(0, 0xC0, {5}),
                           Channel(0, 0x90, {60, 100}),
                           Channel(96, 0x90, {60, 0}),
                           Channel(96, 0x90, {64, 90}),
                           SysEx(200, {0x43, 0x7E, 0x00, 0x09, 0x7F, 0xF7}),
                           Channel(200, 0x90, {64, 0}),
                           MidiEvent{.tick = 20000, .status = 0xF7, .data = {0xF0, 0x01}},
                           Channel(20000, 0xE3, {0x00, 0x40}),
                           Meta(20000, 0x2F, {})};
  EXPECT_EQ(ReadMidiFile(WriteMidiFile(file)), file);
}

TEST(MidiFileTest, WritesRunningStatusOnlyBetweenEqualChannelStatuses) {
  MidiFile file;
  file.tracks.resize(1);
  file.tracks[0].events = {Channel(0, 0x90, {60, 100}), Channel(0, 0x90, {64, 100}),
                           Meta(0, 0x01, {'x'}), Channel(0, 0x90, {67, 100}),
                           Channel(10, 0x80, {67, 0})};
  const Bytes expected = FileBytes(0, 1, 480, Track({0x00, 0x90, 60,   100,        //
                                                     0x00, 64,   100,              // running status
                                                     0x00, 0xFF, 0x01, 0x01, 'x',  //
                                                     0x00, 0x90, 67,   100,        // status again
                                                     0x0A, 0x80, 67,   0,          //
                                                     0x00, 0xFF, 0x2F, 0x00}));    // end added
  EXPECT_EQ(WriteMidiFile(file), expected);
}

TEST(MidiFileTest, ReadsRunningStatusUnknownChunksAndTracksWithoutAnEnd) {
  const Bytes bytes = FileBytes(
      1, 2, 0xE728,                               // 25 frames per second, 40 ticks per frame
      Track({0x00, 0xC1, 0x07,                    // program change, one data byte
             0x05, 0x08,                          // running status
             0x00, 0xFF, 0x7F, 0x00,              // a meta event keeps running status
             0x81, 0x00, 0x09,                    // delta 128, running status again
             0x00, 0xF0, 0x03, 0x43, 0x10, 0xF7,  // SysEx with its length
             0x00, 0xFF, 0x2F, 0x00,              // end of track
             0x00, 0x90, 0x3C}) +                 // after the end: ignored
          Bytes{'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 0xAA, 0xBB} +  // an unknown chunk is skipped
          Track({0x10, 0x90, 0x3C, 0x40}));                    // no end of track
  const MidiFile file = ReadMidiFile(bytes);
  ASSERT_EQ(file.tracks.size(), 2u);
  EXPECT_EQ(file.division, 0xE728);
  const std::vector<MidiEvent> first = {
      Channel(0, 0xC1, {7}),   Channel(5, 0xC1, {8}),          Meta(5, 0x7F, {}),
      Channel(133, 0xC1, {9}), SysEx(133, {0x43, 0x10, 0xF7}), Meta(133, 0x2F, {})};
  EXPECT_EQ(file.tracks[0].events, first);
  EXPECT_EQ(file.tracks[1].events, (std::vector<MidiEvent>{Channel(16, 0x90, {0x3C, 0x40})}));
}

// Seventeen events each 0FFFFFFF ticks after the one before: past the last tick a file can name.
Bytes ManyLongDeltas() {
  Bytes body;
  for (int i = 0; i < 17; ++i) body = body + Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00};
  return body;
}

TEST(MidiFileTest, HostileInputsGiveAClearErrorAndNothingElse) {
  const Bytes endOnly = Track({0x00, 0xFF, 0x2F, 0x00});
  struct Case {
    const char* name;
    Bytes bytes;
    const char* says;
  };
  Bytes lyingLength = FileBytes(0, 1, 96, endOnly);
  lyingLength[21] = 0x40;  // the track claims 64 bytes, 4 remain
  Bytes hugeHeader = FileBytes(0, 1, 96, endOnly);
  hugeHeader[4] = 0xFF;
  const std::vector<Case> cases = {
      {"empty", {}, "no MThd"},
      {"other file", {'R', 'I', 'F', 'F', 0, 0, 0, 4, 1, 2, 3, 4, 5, 6}, "no MThd"},
      {"header only", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}, "header is cut short"},
      {"short header length",
       {'M', 'T', 'h', 'd', 0, 0, 0, 5, 0, 0, 0, 1, 0, 96, 0},
       "header is cut short"},
      {"header length past the end", hugeHeader, "header length runs past the end"},
      {"zero tracks", FileBytes(1, 0, 96, {}), "no tracks"},
      {"format 2", FileBytes(2, 1, 96, endOnly), "format 2"},
      {"format 0 with two tracks", FileBytes(0, 2, 96, endOnly + endOnly), "one track"},
      {"zero division", FileBytes(0, 1, 0, endOnly), "zero ticks"},
      {"bad frame rate", FileBytes(0, 1, 0xE000 | 0x1000, endOnly), "frame rate"},
      {"absurd track count", FileBytes(1, 65535, 96, endOnly), "before track 2 of 65535"},
      {"track length past the end", lyingLength, "track 1 of 1 runs past the end"},
      {"truncated chunk header", FileBytes(0, 1, 96, {'M', 'T', 'r', 'k', 0, 0}), "before track 1"},
      {"absurd delta", FileBytes(0, 1, 96, Track({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1})),
       "longer than four bytes"},
      {"delta cut off", FileBytes(0, 1, 96, Track({0x81})), "runs past the end"},
      {"meta length lies",
       FileBytes(0, 1, 96, Track({0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F, 'a'})),
       "event length in track 1 runs past"},
      {"sysex length lies", FileBytes(0, 1, 96, Track({0x00, 0xF0, 0x05, 0x43, 0xF7})),
       "event length in track 1 runs past"},
      {"meta cut before its type", FileBytes(0, 1, 96, Track({0x00, 0xFF})), "ends inside"},
      {"data without a status", FileBytes(0, 1, 96, Track({0x00, 0x3C, 0x40})), "without a status"},
      {"channel message cut short", FileBytes(0, 1, 96, Track({0x00, 0x90, 0x3C})), "ends inside"},
      {"status inside data", FileBytes(0, 1, 96, Track({0x00, 0x90, 0x3C, 0x90})), "cut short"},
      {"system common status", FileBytes(0, 1, 96, Track({0x00, 0xF2, 0x00, 0x00})),
       "unexpected status byte F2"},
      {"ticks overflow", FileBytes(0, 1, 96, Track(ManyLongDeltas())), "too long"},
      {"too large", Bytes(kMaxMidiFileSize + 1, 0), "larger than 16 MiB"},
  };
  for (const Case& c : cases) {
    try {
      ReadMidiFile(c.bytes);
      ADD_FAILURE() << c.name << ": read without an error";
    } catch (const RuntimeError& e) {
      EXPECT_NE(e.Description().find("Invalid MIDI file: "), std::string::npos) << c.name;
      EXPECT_NE(e.Description().find(c.says), std::string::npos)
          << c.name << ": " << e.Description();
    }
  }
}

// Every damaged variant of a valid file either reads or fails with RuntimeError; under the
// sanitizer build this also proves no byte outside the input is touched.
TEST(MidiFileTest, SurvivesDamagedFiles) {
  MidiFile file = MakeSysExTemplate();
  InsertSysEx(file, 0, Bytes{0xF0, 0x43, 0x73, 0x01, 0x11, 0x00, 0x16, 0x02, 0x2C, 0xF7});
  file.tracks[0].events.insert(file.tracks[0].events.begin() + 1, Channel(0, 0x90, {60, 1}));
  const Bytes valid = WriteMidiFile(file);
  std::mt19937 random(12345);
  int readable = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes damaged = valid;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
      damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
    }
    if (random() % 4 == 0) damaged.resize(random() % damaged.size());
    try {
      const MidiFile read = ReadMidiFile(damaged);
      ++readable;
      EXPECT_FALSE(read.tracks.empty());
    } catch (const RuntimeError&) {
    }
  }
  EXPECT_GT(readable, 0);
}

TEST(MidiFileTest, WriterRefusesFilesItCannotWriteFaithfully) {
  MidiFile twoTracks;
  twoTracks.tracks.resize(2);
  MidiFile noTracks;
  MidiFile backwards;
  backwards.tracks.resize(1);
  backwards.tracks[0].events = {Channel(10, 0x90, {1, 1}), Channel(5, 0x90, {1, 0})};
  MidiFile badData;
  badData.tracks.resize(1);
  badData.tracks[0].events = {Channel(0, 0x90, {1})};
  MidiFile badStatus;
  badStatus.tracks.resize(1);
  badStatus.tracks[0].events = {MidiEvent{.status = 0xF2, .data = {0, 0}}};
  for (const MidiFile* f : {&twoTracks, &noTracks, &backwards, &badData, &badStatus}) {
    EXPECT_THROW(WriteMidiFile(*f), RuntimeError);
  }
}

TEST(InsertSysExTest, KeepsTheOrderOfInsertionAtEqualTicksAndMovesTheEnd) {
  MidiFile file;
  file.tracks.resize(1);
  file.tracks[0].events = {Meta(0, 0x51, {1, 2, 3}), Channel(100, 0x90, {1, 1}),
                           Channel(150, 0x80, {1, 0}), Meta(160, 0x2F, {})};
  const Bytes a = {0xF0, 0x01, 0xF7}, b = {0xF0, 0x02, 0xF7}, c = {0xF0, 0x03, 0xF7},
              d = {0xF0, 0x04, 0xF7}, e = {0xF0, 0x05, 0xF7};
  InsertSysEx(file, 100, a);
  InsertSysEx(file, 0, b);
  InsertSysEx(file, 100, c);
  InsertSysEx(file, 200, d);
  InsertSysEx(file, 100, e);
  const std::vector<MidiEvent> expected = {
      Meta(0, 0x51, {1, 2, 3}),   SysEx(0, {0x02, 0xF7}),   Channel(100, 0x90, {1, 1}),
      SysEx(100, {0x01, 0xF7}),   SysEx(100, {0x03, 0xF7}), SysEx(100, {0x05, 0xF7}),
      Channel(150, 0x80, {1, 0}), SysEx(200, {0x04, 0xF7}), Meta(200, 0x2F, {})};
  EXPECT_EQ(file.tracks[0].events, expected);
  EXPECT_EQ(ReadMidiFile(WriteMidiFile(file)), file);
}

TEST(InsertSysExTest, RefusesWhatIsNotOneCompleteSysExMessage) {
  MidiFile file = MakeSysExTemplate();
  for (const Bytes& bad :
       {Bytes{}, Bytes{0xF0}, Bytes{0x43, 0xF7}, Bytes{0xF0, 0x43}, Bytes{0xF0, 0x90, 0xF7}}) {
    EXPECT_THROW(InsertSysEx(file, 0, bad), RuntimeError);
  }
  EXPECT_EQ(file, MakeSysExTemplate());
}

TEST(SysExTemplateTest, TheShippedTemplateIsTheGeneratedOne) {
  const MidiFile shipped = LoadMidiFile(std::string(CADENZO_DATA_DIR) + kSysExTemplateName);
  EXPECT_EQ(shipped, MakeSysExTemplate());
  EXPECT_EQ(shipped.format, 0);
  EXPECT_EQ(shipped.tracks.size(), 1u);
}

TEST(SysExTemplateTest, LoadingReportsMissingAndDamagedFiles) {
  testing::TempDir dir;
  try {
    LoadMidiFile(dir.Path() / "missing.mid");
    ADD_FAILURE();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kFileNotFound);
  }
  EXPECT_THROW(LoadMidiFile(dir.Write("bad.mid", std::string("MThd"))), RuntimeError);
}

}  // namespace
}  // namespace cadenzo
