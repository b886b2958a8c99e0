// SPDX-License-Identifier: GPL-3.0-or-later
#include "charset/cp1252.h"

#include <gtest/gtest.h>

#include "app/runtime_error.h"
#include "support/builders.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

struct CodecCase {
  std::string cp1252;
  std::string utf8;
};

class Codec : public ::testing::TestWithParam<CodecCase> {};

TEST_P(Codec, RoundTrips) {
  const auto& c = GetParam();
  EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
  EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
}

INSTANTIATE_TEST_SUITE_P(Table, Codec,
                         ::testing::Values(CodecCase{"abc", "abc"},
                                           CodecCase{"\x80", "\xE2\x82\xAC"},    // euro
                                           CodecCase{"caf\xE9", "caf\xC3\xA9"},  // é
                                           CodecCase{"\x9F", "\xC5\xB8"},        // Ÿ
                                           CodecCase{"\x81", "\xC2\x81"},        // undefined
                                           CodecCase{"\xFF", "\xC3\xBF"}));

TEST(Codec, UnmappableAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");        // a CJK character
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x8E\xB5x"), "?x");  // an emoji
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");              // cut sequence
}

TEST(Codec, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int i = 1; i < 256; ++i) all.push_back(static_cast<char>(i));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CaseFolding, CoversAsciiAndWindows1252Letters) {
  EXPECT_TRUE(EqualsNoCase("Cool 8Beat", "COOL 8BEAT"));
  EXPECT_TRUE(EqualsNoCase("\xC9t\xE9", "\xE9T\xC9"));  // Été / éTÉ
  EXPECT_TRUE(EqualsNoCase("\x8A", "\x9A"));            // Š / š
  EXPECT_FALSE(EqualsNoCase("\xD7", "\xF7"));           // × and ÷ are not letters
  EXPECT_EQ(LowerCp1252("ABC\xDE"), "abc\xFE");
  EXPECT_EQ(UpperCp1252("abc\xFF"), "ABC\x9F");
}

// Lower and upper case are each other's inverse on every letter, and every other byte is left
// as it is: 26 ASCII letters, 30 accented letters, and the four pairs of 0x8A to 0x9F.
TEST(CaseFolding, LowerAndUpperPairEveryLetterOfTheCodePage) {
  int pairs = 0;
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    const char lower = LowerCp1252(c);
    if (lower == c) continue;
    ++pairs;
    EXPECT_EQ(UpperCp1252(lower), c) << "byte " << i;
    EXPECT_EQ(LowerCp1252(lower), lower) << "byte " << i;
  }
  EXPECT_EQ(pairs, 26 + 30 + 4);
}

TEST(Trim, TrimsBlanksOnly) {
  EXPECT_EQ(TrimBlanks("  a b \t "), "a b \t");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimLeftBlanks("  x "), "x ");
}

TEST(Lines, SplitAtCrLfAndDropTheLastPiece) {
  const auto lines = SplitCrLfLines("a\r\nb\nc\r\n\r\nlast");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b\nc");
  EXPECT_EQ(lines[2], "");
  EXPECT_TRUE(SplitCrLfLines("no line end").empty());
}

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporary) {
  testing::TempDir tmp;
  const auto target = tmp.Write("out.mfd", std::string("old"));
  WriteFileAtomic(target, std::string_view("new content"));
  EXPECT_EQ(testing::ReadText(target), "new content");
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.Path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(AtomicWrite, LogsLeftToTheWriteBackAreReplacedWholeToo) {
  testing::TempDir tmp;
  const auto target = tmp.Write("ExportLog.txt", std::string(5000, 'o'));
  WriteFileAtomic(target, std::string_view("short log\r\n"), Flush::kWriteBack);
  EXPECT_EQ(testing::ReadText(target), "short log\r\n");
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.Path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(ReadFile, ReadsFilesLargerThanOneBufferWhole) {
  testing::TempDir tmp;
  std::string text;
  for (int i = 0; text.size() < 200000; ++i) text += "Style " + std::to_string(i) + ";1\r\n";
  const auto path = tmp.Write("big.dat", text);
  EXPECT_EQ(ReadWholeFile(path), text);
  const Bytes bytes = ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
}

TEST(AtomicWrite, FailureLeavesTheOldFileAndNoTemporary) {
  testing::TempDir tmp;
  EXPECT_THROW(WriteFileAtomic(tmp.Path() / "missing" / "x.mfd", std::string_view("x")),
               RuntimeError);
  const auto dir = tmp.Path() / "adir";
  std::filesystem::create_directory(dir);
  EXPECT_THROW(WriteFileAtomic(dir, std::string_view("x")), RuntimeError);
  EXPECT_TRUE(std::filesystem::is_directory(dir));
}

TEST(AtomicWrite, WritesThroughALinkAndRefusesDevices) {
  testing::TempDir tmp;
  const auto real = tmp.Write("real.mfd", std::string("old"));
  const auto link = tmp.Path() / "link.mfd";
  std::filesystem::create_symlink(real, link);
  WriteFileAtomic(link, std::string_view("new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(testing::ReadText(real), "new");
  try {
    WriteFileAtomic("/dev/null", std::string_view("x"));
    FAIL() << "a device was replaced";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kPathFileAccess);
  }
  EXPECT_FALSE(std::filesystem::is_regular_file("/dev/null"));
}

TEST(ReadFile, MissingFileGivesEmptyTextOrError53) {
  testing::TempDir tmp;
  EXPECT_EQ(ReadWholeFile(tmp.Path() / "none.dat"), "");
  EXPECT_EQ(ReadWholeFile(tmp.Path()), "");
  try {
    ReadFileBytes(tmp.Path() / "none.mfd");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kFileNotFound);
  }
}

}  // namespace
}  // namespace cadenzo
