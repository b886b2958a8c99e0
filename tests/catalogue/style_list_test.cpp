// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/style_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/builders.h"

namespace cadenzo {
namespace {

using testing::TempDir;

// Test names show a case's text with bytes outside printable ASCII as "?".
std::string Printable(std::string_view text) {
  std::string out;
  for (const char c : text) out.push_back(c >= 0x20 && c < 0x7f ? c : '?');
  return out.empty() ? "(empty)" : out;
}

// A parsed line in a compact form: "name|number", or "!whole line" for a malformed one.
std::vector<std::string> Compact(const std::vector<StyleListLine>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) {
    out.push_back(l.malformed ? "!" + l.entry.name : l.entry.name + "|" + l.entry.number);
  }
  return out;
}

struct ParseCase {
  const char* what;
  std::string text;
  std::vector<std::string> expected;
  friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.what; }
};

class Parsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(Parsing, FollowsTheListRules) {
  const auto& c = GetParam();
  EXPECT_EQ(Compact(ParseStyleListLines(c.text)), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Parsing,
    ::testing::Values(
        ParseCase{"every line ends in CR LF", "Pop;1\r\nRock;0002\r\n", {"Pop|1", "Rock|0002"}},
        ParseCase{"last line without a line end is read", "Pop;1\r\nRock;2", {"Pop|1", "Rock|2"}},
        ParseCase{"empty line ends the list", "Pop;1\r\n\r\nRock;2\r\n", {"Pop|1"}},
        ParseCase{"a line of blanks is not empty",
                  "Pop;1\r\n  \r\nRock;2\r\n",
                  {"Pop|1", "!  ", "Rock|2"}},
        ParseCase{
            "comments, also after leading blanks", "# list\r\n   # more;1\r\nPop;1\r\n", {"Pop|1"}},
        ParseCase{"a # later in the line is not a comment", "Pop #1;5\r\n", {"Pop #1|5"}},
        ParseCase{"name untrimmed, number as written",
                  "  Jazz Club ;45\r\nSwing; 007 \r\n",
                  {"  Jazz Club |45", "Swing| 007 "}},
        ParseCase{"split at the first semicolon", "Pop;1;2\r\n", {"Pop|1;2"}},
        ParseCase{"empty name or number", ";12\r\nPop;\r\n", {"|12", "Pop|"}},
        ParseCase{"a line without a semicolon is malformed",
                  "Pop;1\r\nJust text\r\nRock;2\r\n",
                  {"Pop|1", "!Just text", "Rock|2"}},
        ParseCase{"LF line ends", "Pop;1\nRock;2\n", {"Pop|1", "Rock|2"}},
        ParseCase{"lone CR line ends", "Pop;1\rRock;2\r", {"Pop|1", "Rock|2"}},
        ParseCase{"mixed line ends",
                  "Pop;1\r\nRock;2\nJazz;3\rSoul;4",
                  {"Pop|1", "Rock|2", "Jazz|3", "Soul|4"}},
        ParseCase{"CR CR LF holds an empty line, which ends the list",
                  "Pop;1\r\r\nRock;2\r\n",
                  {"Pop|1"}},
        ParseCase{"empty text", "", {}}));

struct NormalizeCase {
  std::string text;
  std::string expected;
  friend void PrintTo(const NormalizeCase& c, std::ostream* os) { *os << Printable(c.text); }
};

class Normalizing : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(Normalizing, DropsBlanksAndFoldsCase) {
  EXPECT_EQ(NormalizeStyleName(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, Normalizing,
                         ::testing::Values(NormalizeCase{"Cool 8Beat", "cool8beat"},
                                           NormalizeCase{"cool8beat", "cool8beat"},
                                           NormalizeCase{"COOL 8 BEAT", "cool8beat"},
                                           NormalizeCase{"  Cool 8Beat  ", "cool8beat"},
                                           NormalizeCase{"Tab\tStyle", "tab\tstyle"},  // tabs stay
                                           NormalizeCase{"CAF\xC9 Bossa",
                                                         "caf\xE9"
                                                         "bossa"},  // Windows-1252 letters fold
                                           NormalizeCase{"USB:\\Songs\\Hit.MID",
                                                         "usb:\\songs\\hit.mid"},
                                           NormalizeCase{"", ""}));

struct NumberCase {
  std::string text;
  std::string stripped;
  std::optional<int> value;
  friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << Printable(c.text); }
};

class Numbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Numbers, StripAndConvert) {
  const auto& c = GetParam();
  EXPECT_EQ(StripLeadingZeros(c.text), c.stripped) << c.text;
  EXPECT_EQ(StyleNumberValue(c.text), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Numbers,
    ::testing::Values(NumberCase{"0123", "123", 123}, NumberCase{"123", "123", 123},
                      NumberCase{"0000", "0", 0}, NumberCase{" 0012 ", "12", 12},
                      NumberCase{"100", "100", 100}, NumberCase{"65535", "65535", 65535},
                      NumberCase{"0000000000291", "291", 291},
                      NumberCase{"65536", "65536", std::nullopt},
                      NumberCase{"1234567", "1234567", std::nullopt},
                      NumberCase{"12a", "12a", std::nullopt}, NumberCase{"-5", "-5", std::nullopt},
                      NumberCase{"1 2", "1 2", std::nullopt},
                      // No number at all strips to "0" but is no number.
                      NumberCase{"", "0", std::nullopt}, NumberCase{"   ", "0", std::nullopt}));

TEST(StripChars, RemovesEveryCharacterOfTheSet) {
  EXPECT_EQ(StripChars(" Pop  Rock 2 ", " "), "PopRock2");
  EXPECT_EQ(StripChars("a-b_c-", "-_"), "abc");
  EXPECT_EQ(StripChars("abc", ""), "abc");
}

TEST(KeyedCollection, IgnoresCaseAndKeepsTheFirst) {
  KeyedCollection c;
  EXPECT_TRUE(c.Add("Ballad", "1"));
  EXPECT_FALSE(c.Add("BALLAD", "2"));
  EXPECT_TRUE(c.Add("caf\xE9", "3"));
  EXPECT_TRUE(CollectionHasKey(c, "ballad"));
  EXPECT_TRUE(CollectionHasKey(c, "CAF\xC9"));
  EXPECT_FALSE(CollectionHasKey(c, "balla"));
  ASSERT_NE(c.Find("bAlLaD"), nullptr);
  EXPECT_EQ(*c.Find("bAlLaD"), "1");
  EXPECT_EQ(c.Find("nothing"), nullptr);
  EXPECT_EQ(c.Size(), 2u);
}

constexpr const char* kTargetList =
    "# example target\r\n"
    "Cool 8Beat;0012\r\n"
    "Pop Rock;0030\r\n"
    "Ballad;0040\r\n"
    "Ballad1;0041\r\n"
    "Funk2;0052\r\n"
    "Funk3;0053\r\n"
    "Swing1; 060\r\n"
    "Disco;070\r\n"
    "Disco;071\r\n"
    "Samba;0070\r\n"
    ";0005\r\n"
    "\r\n"
    "After The Gap;0090\r\n";

class Resolving : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("TARGET.dat", std::string(kTargetList));
    maps_ = BuildTargetMaps(dir_.Str(), "TARGET");
  }
  std::optional<std::string> Resolve(const std::string& number, const std::string& text) const {
    return ResolveTargetStyle(number, text, maps_);
  }
  TempDir dir_;
  TargetMaps maps_;
};

TEST_F(Resolving, BuildsTheMapsFromTheListUpToTheGap) {
  ASSERT_NE(maps_.nameMap.Find("cool8beat"), nullptr);
  EXPECT_EQ(*maps_.nameMap.Find("cool8beat"), "12");
  EXPECT_TRUE(CollectionHasKey(maps_.numberSet, "12"));
  EXPECT_EQ(*maps_.nameMap.Find("disco"), "70");  // the first of duplicate names
  EXPECT_EQ(*maps_.nameMap.Find("swing1"), "60");
  EXPECT_FALSE(CollectionHasKey(maps_.numberSet, "90"));
  EXPECT_FALSE(CollectionHasKey(maps_.nameMap, "afterthegap"));
  EXPECT_TRUE(CollectionHasKey(maps_.numberSet, "5"));
  EXPECT_FALSE(CollectionHasKey(maps_.nameMap, ""));  // a line without a name names nothing
}

TEST_F(Resolving, FollowsTheLookupSteps) {
  struct Case {
    const char* number;
    const char* text;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"0012", "Cool 8Beat", "12"},             // the number the target gives the record's name
      {"0012", "Anything Else", std::nullopt},  // not one the target gives another style
      {"0071", "Funk", "52"},                   // also a second line's number gives way
      {"0999", "COOL 8 BEAT", "12"},            // then the normalised name
      {"0999", " cool8beat ", "12"},            //
      {"0999", "Pop Rock 2", "30"},             // the name without its last digit
      {"0999", "Pop Rock 9", "30"},             //
      {"0999", "Ballad3", "40"},                // Ballad before Ballad1
      {"0999", "Ballad12", "41"},               // one digit only is dropped
      {"0999", "Funk", "52"},                   // funk1 is missing, funk2 follows
      {"0999", "Funk 7", "52"},                 // funk, then funk1 to funk3
      {"0999", "Swing", "60"},                  //
      {"0999", "Swing 4", "60"},                //
      {"0999", "Disco", "70"},                  // the first of duplicate names
      {"0999", "Funk4", "52"},                  //
      {"0999", "Funk0", std::nullopt},          // 0 is not a variant digit
      {"0999", "Samba 4", "70"},                //
      {"0999", "After The Gap", std::nullopt},
      {"0999", "Tango", std::nullopt},                 //
      {"0999", "", std::nullopt},                      // an empty text matches no style
      {"0012", "USB:\\Songs\\Hit.mid", std::nullopt},  // a media reference is never looked up
      {"0999", "Cool 8Beat:", std::nullopt},           //
      {"0005", "HD: Cool 8Beat", std::nullopt},        //
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Resolve(c.number, c.text), c.expected) << c.number << " " << c.text;
    // The pass's numeric form agrees.
    const std::optional<int> expectedNumber =
        c.expected ? std::optional<int>(std::stoi(*c.expected)) : std::nullopt;
    EXPECT_EQ(ResolveTargetStyleNumber(std::stoi(c.number), c.text, maps_), expectedNumber)
        << c.number << " " << c.text;
  }
}

TEST(ResolveTargetStyleNumber, NumberZeroAndListNumbersThatAreNoNumbers) {
  TempDir dir;
  dir.Write("T.dat", std::string("Zero;0000\r\nOdd;12a\r\nBig;70000\r\n"));
  const auto maps = BuildTargetMaps(dir.Str(), "T");
  EXPECT_EQ(ResolveTargetStyleNumber(0, "Zero", maps), 0);
  EXPECT_EQ(ResolveTargetStyle("0000", "Zero", maps), "0");
  // The text form finds these names; their numbers cannot be written, so the pass finds nothing.
  EXPECT_EQ(ResolveTargetStyle("0999", "Odd", maps), "12a");
  EXPECT_EQ(ResolveTargetStyleNumber(999, "Odd", maps), std::nullopt);
  EXPECT_EQ(ResolveTargetStyle("0999", "Big", maps), "70000");
  EXPECT_EQ(ResolveTargetStyleNumber(999, "Big", maps), std::nullopt);
}

TEST(ResolveTargetStyle, EmptyTargetFindsNothing) {
  TempDir dir;
  const auto maps = BuildTargetMaps(dir.Str(), "MISSING");
  EXPECT_EQ(ResolveTargetStyle("0012", "Cool 8Beat", maps), std::nullopt);
}

TEST(ReadStyleList, SkipsMalformedLinesAndEmptyModels) {
  TempDir dir;
  dir.Write("M.dat", std::string("Pop;1\r\nbroken\r\nRock;2\r\n"));
  dir.Write(".dat", std::string("Hidden;1\r\n"));
  const auto entries = ReadStyleList(dir.Str(), "M");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].name, "Rock");
  EXPECT_EQ(ReadStyleListLines(dir.Str(), "M").size(), 3u);
  EXPECT_TRUE(ReadStyleList(dir.Str(), "").empty());  // no model names no file
  EXPECT_TRUE(ReadStyleList(dir.Str(), "Nope").empty());
}

TEST(BuildSourceStyles, KeysByNumberAndKeepsTheUntrimmedName) {
  TempDir dir;
  dir.Write("SRC.dat", std::string("  Jazz Club ;45\r\nCool Beat;0291\r\nOther;291\r\nx\r\n"));
  const auto styles = BuildSourceStyles(dir.Str(), "SRC");
  ASSERT_NE(styles.Find("45"), nullptr);
  EXPECT_EQ(*styles.Find("45"), "  Jazz Club ");
  ASSERT_NE(styles.Find("291"), nullptr);
  EXPECT_EQ(*styles.Find("291"), "Cool Beat");  // the first of duplicate numbers
  EXPECT_EQ(styles.Size(), 2u);
}

struct ComboCase {
  const char* what;
  std::string text;
  std::vector<std::string> entries;  // "text=data"
  bool failed;
  int errorNumber;
  std::optional<std::string> lastName;
  std::optional<std::string> lastNumber;
  friend void PrintTo(const ComboCase& c, std::ostream* os) { *os << c.what; }
};

class ComboFilling : public ::testing::TestWithParam<ComboCase> {};

TEST_P(ComboFilling, StopsAtTheFirstBadLine) {
  const auto& c = GetParam();
  TempDir dir;
  dir.Write("T.dat", c.text);
  const auto fill = StyleComboEntries(dir.Str(), "T");
  std::vector<std::string> entries;
  for (const auto& e : fill.entries) entries.push_back(e.text + "=" + std::to_string(e.data));
  EXPECT_EQ(entries, c.entries) << c.what;
  EXPECT_EQ(fill.failed, c.failed) << c.what;
  EXPECT_EQ(fill.errorNumber, c.errorNumber) << c.what;
  EXPECT_EQ(fill.lastGoodName, c.lastName) << c.what;
  EXPECT_EQ(fill.lastGoodNumber, c.lastNumber) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ComboFilling,
    ::testing::Values(ComboCase{"good list, duplicates shown",
                                "# c\r\n Cool 8Beat ;0012\r\nPop;7\r\nPop;8\r\n",
                                {"Cool 8Beat=12", "Pop=7", "Pop=8"},
                                false,
                                0,
                                "Pop",
                                "8"},
                      ComboCase{"line without a semicolon",
                                "Pop;7\r\nBallad;0040\r\nbroken\r\nRock;9\r\n",
                                {"Pop=7", "Ballad=40"},
                                true,
                                5,
                                "Ballad",
                                "0040"},
                      ComboCase{"number that is not one",
                                "Pop;7\r\nRock;9x\r\nSwing;3\r\n",
                                {"Pop=7"},
                                true,
                                13,
                                "Pop",
                                "7"},
                      ComboCase{
                          "bad first line", "bad\r\n", {}, true, 5, std::nullopt, std::nullopt},
                      ComboCase{"empty file", "", {}, false, 0, std::nullopt, std::nullopt}));

// The order of the resolution: the record's own style keeps its number, then the name, then the
// near names; a number the target gives another style is never kept for a name.
TEST_F(Resolving, KeepsTheStoredNumberOnlyForTheRecordsOwnStyle) {
  struct Case {
    int number;
    const char* text;
    std::optional<int> expected;
    bool exact;
  };
  const Case cases[] = {
      {70, "Disco", 70, true},        // a name the list holds twice keeps either number
      {71, "DISCO", 71, true},        //
      {70, "Samba", 70, true},        // a number the list holds twice keeps either name
      {12, "Disco", 70, true},        // another style's number: the name's number
      {41, "Ballad 1", 41, true},     // names compare normalised
      {40, "Ballad 1", 41, true},     //
      {999, "0999", 999, true},       // a user style keeps its number
      {12, "12", 12, true},           // as does a number the target names
      {5, " 0005 ", 5, true},         //
      {30, "Pop Rock 2", 30, false},  // a near name is found, but not as the text names it
      {52, "Funk", 52, false},        //
      {30, "Acid Jazz", std::nullopt, true},
      {12, "", std::nullopt, true},  // an empty text keeps nothing, not even a named number
      {999, "12a", std::nullopt, true},
  };
  for (const auto& c : cases) {
    const auto match = ResolveTargetStyleMatch(c.number, c.text, maps_);
    ASSERT_EQ(match.has_value(), c.expected.has_value()) << c.number << " " << c.text;
    EXPECT_EQ(ResolveTargetStyleNumber(c.number, c.text, maps_), c.expected) << c.text;
    const auto text = Resolve("0" + std::to_string(c.number), c.text);
    EXPECT_EQ(text ? std::optional<int>(std::stoi(*text)) : std::nullopt, c.expected) << c.text;
    if (match) {
      EXPECT_EQ(match->number, *c.expected) << c.number << " " << c.text;
      EXPECT_EQ(match->exact, c.exact) << c.number << " " << c.text;
    }
  }
}

// Every shipped list resolved against itself, each number with the name a file of that model
// shows for it (the first line that gives the number): the number stays, exactly.
TEST(ResolveOnShippedLists, TheSameModelKeepsEveryNumber) {
  const std::string dataDir = CADENZO_DATA_DIR;
  int lists = 0;
  for (const auto& file : std::filesystem::directory_iterator(dataDir)) {
    if (file.path().extension() != ".dat") continue;
    const std::string model = file.path().stem().string();
    const TargetMaps maps = BuildTargetMaps(dataDir, model);
    const KeyedCollection shown = BuildSourceStyles(dataDir, model);
    ASSERT_GT(shown.Size(), 50u) << model;
    for (const auto& [number, name] : shown.Items()) {
      const auto value = StyleNumberValue(number);
      if (!value) continue;
      const auto match = ResolveTargetStyleMatch(*value, name, maps);
      ASSERT_TRUE(match.has_value()) << model << " " << number << " " << name;
      EXPECT_EQ(match->number, *value) << model << " " << name;
      EXPECT_TRUE(match->exact) << model << " " << name;
    }
    ++lists;
  }
  EXPECT_GE(lists, 10);
}

// Several steps of one command read the same list; however the file changed between two reads,
// the second read gives the new styles: a new size, a new time, or a rewrite of the same size
// within one tick of the file system's clock, whether the file was old or just written.
struct ChangeCase {
  const char* what;
  bool oldFile;   // the first read finds a file last changed an hour ago
  bool sameSize;  // the new text has the old one's size
  bool keepTime;  // the rewrite leaves the modification time as it was
  friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.what; }
};

class ChangedStyleList : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangedStyleList, IsReadAgain) {
  const ChangeCase& c = GetParam();
  TempDir dir;
  const auto path = dir.Write("M.dat", std::string("Funk;77\r\n"));
  const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  if (c.oldFile) std::filesystem::last_write_time(path, past);
  const auto firstTime = std::filesystem::last_write_time(path);
  ASSERT_EQ(Compact(ReadStyleListLines(dir.Str(), "M")), std::vector<std::string>{"Funk|77"});
  // Read twice, as the steps of a command do.
  ASSERT_EQ(Compact(ReadStyleListLines(dir.Str(), "M")), std::vector<std::string>{"Funk|77"});

  dir.Write("M.dat", std::string(c.sameSize ? "Soul;55\r\n" : "Soul;550\r\n"));
  if (c.keepTime) {
    std::filesystem::last_write_time(path, firstTime);
  } else if (c.oldFile) {
    std::filesystem::last_write_time(path, past + std::chrono::minutes(1));
  }
  EXPECT_EQ(Compact(ReadStyleListLines(dir.Str(), "M")),
            std::vector<std::string>{c.sameSize ? "Soul|55" : "Soul|550"});
  EXPECT_EQ(ReadStyleList(dir.Str(), "M").front().name, "Soul");
}

INSTANTIATE_TEST_SUITE_P(
    StyleLists, ChangedStyleList,
    ::testing::Values(ChangeCase{"old file, new size", true, false, true},
                      ChangeCase{"old file, same size, new time", true, true, false},
                      ChangeCase{"new file, new size", false, false, true},
                      ChangeCase{"new file, same size, same tick", false, true, true}),
    [](const auto& info) {
      std::string name;
      for (const char ch : std::string(info.param.what)) {
        if (std::isalnum(static_cast<unsigned char>(ch))) name.push_back(ch);
      }
      return name;
    });

}  // namespace
}  // namespace cadenzo
