// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include <stdlib.h>

#include <filesystem>

#include "mfd/byte_io.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "midi/midi_file.h"
#include "midi/sysex_template.h"
#include "textio/delimited_export.h"
#include "textio/text_file.h"

namespace cadenzo::fuzz {

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string tmpl = base + "/cadenzo-fuzz-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    const std::string dir = tmpl + "/";
    const std::string newer =
        "# example\r\nCool Beat;0291\r\nPop Rock;12\r\nFunk;77\r\nBallad1;5\r\n";
    const std::string older = "# example\r\nPop Rock;014\r\nFunk1;020\r\nSwing;030\r\n";
    WriteFileAtomic(dir + "PSR-S970.dat", newer);
    WriteFileAtomic(dir + "TYROS 5.dat", newer);
    WriteFileAtomic(dir + "PSR-2000.dat", older);
    WriteFileAtomic(dir + "CVP-205.dat", older);
    WriteFileAtomic(dir + "TYROS.dat", older);
    return dir;
  }();
  return folder;
}

AppState FreshState() {
  AppState state;
  state.AppPath = ScratchFolder();
  state.UserFolder = ScratchFolder();
  return state;
}

std::vector<std::vector<std::uint8_t>> SampleFiles() {
  std::vector<std::vector<std::uint8_t>> files;
  for (const char* model : {"PSR-S970", "PSR-2000", "CVP-205", "TYROS 5", "Tyros4 v"}) {
    std::vector<std::uint8_t> f(mfd::kHeaderSize, ' ');
    f[12] = '3';
    for (std::size_t i = 0; model[i] != '\0'; ++i) f[16 + i] = static_cast<std::uint8_t>(model[i]);
    WriteU16(f, mfd::kCountOffset, 0);
    for (int i = 0; i < 3; ++i) {
      const std::size_t r = AppendRecord(f);
      WriteU16(f, r, static_cast<std::uint16_t>(i));
      WriteU16(f, r + mfd::kStyle,
               static_cast<std::uint16_t>(i == 2 ? mfd::kMediaStyle : 12 + i * 279));
      EncodeTimeSig(f, r, 4, 4);
      EncodeTempo(f, r, 96 + i);
      EncodeText(f, r + mfd::kMusic, mfd::kMusicLength, "Song " + std::to_string(i));
      EncodeText(f, r + mfd::kGenre, mfd::kGenreLength, i ? "Pop" : "Ballad");
      EncodeText(f, r + mfd::kKeywords, mfd::kKeywordsLength, "slow,party");
      EncodeSections(f, r, 1, 4 + i);
    }
    f.resize(f.size() - 2);
    const std::string path = "I:\\Songs\\Hit.mid";
    std::vector<std::uint8_t> block;
    for (char c : std::string("FPhd")) block.push_back(static_cast<std::uint8_t>(c));
    AppendU32(block, static_cast<std::uint32_t>(10 + path.size()));
    for (char c : std::string("FPdt")) block.push_back(static_cast<std::uint8_t>(c));
    AppendU16(block, static_cast<std::uint16_t>(path.size() + 4));
    AppendU16(block, 2);
    block.push_back(1);
    for (char c : path) block.push_back(static_cast<std::uint8_t>(c));
    block.push_back(0);
    for (char c : std::string("FPed")) block.push_back(static_cast<std::uint8_t>(c));
    f.insert(f.end(), block.begin(), block.end());
    files.push_back(std::move(f));
  }
  return files;
}

namespace {

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// Delimited texts: the export of a sample file, and lines that bend each field rule.
std::vector<std::string> ImportSeeds() {
  AppState state = FreshState();
  QuietDialogs dialogs;
  state.FileBytes = SampleFiles().front();
  ReadMusicFinderFile(state, dialogs);
  const std::string line =
      " 1\tPop\tSong\tCool Beat\t 4/ 4\t120\tkw\tYes\tNo\tYes\tIntro 1\tMain A\r\n";
  return {DelimitedExportText(state.List), DelimitedHeaderLine() + "\r\n" + line + line,
          " 1\tRock\tX\tFunky\t3/8\t-5\t\tno\tyes\tNO\r\n 2\tRock\tY\tUSB:\\a.mid\t\t\t\t\t\t\r\n",
          " 1\tA\tB\t'Pop Rock'\t4\t999999\tk\tYes\tYes\tYes\tEnding 3\r\n",
          "no line ends here\tat all"};
}

// MIDI files: the shipped template, and a format 1 file with running status, SysEx, an escape
// and a chunk of another kind.
std::vector<std::string> MidiSeeds() {
  MidiFile file;
  file.format = 1;
  file.division = 96;
  MidiTrack tempo;
  tempo.events.push_back(TempoEvent(0, 400000));
  tempo.events.push_back(TempoEvent(192, 600000));
  MidiTrack notes;
  for (std::uint32_t i = 0; i < 4; ++i) {
    notes.events.push_back(MidiEvent{.tick = i * 48, .status = 0x90, .data = {60, 100}});
    notes.events.push_back(MidiEvent{.tick = i * 48 + 24, .status = 0x90, .data = {60, 0}});
  }
  notes.events.push_back(MidiEvent{.tick = 200, .status = 0xC1, .data = {5}});
  notes.events.push_back(MidiEvent{.tick = 210, .status = 0xF0, .data = {0x43, 0x10, 0xF7}});
  notes.events.push_back(MidiEvent{.tick = 220, .status = 0xF7, .data = {0xF8}});
  file.tracks = {tempo, notes};
  std::vector<std::uint8_t> twoTracks = WriteMidiFile(file);
  const std::uint8_t other[] = {'X', 'T', 'r', 'a', 0, 0, 0, 2, 1, 2};
  twoTracks.insert(twoTracks.begin() + 14, std::begin(other), std::end(other));
  MidiFile smpte = MakeSysExTemplate();
  smpte.division = 0xE728;  // 25 frames of 40 ticks
  return {AsText(WriteMidiFile(MakeSysExTemplate())), AsText(twoTracks),
          AsText(WriteMidiFile(smpte))};
}

}  // namespace

std::vector<std::pair<std::string, std::vector<std::string>>> ExtraSeeds() {
  return {
      {"replacement_table_fuzz",
       {"# old;new\r\nCool Beat;Pop Rock\r\n  Funk ; Funk 2;x\r\nballad3;Cool Beat\r\n",
        "A;1\r\na;2\r\n", "NoSemicolon\r\nB;3\r\n", "X;Y\r\n\r\nZ;W\r\nlast"}},
      {"delimited_import_fuzz", ImportSeeds()},
      {"midi_file_fuzz", MidiSeeds()},
  };
}

}  // namespace cadenzo::fuzz
