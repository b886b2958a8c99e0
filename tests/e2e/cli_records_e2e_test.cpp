// SPDX-License-Identifier: GPL-3.0-or-later
// The built cadenzo-cli on files that number their records in odd ways, hold genres that read
// "deleted", or end in a short last record: it lists and saves every record, in file order.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "support/builders.h"
#include "support/cli_runner.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::FileBuilder;
using testing::Quote;
using testing::ReadText;
using testing::RecordBuilder;
using testing::RunCli;
using testing::RunResult;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

class CliRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("app/PSR-S970.dat", std::string("# example\r\nPop Rock;12\r\nFunk;77\r\n"));
    dir.Write("app/PSR-2000.dat", std::string("# example\r\nPop Rock;014\r\nFunk1;020\r\n"));
    fs::create_directories(dir.Path() / "user");
  }

  RunResult Run(const std::string& args) { return RunCli(CADENZO_CLI, dir.Path(), args); }
  std::string P(const std::string& name) const { return Quote(dir.Str() + name); }
  Bytes Image(const std::string& name) const {
    const std::string text = ReadText(dir.Path() / name);
    return Bytes(text.begin(), text.end());
  }

  // The data lines of `list` output, each split at TAB.
  static std::vector<std::vector<std::string>> ListedRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = out.find("\r\n");  // after the header
    while (start != std::string::npos && start + 2 < out.size()) {
      const std::size_t end = out.find("\r\n", start + 2);
      const std::string line = out.substr(start + 2, end - start - 2);
      std::vector<std::string> fields;
      std::stringstream split(line);
      for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
      rows.push_back(fields);
      start = end;
    }
    return rows;
  }

  static std::vector<std::uint8_t> Field(const Bytes& image, std::size_t record, std::size_t from,
                                         std::size_t to) {
    const std::size_t r = mfd::RecordOffset(record);
    return {image.begin() + static_cast<std::ptrdiff_t>(r + from),
            image.begin() + static_cast<std::ptrdiff_t>(r + to)};
  }

  TempDir dir;
};

std::string SongName(int i) {
  std::string digits = std::to_string(i + 1);
  return "Song " + std::string(3 - digits.size(), '0') + digits;
}

struct NumberingCase {
  const char* name;
  int (*number)(int i);
  friend void PrintTo(const NumberingCase& c, std::ostream* os) { *os << c.name; }
};

class OddNumbers : public CliRecords, public ::testing::WithParamInterface<NumberingCase> {};

// 300 records whatever numbers they carry: the list shows all of them in file order, and a
// conversion to the same model and to another writes all of them, renumbered 0 to 299.
TEST_P(OddNumbers, EveryRecordIsListedAndConvertedInFileOrder) {
  FileBuilder file;
  for (int i = 0; i < 300; ++i) {
    file.records.push_back(RecordBuilder{.number = GetParam().number(i),
                                         .style = i % 2 ? 77 : 12,
                                         .tempo = 60 + i,
                                         .music = SongName(i),
                                         .keywords = "k" + std::to_string(i),
                                         .tail0 = static_cast<std::uint8_t>(i)});
  }
  const Bytes original = file.Build();
  dir.Write("in.mfd", original);

  const RunResult listed = Run("list " + P("in.mfd"));
  ASSERT_EQ(listed.code, 0) << listed.err;
  auto rows = ListedRows(listed.out);
  ASSERT_EQ(rows.size(), 300u);
  for (int i = 0; i < 300; ++i) {
    ASSERT_GE(rows[static_cast<std::size_t>(i)].size(), 4u);
    EXPECT_EQ(rows[static_cast<std::size_t>(i)][2], SongName(i)) << "row " << i;
    EXPECT_EQ(rows[static_cast<std::size_t>(i)][3], i % 2 ? "Funk" : "Pop Rock") << "row " << i;
  }

  RunResult r = Run("convert " + P("in.mfd") + " --target PSR-S970 -o " + P("same.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("read 300, written 300, default style 0, dropped 0", 0), 0u) << r.out;
  const Bytes same = Image("same.mfd");
  ASSERT_EQ(HeaderCount(same), 300);
  for (std::size_t n = 1; n <= 300; ++n) {
    EXPECT_EQ(std::size_t{ReadU16(same, mfd::RecordOffset(n))}, n - 1) << n;
    EXPECT_EQ(Field(same, n, 2, 90), Field(original, n, 2, 90)) << n;
  }

  r = Run("convert " + P("in.mfd") + " --target PSR-2000 -o " + P("other.mfd"));
  ASSERT_EQ(r.code, 0) << r.err;
  const Bytes other = Image("other.mfd");
  ASSERT_EQ(HeaderCount(other), 300);
  for (std::size_t n = 1; n <= 300; ++n) {
    EXPECT_EQ(std::size_t{ReadU16(other, mfd::RecordOffset(n))}, n - 1) << n;
    EXPECT_EQ(ReadU16(other, mfd::RecordOffset(n) + mfd::kStyle), n % 2 ? 14 : 20) << n;
    EXPECT_EQ(DecodeMusic(other, mfd::RecordOffset(n)), SongName(static_cast<int>(n) - 1)) << n;
  }
  const RunResult relisted = Run("list " + P("other.mfd"));
  ASSERT_EQ(relisted.code, 0) << relisted.err;
  rows = ListedRows(relisted.out);
  ASSERT_EQ(rows.size(), 300u);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i)][2], SongName(i));
}

INSTANTIATE_TEST_SUITE_P(
    Numbering, OddNumbers,
    ::testing::Values(NumberingCase{"AllZero", [](int) { return 0; }},
                      NumberingCase{"FromOne", [](int i) { return i + 1; }},
                      NumberingCase{"PastTheCount", [](int i) { return 65535 - i; }},
                      NumberingCase{"Shuffled", [](int i) { return (i * 7) % 300; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A genre that really is "deleted", also with a zero byte inside, is an ordinary record.
TEST_F(CliRecords, GenresThatReadDeletedAreListedAndSaved) {
  const FileBuilder file{
      .records = {RecordBuilder{.style = 12, .music = "A", .genre = "deleted"},
                  RecordBuilder{
                      .number = 1, .style = 12, .music = "B", .genre = std::string("del\0eted", 8)},
                  RecordBuilder{.number = 2, .style = 77, .music = "C"}}};
  const Bytes original = file.Build();
  dir.Write("in.mfd", original);

  const RunResult listed = Run("list " + P("in.mfd"));
  ASSERT_EQ(listed.code, 0) << listed.err;
  const auto rows = ListedRows(listed.out);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1], "deleted");
  EXPECT_EQ(rows[1][1], "deleted");
  EXPECT_EQ(rows[2][1], "Pop");

  for (const char* target : {"PSR-S970", "PSR-2000"}) {
    const RunResult r =
        Run("convert " + P("in.mfd") + " --target " + Quote(target) + " -o " + P("out.mfd"));
    ASSERT_EQ(r.code, 0) << target << r.err;
    const Bytes saved = Image("out.mfd");
    ASSERT_EQ(HeaderCount(saved), 3) << target;
    for (std::size_t n = 1; n <= 3; ++n) {
      EXPECT_EQ(Field(saved, n, mfd::kMusic, mfd::kKeywords),
                Field(original, n, mfd::kMusic, mfd::kKeywords))
          << target << " record " << n;
    }
  }
}

// A last record that lacks only its unread bytes 90 and 91 is listed and saved whole; one cut
// inside the bytes that are read is damaged, and nothing is written.
TEST_F(CliRecords, AShortLastRecordIsReadUnlessCutInsideItsFields) {
  const FileBuilder file{.records = {RecordBuilder{.style = 12, .music = "A"},
                                     RecordBuilder{.number = 1, .style = 77, .music = "B"},
                                     RecordBuilder{.number = 2,
                                                   .style = 12,
                                                   .music = "Last",
                                                   .keywords = "end",
                                                   .intro = 2,
                                                   .next = 7}}};
  const Bytes whole = file.Build();
  for (const std::size_t cut : {1, 2, 3, 40}) {
    SCOPED_TRACE("cut by " + std::to_string(cut));
    const Bytes bytes(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut));
    dir.Write("in.mfd", bytes);
    fs::remove(dir.Path() / "out.mfd");
    const RunResult listed = Run("list " + P("in.mfd"));
    const RunResult converted =
        Run("convert " + P("in.mfd") + " --target PSR-S970 -o " + P("out.mfd"));
    if (cut > 2) {
      EXPECT_EQ(listed.code, 1);
      EXPECT_EQ(converted.code, 1);
      EXPECT_FALSE(fs::exists(dir.Path() / "out.mfd"));
      continue;
    }
    ASSERT_EQ(listed.code, 0) << listed.err;
    const auto rows = ListedRows(listed.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][2], "Last");
    EXPECT_EQ(rows[2][6], "end");
    EXPECT_EQ(rows[2][10], "Intro 2");
    EXPECT_EQ(rows[2][11], "Main D");
    ASSERT_EQ(converted.code, 0) << converted.err;
    const Bytes saved = Image("out.mfd");
    ASSERT_EQ(HeaderCount(saved), 3);
    EXPECT_EQ(Field(saved, 3, 2, 90), Field(whole, 3, 2, 90));
  }
}

}  // namespace
}  // namespace cadenzo
