// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;

const std::string kDataDir = CADENZO_SOURCE_DATA_DIR;

// The shipped files of the given extension.
std::vector<fs::path> DataFiles(const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kDataDir)) {
    if (entry.path().extension() == extension) files.push_back(entry.path());
  }
  return files;
}

// Checks the layout every shipped list shares; returns the parsed lines.
std::vector<StyleListLine> CheckListFile(const fs::path& path) {
  const std::string text = ReadWholeFile(path);
  EXPECT_FALSE(text.empty()) << path;
  EXPECT_TRUE(text.ends_with("\r\n")) << path;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << path << " byte " << i;
    }
  }
  EXPECT_TRUE(text.starts_with("#")) << path;
  const auto pieces = SplitCrLfLines(text);
  for (const auto piece : pieces) EXPECT_FALSE(piece.empty()) << path << ": an empty line";
  const auto lines = ParseStyleListLines(text);
  for (const auto& line : lines) {
    EXPECT_FALSE(line.malformed) << path << ": " << line.entry.name;
  }
  return lines;
}

TEST(ShippedStyleLists, AreWellFormedAndNameKnownModels) {
  const auto files = DataFiles(".dat");
  EXPECT_GE(files.size(), 11u);
  for (const auto& path : files) {
    const std::string model = path.stem().string();
    EXPECT_NE(FindInstrument(model), nullptr) << model;
    const auto lines = CheckListFile(path);
    EXPECT_GE(lines.size(), 150u) << model;
    for (const auto& line : lines) {
      EXPECT_TRUE(StyleNumberValue(line.entry.number).has_value())
          << model << ": " << line.entry.name << ";" << line.entry.number;
    }
    EXPECT_TRUE(ReadWholeFile(path).starts_with("# Example style list")) << model;
  }
}

TEST(ShippedStyleLists, CoverTheModelsAndKeepTheirNumberRanges) {
  struct Case {
    const char* model;
    int below;  // every number is below this
  };
  const Case cases[] = {{"PSR-1000", 600},   {"PSR-2000", 600},    {"TYROS", 600},
                        {"CVP-205", 623},    {"CVP-206", 623},     {"PSR-S970", 65536},
                        {"PSR-S770", 65536}, {"PSR-SX900", 65536}, {"TYROS 5", 65536},
                        {"GENOS", 65536},    {"NetCommon", 65536}};
  for (const auto& c : cases) {
    const auto entries = ReadStyleList(kDataDir, c.model);
    EXPECT_FALSE(entries.empty()) << c.model;
    for (const auto& e : entries) {
      EXPECT_LT(StyleNumberValue(e.number).value_or(65536), c.below) << c.model << " " << e.name;
    }
  }
  const auto s970 = BuildSourceStyles(kDataDir, "PSR-S970");
  ASSERT_NE(s970.Find("291"), nullptr);
  EXPECT_EQ(*s970.Find("291"), "Cool Beat");
}

TEST(ShippedReplacementTable, IsWellFormedAndLeadsToStylesOfTheOlderModels) {
  const auto lines = CheckListFile(fs::path(kDataDir) / "StyleReplacementTable.txt");
  EXPECT_GE(lines.size(), 10u);
  const char* olderModels[] = {"PSR-1000", "PSR-2000", "TYROS", "CVP-205", "CVP-206"};
  const auto newest = BuildTargetMaps(kDataDir, "GENOS");
  for (const auto& line : lines) {
    EXPECT_TRUE(CollectionHasKey(newest.nameMap, NormalizeStyleName(line.entry.name)))
        << line.entry.name;
    for (const char* model : olderModels) {
      const auto maps = BuildTargetMaps(kDataDir, model);
      EXPECT_FALSE(CollectionHasKey(maps.nameMap, NormalizeStyleName(line.entry.name)))
          << model << " has " << line.entry.name;
      EXPECT_TRUE(CollectionHasKey(maps.nameMap, NormalizeStyleName(line.entry.number)))
          << model << " lacks " << line.entry.number;
    }
  }
}

}  // namespace
}  // namespace cadenzo
