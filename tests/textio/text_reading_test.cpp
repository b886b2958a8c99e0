// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule by which the program reads its text files: line ends, the last line, encodings.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/builders.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, EveryLineEndAlike) {
  const std::vector<std::string_view> got = SplitTextLines(GetParam().text);
  EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitLines,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"Lf", "a\nb\n", {"a", "b"}},
                      SplitCase{"LoneCr", "a\rb\r", {"a", "b"}},
                      SplitCase{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
                      SplitCase{"OnlyALineWithoutEnd", "a", {"a"}},
                      SplitCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      SplitCase{"EmptyLinesKept", "\r\n\n\ra", {"", "", "", "a"}},
                      SplitCase{"CrCrLfIsTwoLineEnds", "a\r\r\nb", {"a", "", "b"}},
                      SplitCase{"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"TabsStayInTheLine", "a\tb\r\n", {"a\tb"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Cutting a text at a separator loses nothing: the pieces joined by it give the text back, none
// holds it, and there is always one piece more than separators.
TEST(SplitAt, PiecesJoinBackToTheText) {
  const std::string alphabet = std::string("a,\t ") + '\0';
  for (const char separator : {',', '\t'}) {
    for (unsigned seed = 0; seed < 500; ++seed) {
      std::string text;
      for (unsigned n = seed; n > 0; n /= 5) text += alphabet[n % 5];
      const std::vector<std::string_view> pieces = SplitAt(text, separator);
      std::string joined;
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined += separator;
        joined += pieces[i];
        EXPECT_EQ(pieces[i].find(separator), std::string_view::npos) << text;
      }
      EXPECT_EQ(joined, text);
      EXPECT_EQ(pieces.size(),
                static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1)
          << text;
    }
  }
}

std::string Utf16Le(const std::string& ascii, bool mark) {
  std::string out = mark ? "\xFF\xFE" : "";
  for (const char c : ascii) out += std::string{c, '\0'};
  return out;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  TextEncodings encodings;
  std::string text;     // when readable
  std::string problem;  // empty: readable
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, GivesSingleByteTextOrSaysWhyNot) {
  const DecodeCase& c = GetParam();
  const TextFileContents got = DecodeTextFile(c.bytes, c.encodings);
  EXPECT_EQ(got.problem.value_or(""), c.problem);
  EXPECT_EQ(got.text, c.problem.empty() ? c.text : "");
}

constexpr auto kLists = TextEncodings::kUtf8Lists;
constexpr auto kMarked = TextEncodings::kMarkedUtf8Only;
const std::string kUtf16 = "is UTF-16 text; save it as UTF-8 or Windows-1252 text";

INSTANTIATE_TEST_SUITE_P(
    Bytes, Decoding,
    ::testing::Values(
        DecodeCase{"Ascii", "Pop;1\r\n", kLists, "Pop;1\r\n", ""},
        DecodeCase{"Utf8Converted", "Caf\xC3\xA9;1\r\n\xE2\x82\xAC;2", kLists,
                   "Caf\xE9;1\r\n\x80;2", ""},
        DecodeCase{"Utf8WithMarkConverted",
                   "\xEF\xBB\xBF"
                   "Caf\xC3\xA9;1",
                   kLists, "Caf\xE9;1", ""},
        DecodeCase{"AsciiWithMarkLosesTheMark", "\xEF\xBB\xBFPop;1", kLists, "Pop;1", ""},
        DecodeCase{"CharacterBeyondWindows1252", "\xE2\x99\xAA;1", kLists, "?;1", ""},
        DecodeCase{"SingleByteTextKept", "Caf\xE9 Cr\xE8me;1", kLists, "Caf\xE9 Cr\xE8me;1", ""},
        // "Ã©" in Windows-1252 is not well-formed UTF-8 once anything else is beyond ASCII.
        DecodeCase{"OverlongUtf8IsSingleByte", "\xC0\xAF;1", kLists, "\xC0\xAF;1", ""},
        DecodeCase{"SurrogateIsSingleByte", "\xED\xA0\x80", kLists, "\xED\xA0\x80", ""},
        DecodeCase{"UnmarkedUtf8KeptForTheImport", "Caf\xC3\xA9", kMarked, "Caf\xC3\xA9", ""},
        DecodeCase{"MarkedUtf8ConvertedForTheImport",
                   "\xEF\xBB\xBF"
                   "Caf\xC3\xA9",
                   kMarked, "Caf\xE9", ""},
        DecodeCase{"MarkButNoUtf8",
                   "\xEF\xBB\xBF"
                   "Caf\xE9",
                   kLists, "", "is marked as UTF-8 text but is not"},
        DecodeCase{"Utf16LittleEndianMarked", Utf16Le("Pop;1\r\n", true), kLists, "", kUtf16},
        DecodeCase{"Utf16BigEndianMarked", "\xFE\xFF" + std::string("\0P\0o", 4), kMarked, "",
                   kUtf16},
        DecodeCase{"Utf16Unmarked", Utf16Le("Pop;1\r\nRock;2\r\n", false), kLists, "", kUtf16},
        DecodeCase{"Binary",
                   std::string("\x7F"
                               "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                               20),
                   kLists, "", "is not a text file (it holds zero bytes)"},
        DecodeCase{"ZeroByteInADelimitedTextKept", std::string("a\tb\0c\r\n", 7), kMarked,
                   std::string("a\tb\0c\r\n", 7), ""},
        DecodeCase{"Utf16DelimitedTextRefused", Utf16Le("a\tb\tc\r\n", false), kMarked, "", kUtf16},
        DecodeCase{"OneZeroByte", std::string("Pop;1\r\nRo\0ck;2\r\n", 16), kLists, "",
                   "is not a text file (it holds zero bytes)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadTextFile, MissingLargeAndReadableFiles) {
  testing::TempDir tmp;
  const auto none = ReadTextFile(tmp.Path() / "none.dat", 100, kLists);
  EXPECT_TRUE(none.missing);
  EXPECT_FALSE(none.problem);
  EXPECT_TRUE(ReadTextFile(tmp.Path(), 100, kLists).missing);  // a folder is no file

  const auto path = tmp.Write("list.dat", std::string(101, 'x'));
  const auto large = ReadTextFile(path, 100, kLists);
  EXPECT_FALSE(large.missing);
  EXPECT_EQ(large.problem.value_or(""),
            "is larger than 100 bytes, far more than such a file holds");
  EXPECT_EQ(large.text, "");
  const auto exact = ReadTextFile(path, 101, kLists);
  EXPECT_FALSE(exact.problem);
  EXPECT_EQ(exact.text, std::string(101, 'x'));
  EXPECT_EQ(ReadTextFile(tmp.Write("u.dat", std::string("\xC3\xA9")), 10, kLists).text, "\xE9");
}

}  // namespace
}  // namespace cadenzo
