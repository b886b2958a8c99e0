// SPDX-License-Identifier: GPL-3.0-or-later
// The dry run of a save: its summary over generated files says what the save then writes, and its
// wording leaves out the parts that are zero and counts in the singular and the plural.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <regex>
#include <string>

#include "catalogue/instrument_table.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "support/random_mfd.h"

namespace cadenzo {
namespace {

using testing::AppFixture;

// The figure before a part of the summary, 0 when the part is left out.
int Figure(const std::string& summary, const std::string& part) {
  std::smatch match;
  return std::regex_search(summary, match, std::regex("(\\d+) " + part)) ? std::stoi(match[1]) : 0;
}

// How many lines of a text hold a piece.
int LinesWith(const std::string& text, const std::string& piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
    ++n;
  }
  return n;
}

TEST(DryRun, SummaryFiguresAreWhatTheSaveWrites) {
  static const testing::RandomMfdGenerator generator(CADENZO_DATA_DIR);
  std::mt19937 random(4711);
  const auto models = InstrumentTable();
  int refused = 0, leftOutMedia = 0, givenDefault = 0, written = 0;
  for (int iteration = 0; iteration < 150; ++iteration) {
    AppFixture fx;
    fx.state.AppPath = CADENZO_DATA_DIR;
    const Instrument& source = models[random() % models.size()];
    const std::string target(models[random() % models.size()].name);
    const testing::RandomFile file = generator.Make(random, source, {.mostRecords = 30});
    fx.PutFile("random.mfd", file.Bytes());
    Present(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
    ASSERT_TRUE(fx.state.FileLoaded) << source.name << " #" << iteration;
    fx.state.AllowUserStyles = random() % 2 == 0;
    // None, a style of the target's list, or one it lacks (the save then refuses).
    const auto listed = ReadStyleList(fx.state.AppPath, target);
    const int choice = static_cast<int>(random() % 4);
    fx.state.DefaultStyle = choice == 0                      ? "None"
                            : choice == 1 && !listed.empty() ? listed[random() % listed.size()].name
                                                             : "No Such Style";
    const bool checkedOnly = random() % 3 == 0;
    int deleted = 0, notChecked = 0;
    for (Row& row : fx.state.List) {
      row.deleted = random() % 6 == 0;
      row.checked = random() % 2 == 0;
      deleted += row.deleted ? 1 : 0;
      notChecked += !row.deleted && !row.checked ? 1 : 0;
    }
    const std::string where =
        std::string(source.name) + " to " + target + " #" + std::to_string(iteration);

    const DryRun run = PlanDryRun(fx.state, target, checkedOnly);
    const std::string& summary = run.summary;
    const std::string out = fx.dir.Str() + "out.mfd";
    fx.dialogs.QueueAnswer(Answer::kYes);  // a capacity question, should one come
    fx.dialogs.QueueFile(out);
    const PassResult result =
        SaveMusicFinderx(fx.state, fx.dialogs, target, checkedOnly, PassMode::kSave);
    fx.dialogs.messages.clear();

    if (summary.starts_with("Nothing will be written: ")) {
      ++refused;
      EXPECT_FALSE(result.saved) << where;
      EXPECT_FALSE(std::filesystem::exists(out)) << where;
      if (result.outcome.problem == Problem::kStyleList) {
        // A target without a style list while user styles are off.
        EXPECT_NE(summary.find("No style list for " + target), std::string::npos) << where;
      } else {
        EXPECT_TRUE(result.refusedDefaultStyle) << where << ": " << summary;
        EXPECT_EQ(Figure(summary, "records? needs?"), result.needsMissingDefault) << where;
      }
      continue;
    }
    ASSERT_TRUE(result.saved) << where << ": " << summary;
    const std::string bytes = testing::ReadText(out);
    const int inFile = HeaderCount(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    const int said = Figure(summary, "records? will be written");
    EXPECT_EQ(said, inFile) << where << ": " << summary;
    if (inFile == 0) {
      EXPECT_TRUE(summary.starts_with("No record will be written")) << summary;
    }

    // The parts add up to their totals.
    const int unchanged = Figure(summary, "unchanged");
    const int keptMedia = Figure(summary, "media records? kept with (its|their) paths?");
    EXPECT_EQ(said, unchanged + Figure(summary, "renumbered") +
                        Figure(summary, "given the default style") +
                        Figure(summary, "kept as (a )?user styles?") + keptMedia)
        << where << ": " << summary;
    const int media = Figure(summary, "media records? the target cannot keep");
    const int noStyle = Figure(summary, "whose styles? \\S+( \\S+)? lacks");
    EXPECT_EQ(Figure(summary, "left out"),
              Figure(summary, "deleted") + Figure(summary, "not checked") + media + noStyle)
        << where << ": " << summary;

    // What was passed over, and what the log records of the records left out or given the
    // default style.
    EXPECT_EQ(Figure(summary, "deleted"), deleted) << where;
    EXPECT_EQ(Figure(summary, "not checked"), checkedOnly ? notChecked : 0) << where;
    const std::string log = testing::ReadText(fx.state.UserFolder + "ExportLog.txt");
    EXPECT_EQ(LinesWith(log, "cannot keep this media file"), media) << where << "\n" << log;
    EXPECT_EQ(LinesWith(log, "\r\n") - 2, media + Figure(summary, "given the default style"))
        << where << "\n"
        << log;
    // One detail line for each record that is not written as it is.
    EXPECT_EQ(static_cast<int>(run.changes.size()), said - unchanged - keptMedia + media + noStyle)
        << where;
    leftOutMedia += media;
    givenDefault += Figure(summary, "given the default style");
    written += said;
  }
  // The generated files reach the parts that matter.
  EXPECT_GT(refused, 0);
  EXPECT_GT(leftOutMedia, 0);
  EXPECT_GT(givenDefault, 0);
  EXPECT_GT(written, 0);
}

TEST(DryRun, SummaryLeavesOutZeroPartsAndCountsInSingularAndPlural) {
  const SaveOptions options{.target = "PSR-2000", .defaultStyle = "Chart3"};
  struct Case {
    SavePlan plan;
    std::string summary;
  };
  const std::vector<Case> cases = {
      {{.written = 1, .unchanged = 1}, "1 record will be written: 1 unchanged."},
      {{.deleted = 3,
        .written = 289,
        .unchanged = 277,
        .givenDefault = 6,
        .userStyles = 6,
        .dropped = 5,
        .leftOutMedia = 5},
       "289 records will be written: 277 unchanged, 6 given the default style Chart3, 6 kept as "
       "user styles; 8 left out: 3 deleted, 5 media records the target cannot keep."},
      {{.unchecked = 2,
        .written = 2,
        .userStyles = 1,
        .mediaReferences = 1,
        .dropped = 1,
        .leftOutMedia = 1},
       "2 records will be written: 1 kept as a user style, 1 media record kept with its path; "
       "3 left out: 2 not checked, 1 media record the target cannot keep."},
      {{.deleted = 1, .dropped = 2, .leftOutNoStyle = 2},
       "No record will be written; 3 left out: 1 deleted, 2 whose styles PSR-2000 lacks."},
      {{.written = 3000, .styleChanged = 3000},
       "3000 records will be written: 3000 renumbered for the PSR-2000. The PSR-2000 holds "
       "only 2500 records."},
      {{.dropped = 1, .needsMissingDefault = 1},
       "Nothing will be written: 1 record needs the default style Chart3, which is not on the "
       "style list of PSR-2000."},
  };
  for (const Case& c : cases) EXPECT_EQ(PlanSummary(c.plan, options), c.summary);
}

}  // namespace
}  // namespace cadenzo
