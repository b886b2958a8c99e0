// SPDX-License-Identifier: GPL-3.0-or-later
// File > Merge over generated files of every pair of file generations: the open file's records
// stay as they were, every record the open model can take follows with its fields, its style
// carried by name and its media reference, the merged rows are the checked ones, one undo step
// takes the merge back, and a save reads back with every record.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/file_commands.h"
#include "mfd/merge.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/random_mfd.h"
#include "support/scripted_dialogs.h"

namespace cadenzo {
namespace {

using testing::RandomMfdGenerator;
using testing::ScriptedDialogs;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

// Answers the conversion preview and the capacity question with Yes.
class YesDialogs : public ScriptedDialogs {
 public:
  Answer Message(const MessageRequest& request) override {
    if (request.buttons == Buttons::kYesNo) return Answer::kYes;
    return ScriptedDialogs::Message(request);
  }
};

struct Opened {
  YesDialogs dialogs;
  AppState state;
  Opened(const TempDir& dir, const std::string& path) {
    state.AppPath = CADENZO_DATA_DIR;
    state.UserFolder = dir.Str() + "user/";
    std::filesystem::create_directories(state.UserFolder);
    state.CurrentFilePath = path;
    state.FileName = std::filesystem::path(path).filename().string();
    testing::Presented(OpenMusicFinderFile(state, dialogs), dialogs);
  }
};

// Every message of an outcome, one a line.
std::string Said(const Outcome& outcome) {
  std::string text;
  for (const auto& m : outcome.messages) text += m.text + "\n";
  return text;
}

std::string Trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

// One model a generation, with a style list; the ones that keep media references where there is
// such a model.
std::vector<const Instrument*> OneModelAGeneration() {
  std::vector<const Instrument*> models;
  for (const char generation : {'1', '2', '3'}) {
    const Instrument* pick = nullptr;
    for (const Instrument& m : InstrumentTable()) {
      if (m.fileGeneration != generation || ReadStyleList(CADENZO_DATA_DIR, m.name).empty())
        continue;
      if (pick == nullptr || (m.keepsFileReferences && !pick->keepsFileReferences)) pick = &m;
    }
    if (pick != nullptr) models.push_back(pick);
  }
  return models;
}

TEST(Merge, EveryPairOfGenerationsKeepsTheOpenFileAndCarriesTheOther) {
  const RandomMfdGenerator generator(CADENZO_DATA_DIR);
  const auto models = OneModelAGeneration();
  ASSERT_EQ(models.size(), 3u);
  std::mt19937 random(20261208);
  for (const Instrument* a : models) {
    for (const Instrument* b : models) {
      for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(std::string(b->name) + " into " + std::string(a->name) + ", round " +
                     std::to_string(round));
        TempDir dir;
        testing::RandomFile fileA = generator.Make(random, *a, {.mostRecords = 30});
        testing::RandomFile fileB = generator.Make(random, *b, {.mostRecords = 30});
        fileA.cutBytes = 0;
        fileB.cutBytes = 0;
        const std::string pathA = dir.Write("a.mfd", fileA.Bytes()).string();
        const std::string pathB = dir.Write("b.mfd", fileB.Bytes()).string();
        Opened open(dir, pathA);
        Opened other(dir, pathB);
        AppState& s = open.state;
        ASSERT_TRUE(s.FileLoaded);
        ASSERT_TRUE(other.state.FileLoaded);
        s.DefaultStyle = "None";
        const int countA = HeaderCount(s.FileBytes);
        const Bytes bytesA = s.FileBytes;
        const std::size_t rowsA = s.List.Size();

        const MergeResult merged =
            RunUndoable(s, "Merge", [&] { return MergeMusicFinderFile(s, open.dialogs, pathB); });
        ASSERT_TRUE(merged.outcome.Ok()) << Said(merged.outcome);
        const int countB = HeaderCount(other.state.FileBytes);
        ASSERT_EQ(merged.merged + merged.leftOut, countB);
        ASSERT_EQ(HeaderCount(s.FileBytes), countA + merged.merged);
        ASSERT_EQ(s.List.Size(), rowsA + static_cast<std::size_t>(merged.merged));
        if (!a->keepsFileReferences) {
          // Only media records may be left out: every style is carried or stands as a user style.
          int mediaB = 0;
          for (const Row& row : other.state.List) {
            const std::size_t r = mfd::RecordOffset(row.record);
            mediaB += ReadU16(other.state.FileBytes, r + mfd::kStyle) == mfd::kMediaStyle;
          }
          EXPECT_EQ(merged.leftOut, mediaB);
        } else {
          EXPECT_EQ(merged.leftOut, 0);
        }

        // The open file's records are as they were (the header's count aside).
        for (std::size_t i = mfd::kHeaderSize; i < mfd::RecordOffset(countA + 1); ++i) {
          ASSERT_EQ(s.FileBytes[i], bytesA[i]) << "byte " << i << " of the open file changed";
        }
        // The merged records follow in file order with their fields; the style named alike.
        std::set<std::string> namesA;
        for (const auto& entry : ReadStyleList(CADENZO_DATA_DIR, a->name)) {
          namesA.insert(LowerCp1252(Trimmed(entry.name)));
        }
        std::vector<const Row*> rowsB;
        for (const Row& row : other.state.List) rowsB.push_back(&row);
        std::sort(rowsB.begin(), rowsB.end(),
                  [](const Row* x, const Row* y) { return x->record < y->record; });
        int next = countA + 1;
        for (const Row* rowB : rowsB) {
          const std::size_t rb = mfd::RecordOffset(rowB->record);
          const bool media = ReadU16(other.state.FileBytes, rb + mfd::kStyle) == mfd::kMediaStyle;
          if (media && !a->keepsFileReferences) continue;
          const std::size_t ra = mfd::RecordOffset(static_cast<std::size_t>(next));
          for (std::size_t f = mfd::kTimeSigNumerator; f < mfd::kLastReadByte; ++f) {
            ASSERT_EQ(s.FileBytes[ra + f], other.state.FileBytes[rb + f])
                << "byte " << f << " of merged record " << next;
          }
          EXPECT_EQ(ReadU16(s.FileBytes, ra + mfd::kNumber), next - 1);
          const int position = s.List.FindByRecord(static_cast<std::uint32_t>(next));
          ASSERT_GE(position, 0);
          const Row& rowA = s.List[static_cast<std::size_t>(position)];
          EXPECT_TRUE(rowA.checked);
          EXPECT_EQ(rowA.Cell(col::kMusic), rowB->Cell(col::kMusic));
          const std::string nameB = LowerCp1252(Trimmed(rowB->Cell(col::kStyle)));
          if (media) {
            EXPECT_EQ(ReadU16(s.FileBytes, ra + mfd::kStyle), mfd::kMediaStyle);
            EXPECT_EQ(rowA.Cell(col::kStyle), rowB->Cell(col::kStyle));
          } else if (namesA.contains(nameB)) {
            EXPECT_EQ(LowerCp1252(Trimmed(rowA.Cell(col::kStyle))), nameB)
                << "record " << next << " did not keep its style by name";
          }
          ++next;
        }
        ASSERT_EQ(next, countA + merged.merged + 1);
        for (const Row& row : s.List) {
          if (row.record <= static_cast<std::uint32_t>(countA)) {
            EXPECT_FALSE(row.checked);
          }
        }

        // Saved for the open model, every record reads back.
        if (merged.merged > 0) {
          open.dialogs.QueueFile(dir.Str() + "out.mfd");
          const PassResult saved =
              SaveMusicFinderx(s, open.dialogs, s.SourceInstrument, false, PassMode::kSave);
          ASSERT_TRUE(saved.saved) << Said(saved.outcome);
          Opened readBack(dir, dir.Str() + "out.mfd");
          EXPECT_EQ(readBack.state.List.Size(), rowsA + static_cast<std::size_t>(merged.merged) -
                                                    static_cast<std::size_t>(saved.dropped));
          // One undo takes the whole merge back.
          ASSERT_TRUE(s.History.Undo(s));
          EXPECT_EQ(s.FileBytes, bytesA);
          EXPECT_EQ(s.List.Size(), rowsA);
        }
      }
    }
  }
}

TEST(Merge, AFileThatCannotBeReadWholeChangesNothing) {
  TempDir dir;
  testing::FileBuilder good{.model = "PSR-S970"};
  good.records.resize(3);
  Opened open(dir, dir.Write("a.mfd", good.Build()).string());
  ASSERT_TRUE(open.state.FileLoaded);
  Bytes cut = good.Build();
  cut.resize(cut.size() - 60);  // record 3 cut inside its fields
  const std::vector<std::pair<std::string, Bytes>> bad = {
      {"cut.mfd", cut}, {"empty.mfd", {}}, {"text.mfd", Bytes{'h', 'e', 'l', 'l', 'o'}}};
  for (const auto& [name, bytes] : bad) {
    SCOPED_TRACE(name);
    const Bytes before = open.state.FileBytes;
    const MergeResult merged =
        MergeMusicFinderFile(open.state, open.dialogs, dir.Write(name, bytes).string());
    EXPECT_FALSE(merged.outcome.Ok());
    EXPECT_EQ(merged.merged, 0);
    EXPECT_EQ(open.state.FileBytes, before);
    EXPECT_EQ(open.state.List.Size(), 3u);
    EXPECT_NE(Said(merged.outcome).find(name), std::string::npos);
  }
  EXPECT_NE(
      MergeMusicFinderFile(open.state, open.dialogs, dir.Str() + "missing.mfd").outcome.problem,
      Problem::kNone);
}

}  // namespace
}  // namespace cadenzo
