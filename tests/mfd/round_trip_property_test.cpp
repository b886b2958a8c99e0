// SPDX-License-Identifier: GPL-3.0-or-later
// Random valid files of every model, from fixed seeds: saved for their own model they keep their
// records, and through the delimited text into a blank file they keep every field the text
// carries.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::FileRefBuilder;
using testing::RecordBuilder;
using Bytes = std::vector<std::uint8_t>;

constexpr int kListedStyles = 40;  // every model lists styles 1 to 40 by the same names

std::string StyleName(int number) { return "Groove " + std::to_string(number) + " Mix"; }

// A text of printable Windows-1252 bytes that a delimited line carries unchanged: no tab, no
// line break, no zero, no blank at either end.
std::string RandomText(std::mt19937& random, std::size_t longest) {
  const std::size_t length = random() % (longest + 1);
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    char c;
    do {
      c = static_cast<char>(0x20 + random() % 0xE0);
    } while (c == 0x7F || ((i == 0 || i + 1 == length) && c == ' '));
    text.push_back(c);
  }
  return text;
}

struct RandomFile {
  FileBuilder builder;
  bool hasMedia = false;
};

RandomFile MakeRandomFile(std::mt19937& random, const Instrument& model) {
  RandomFile out;
  FileBuilder& file = out.builder;
  file.model = std::string(model.name);
  file.generation = model.fileGeneration;
  const int count = static_cast<int>(random() % 25);
  std::vector<FileRefBuilder> refs;
  // Every target that keeps references keeps those on the USB stick and the preset area; only
  // the TYROS 4 and 5 keep those on the hard disk and the user area too.
  static const char* const kDrives[] = {"I:", "D:", "E:", "C:"};
  const bool allDrives = model.name == "TYROS 4" || model.name == "TYROS 5";
  for (int i = 0; i < count; ++i) {
    RecordBuilder record;
    record.number = i;
    const bool media = model.keepsFileReferences && random() % 4 == 0;
    record.style = media ? mfd::kMediaStyle : 1 + static_cast<int>(random() % kListedStyles);
    record.numerator = 1 + static_cast<int>(random() % 16);
    record.denominator = 1 << (random() % 5);
    record.tempo = 40 + static_cast<int>(random() % 240);
    record.flags = static_cast<std::uint8_t>(random() % 8);
    record.music = RandomText(random, mfd::kMusicLength);
    record.genre = RandomText(random, mfd::kGenreLength);
    record.keywords = RandomText(random, mfd::kKeywordsLength);
    record.intro = static_cast<int>(random() % 4);  // Off or an intro
    record.next = random() % 2 == 0 ? 0 : 4 + static_cast<int>(random() % 7);
    if (media) {
      // A song has no time signature and no tempo; a style file keeps the record's own.
      const bool song = random() % 2 == 0;
      if (song) {
        record.numerator = 255;
        record.denominator = 255;
        record.tempo = 0xFFFF;
      }
      refs.push_back({.position = i,
                      .type = song ? 1 : 0,
                      .path = std::string(kDrives[random() % (allDrives ? 4 : 2)]) + "\\Songs\\" +
                              std::to_string(random() % 1000) + (song ? ".mid" : ".sty")});
      out.hasMedia = true;
    }
    file.records.push_back(record);
  }
  // A model that keeps references writes the block whenever it has records; the block begins
  // on the last two bytes of the last record.
  if (model.keepsFileReferences && count > 0) file.fileRefs = refs;
  return out;
}

// Every list text of the rows but the running number: what a record shows.
std::vector<std::vector<std::string>> Fields(const RecordList& list) {
  std::vector<std::vector<std::string>> rows;
  for (const Row& row : list) {
    std::vector<std::string> cells;
    for (int c = col::kGenre; c <= col::kNext; ++c) cells.emplace_back(row.Cell(c));
    rows.push_back(std::move(cells));
  }
  return rows;
}

// The records of an image (header count of them), without the file-reference block.
std::vector<Bytes> Records(const Bytes& image) {
  std::vector<Bytes> records;
  for (int i = 1; i <= HeaderCount(image); ++i) {
    const auto at = image.begin() + static_cast<std::ptrdiff_t>(mfd::RecordOffset(i));
    records.emplace_back(at, at + static_cast<std::ptrdiff_t>(mfd::kRecordSize));
  }
  return records;
}

// The first difference between two record areas, or nothing when they are equal.
std::string FirstDifference(const std::vector<Bytes>& got, const std::vector<Bytes>& want) {
  if (got.size() != want.size()) {
    return std::to_string(got.size()) + " records instead of " + std::to_string(want.size());
  }
  for (std::size_t i = 0; i < got.size(); ++i) {
    for (std::size_t b = 0; b < mfd::kRecordSize; ++b) {
      if (got[i][b] != want[i][b]) {
        return "record " + std::to_string(i + 1) + " byte " + std::to_string(b) + ": " +
               std::to_string(got[i][b]) + " instead of " + std::to_string(want[i][b]);
      }
    }
  }
  return {};
}

// A file of the common format asks for a target; nothing else may be said.
void ExpectOnlyTheNetCommonPrompt(const std::vector<std::string>& texts) {
  for (const std::string& text : texts) {
    EXPECT_EQ(text, "Please select your Target Instrument if not already done.");
  }
}

class RoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int n = 1; n <= kListedStyles; ++n) entries.emplace_back(StyleName(n), std::to_string(n));
    for (const Instrument& model : InstrumentTable()) {
      fx.WriteStyleList(std::string(model.name), entries);
    }
  }

  // Opens the bytes as a fresh first open would, for its own model.
  void Open(const Bytes& bytes) {
    fx.state.TargetInstrument.clear();
    fx.state.FileName.clear();
    fx.PutFile("random.mfd", bytes);
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  }

  AppFixture fx;
};

TEST_F(RoundTrip, SavingForTheSameModelKeepsEveryRecord) {
  std::mt19937 random(20261208);
  int withMedia = 0;
  for (int iteration = 0; iteration < 300; ++iteration) {
    const auto models = InstrumentTable();
    const Instrument& model = models[random() % models.size()];
    const RandomFile file = MakeRandomFile(random, model);
    const Bytes bytes = file.builder.Build();
    Open(bytes);
    ASSERT_TRUE(fx.state.FileLoaded) << model.name << " #" << iteration;
    const auto shown = Fields(fx.state.List);

    Presented(SaveMusicFinderx(fx.state, fx.dialogs, fx.state.SourceInstrument, false,
                               PassMode::kPreview),
              fx.dialogs);
    EXPECT_EQ(FirstDifference(Records(fx.state.SaveBytes), Records(bytes)), "")
        << model.name << " #" << iteration;
    // The saved image reads back as the same rows, media references included.
    Open(fx.state.SaveBytes);
    EXPECT_EQ(Fields(fx.state.List), shown) << model.name << " #" << iteration;
    withMedia += file.hasMedia ? 1 : 0;
  }
  EXPECT_GT(withMedia, 20);
  ExpectOnlyTheNetCommonPrompt(fx.dialogs.Texts());
}

TEST_F(RoundTrip, DelimitedTextIntoABlankFileKeepsEveryField) {
  std::mt19937 random(8122026);
  for (int iteration = 0; iteration < 300; ++iteration) {
    const auto models = InstrumentTable();
    const Instrument& model = models[random() % models.size()];
    const RandomFile file = MakeRandomFile(random, model);
    Open(file.builder.Build());
    ASSERT_TRUE(fx.state.FileLoaded) << model.name << " #" << iteration;
    const auto shown = Fields(fx.state.List);
    const std::string text = DelimitedExportText(fx.state.List) + "\r\n";

    Open(FileBuilder{.model = std::string(model.name), .generation = model.fileGeneration}.Build());
    const ImportResult result =
        Presented(ImportDelimitedText(fx.state, fx.dialogs, text), fx.dialogs);
    EXPECT_EQ(result.imported, static_cast<int>(shown.size())) << model.name << " #" << iteration;
    Presented(SaveMusicFinderx(fx.state, fx.dialogs, fx.state.SourceInstrument, false,
                               PassMode::kPreview),
              fx.dialogs);
    Open(fx.state.SaveBytes);
    EXPECT_EQ(Fields(fx.state.List), shown) << model.name << " #" << iteration;
  }
  ExpectOnlyTheNetCommonPrompt(fx.dialogs.Texts());
}

}  // namespace
}  // namespace cadenzo
