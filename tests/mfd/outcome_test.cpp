// SPDX-License-Identifier: GPL-3.0-or-later
// What the file commands report: the problem, the file and the record of a failure beside the
// texts the person reads, and a save plan that says exactly what the save then writes.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "support/random_mfd.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;
using Bytes = std::vector<std::uint8_t>;

Bytes ThreeRecords() {
  return FileBuilder{.records = {RecordBuilder{.number = 0, .style = 12},
                                 RecordBuilder{.number = 1, .style = 291},
                                 RecordBuilder{.number = 2, .style = 12}}}
      .Build();
}

struct OutcomeCase {
  const char* name;
  // Prepares the fixture, runs the command and gives its outcome; `file` is the file it concerns.
  std::function<Outcome(AppFixture&, std::string& file)> run;
  Problem problem;
  int record;
  std::vector<std::string> texts;  // each message must contain its text, in this order
};

void PrintTo(const OutcomeCase& c, std::ostream* out) { *out << c.name; }

Outcome Open(AppFixture& fx, std::string& file, const Bytes& bytes) {
  file = fx.PutFile("input.mfd", bytes);
  return OpenMusicFinderFile(fx.state, fx.dialogs);
}

class FileCommandOutcome : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(FileCommandOutcome, NamesTheProblemTheFileAndTheRecord) {
  const OutcomeCase& c = GetParam();
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
  std::string file;
  const Outcome outcome = c.run(fx, file);

  EXPECT_EQ(outcome.problem, c.problem);
  EXPECT_EQ(outcome.file, file);
  EXPECT_EQ(outcome.record, c.record);
  ASSERT_EQ(outcome.messages.size(), c.texts.size());
  for (std::size_t i = 0; i < c.texts.size(); ++i) {
    EXPECT_NE(outcome.messages[i].text.find(c.texts[i]), std::string::npos)
        << outcome.messages[i].text;
  }
  // The command said nothing itself: the outcome is what the windows show.
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FileCommandOutcome,
    ::testing::Values(
        OutcomeCase{"Empty",
                    [](AppFixture& fx, std::string& f) { return Open(fx, f, {}); },
                    Problem::kBadFile,
                    0,
                    {"input.mfd is not a Music Finder file: it is empty"}},
        OutcomeCase{"Missing",
                    [](AppFixture& fx, std::string& f) {
                      f = fx.dir.Str() + "files/none.mfd";
                      fx.state.CurrentFilePath = f;
                      fx.state.FileName = "none.mfd";
                      return OpenMusicFinderFile(fx.state, fx.dialogs);
                    },
                    Problem::kBadFile,
                    0,
                    {"Could not find that file"}},
        OutcomeCase{"NoMusicFinderFile",
                    [](AppFixture& fx, std::string& f) {
                      return Open(fx, f, Bytes{'h', 'e', 'l', 'l', 'o'});
                    },
                    Problem::kBadFile,
                    0,
                    {"input.mfd is not a Music Finder file: it holds no records"}},
        OutcomeCase{"TruncatedInsideRecord2",
                    [](AppFixture& fx, std::string& f) {
                      Bytes bytes = ThreeRecords();
                      bytes.resize(mfd::RecordOffset(2) + 30);
                      return Open(fx, f, bytes);
                    },
                    Problem::kDamaged,
                    2,
                    {"input.mfd is damaged: record 2 of 3 is cut off at byte 160. The record "
                     "before it is shown"}},
        OutcomeCase{"UnreadableStyleList",
                    [](AppFixture& fx, std::string& f) {
                      // UTF-16 text: the list exists but cannot be read.
                      fx.dir.Write("app/PSR-S970.dat", std::string("\xFF\xFEP\0o\0p\0", 8));
                      return Open(fx, f, ThreeRecords());
                    },
                    Problem::kStyleList,
                    0,
                    {"PSR-S970.dat"}},
        OutcomeCase{"UnwritableTarget",
                    [](AppFixture& fx, std::string& f) {
                      std::string input;
                      Present(Open(fx, input, ThreeRecords()), fx.dialogs);
                      fx.dialogs.messages.clear();
                      f = fx.dir.Str() + "no such folder/out.mfd";
                      fx.dialogs.QueueFile(f);
                      return SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false,
                                              PassMode::kSave)
                          .outcome;
                    },
                    Problem::kCannotWrite,
                    0,
                    {"That path doesn't exist"}},
        OutcomeCase{
            "ImportLineWithTooFewFields",
            [](AppFixture& fx, std::string& f) {
              Present(Open(fx, f, ThreeRecords()), fx.dialogs);
              fx.dialogs.messages.clear();
              f.clear();  // a text given to the import names no file
              const std::string text =
                  "1\tPop\tSong A\tPop Rock\t4/4\t120\t\tyes\tno\tno\r\n2\tPop\tcut\r\n";
              return ImportDelimitedText(fx.state, fx.dialogs, text).outcome;
            },
            Problem::kDamaged,
            2,
            {"There is a problem", "ImportTextDelimitedFile 9", "ImportTextDelimitedFile."}}),
    [](const auto& info) { return std::string(info.param.name); });

// The save plan over generated files: its counts are what the save then writes, record by record.
TEST(SavePlan, CountsAreWhatTheSaveWrites) {
  static const testing::RandomMfdGenerator generator(CADENZO_DATA_DIR);
  std::mt19937 random(1208);
  const auto models = InstrumentTable();
  int leftOut = 0;
  int media = 0;
  for (int iteration = 0; iteration < 200; ++iteration) {
    AppFixture fx;
    fx.state.AppPath = CADENZO_DATA_DIR;
    const Instrument& source = models[random() % models.size()];
    const std::string target(models[random() % models.size()].name);
    const testing::RandomFile file =
        generator.Make(random, source, {.mostRecords = 30, .tagMusic = true});
    fx.PutFile("random.mfd", file.Bytes());
    Present(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded) << source.name << " #" << iteration;
    fx.state.AllowUserStyles = random() % 2 == 0;
    fx.state.DefaultStyle = random() % 3 == 0 ? "None" : fx.state.DefaultStyle;
    const bool checkedOnly = random() % 3 == 0;
    int deleted = 0;
    for (Row& row : fx.state.List) {
      row.deleted = random() % 6 == 0;
      row.checked = random() % 2 == 0;
      deleted += row.deleted ? 1 : 0;
    }

    const SavePlan plan =
        PlanSave(fx.state.FileBytes, fx.state.List, BuildTargetMaps(fx.state.AppPath, target),
                 {.target = target,
                  .sourceInstrument = fx.state.SourceInstrument,
                  .defaultStyle = fx.state.DefaultStyle,
                  .autoDetect = fx.state.AutoDetect,
                  .allowUserStyles = fx.state.AllowUserStyles,
                  .checkedOnly = checkedOnly});
    const PassResult result =
        SaveMusicFinderx(fx.state, fx.dialogs, target, checkedOnly, PassMode::kPreview);
    const std::string where =
        std::string(source.name) + " to " + target + " #" + std::to_string(iteration);
    ASSERT_TRUE(result.outcome.Ok()) << where;
    ASSERT_FALSE(plan.error) << where;

    // Every row is considered, passed over as deleted or unchecked; every considered record is
    // written or left out.
    EXPECT_EQ(plan.deleted, deleted) << where;
    EXPECT_EQ(plan.recordsRead + plan.deleted + plan.unchecked,
              static_cast<int>(fx.state.List.Size()))
        << where;
    EXPECT_EQ(plan.written + plan.dropped, plan.recordsRead) << where;
    EXPECT_EQ(plan.written, plan.unchanged + plan.styleChanged + plan.givenDefault +
                                plan.userStyles + plan.mediaReferences)
        << where;
    EXPECT_EQ(plan.dropped, plan.leftOutMedia + plan.needsMissingDefault + plan.leftOutNoStyle)
        << where;

    // The output by kind: its count, its media paths, and which records it holds with which
    // style, followed by the tag at the start of each song name.
    const Bytes& out = fx.state.SaveBytes;
    ASSERT_EQ(HeaderCount(out), plan.written) << where;
    EXPECT_EQ(ReadFileReferenceBlock(out, plan.written).size(),
              static_cast<std::size_t>(plan.mediaReferences))
        << where;
    std::map<std::string, int> sourceStyle;
    for (int i = 1; i <= HeaderCount(fx.state.FileBytes); ++i) {
      const std::size_t r = mfd::RecordOffset(static_cast<std::size_t>(i));
      const std::string music(fx.state.FileBytes.begin() + static_cast<long>(r + mfd::kMusic),
                              fx.state.FileBytes.begin() + static_cast<long>(r + mfd::kMusic + 8));
      sourceStyle[music.substr(0, music.find(' '))] = ReadU16(fx.state.FileBytes, r + mfd::kStyle);
    }
    int same = 0;
    int changed = 0;
    std::set<std::string> tags;
    for (int k = 1; k <= plan.written; ++k) {
      const std::size_t r = mfd::RecordOffset(static_cast<std::size_t>(k));
      const std::string music(out.begin() + static_cast<long>(r + mfd::kMusic),
                              out.begin() + static_cast<long>(r + mfd::kMusic + 8));
      const std::string tag = music.substr(0, music.find(' '));
      ASSERT_TRUE(sourceStyle.count(tag)) << where;
      EXPECT_TRUE(tags.insert(tag).second) << where << ": " << tag << " twice";
      (ReadU16(out, r + mfd::kStyle) == sourceStyle[tag] ? same : changed) += 1;
    }
    EXPECT_GE(same, plan.unchanged + plan.userStyles) << where;
    EXPECT_LE(same, plan.unchanged + plan.userStyles + plan.givenDefault + plan.mediaReferences)
        << where;
    EXPECT_GE(changed, plan.styleChanged) << where;
    EXPECT_EQ(result.written, plan.written) << where;
    EXPECT_EQ(result.dropped, plan.dropped) << where;
    // The status line of the save names the records the output holds, and says that records
    // were left out exactly when some were.
    const std::string status = SavedStatus(plan, "out.mfd");
    EXPECT_TRUE(status.starts_with("Saved " + Counted(HeaderCount(out), "record") + " to out.mfd"))
        << where << ": " << status;
    EXPECT_EQ(status.find(" left out \x97 see the conversion log)") != std::string::npos,
              plan.dropped > 0)
        << where << ": " << status;
    leftOut += plan.dropped;
    media += plan.mediaReferences;
  }
  // The generated files reach the fates that matter.
  EXPECT_GT(leftOut, 0);
  EXPECT_GT(media, 0);
}

}  // namespace
}  // namespace cadenzo
