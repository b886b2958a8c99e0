// SPDX-License-Identifier: GPL-3.0-or-later
// Export then import gives the same records: random files of every model whose texts hold tabs,
// line breaks, blanks and apostrophes, whose styles have apostrophes in their names, and whose
// records may have no style, through the delimited text into an empty file and back.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "charset/cp1252.h"
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

constexpr int kListedStyles = 30;

// Every third name holds apostrophes, as "Rock'n'Roll" does in the shipped lists.
std::string StyleName(int number) {
  return number % 3 == 0 ? "Rock'n'Roll " + std::to_string(number)
                         : "Groove " + std::to_string(number);
}

// The models whose records may have no style (a high byte of 0xFF); the older ones read such a
// number as a user style.
bool HasNoStyleRecords(std::string_view model) {
  for (const char* older :
       {"PSR-1000", "PSR-1100", "PSR-2000", "PSR-2100", "TYROS", "CVP-203", "CVP-204", "CVP-205",
        "CVP-206", "CVP-207", "CVP-208", "CVP-209", "CVP-210", "NetCommon"}) {
    if (model == older) return false;
  }
  return true;
}

// Printable Windows-1252 text with blanks, apostrophes, tabs and line breaks anywhere.
std::string RandomText(std::mt19937& random, std::size_t longest) {
  static const std::string kSpecial = " '\t\r\n";
  const std::size_t length = random() % (longest + 1);
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    if (random() % 5 == 0) {
      text.push_back(kSpecial[random() % kSpecial.size()]);
      continue;
    }
    char c;
    do {
      c = static_cast<char>(0x20 + random() % 0xE0);
    } while (c == 0x7F);
    text.push_back(c);
  }
  return text;
}

FileBuilder RandomFile(std::mt19937& random, const Instrument& model) {
  FileBuilder file{.model = std::string(model.name), .generation = model.fileGeneration};
  const int count = 1 + static_cast<int>(random() % 20);
  std::vector<FileRefBuilder> refs;
  for (int i = 0; i < count; ++i) {
    RecordBuilder record;
    record.number = i;
    const unsigned kind = random() % 6;
    if (kind == 0 && HasNoStyleRecords(model.name)) {
      record.style = 0xFF00 + static_cast<int>(random() % 0xFD);  // no style (not 0xFFFD)
    } else if (kind == 1 && model.keepsFileReferences) {
      record.style = mfd::kMediaStyle;
      refs.push_back({.position = i, .type = 1, .path = "I:\\Rock'n'Roll\\" + std::to_string(i)});
    } else {
      record.style = 1 + static_cast<int>(random() % kListedStyles);
    }
    record.numerator = 1 + static_cast<int>(random() % 16);
    record.denominator = 1 << (random() % 5);
    record.tempo = 40 + static_cast<int>(random() % 240);
    record.flags = static_cast<std::uint8_t>(random() % 8);
    record.music = RandomText(random, mfd::kMusicLength);
    record.genre = RandomText(random, mfd::kGenreLength);
    record.keywords = RandomText(random, mfd::kKeywordsLength);
    record.intro = static_cast<int>(random() % 4);
    record.next = random() % 2 == 0 ? 0 : 4 + static_cast<int>(random() % 7);
    file.records.push_back(record);
  }
  if (model.keepsFileReferences) file.fileRefs = refs;
  return file;
}

std::string Blanked(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// What the rows must read back as: every field the text carries, a tab or line break as a
// blank, genre and song without blanks at either end (the import trims them, as documented).
std::vector<std::vector<std::string>> Expected(const RecordList& list) {
  std::vector<std::vector<std::string>> rows;
  for (const Row& row : list) {
    std::vector<std::string> cells;
    for (int c = col::kGenre; c <= col::kNext; ++c) {
      std::string cell = Blanked(std::string(row.Cell(c)));
      if (c == col::kGenre || c == col::kMusic) cell = std::string(TrimBlanks(cell));
      cells.push_back(cell);
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

std::vector<std::vector<std::string>> Shown(const RecordList& list) {
  std::vector<std::vector<std::string>> rows;
  for (const Row& row : list) {
    std::vector<std::string> cells;
    for (int c = col::kGenre; c <= col::kNext; ++c) cells.emplace_back(row.Cell(c));
    rows.push_back(std::move(cells));
  }
  return rows;
}

TEST(DelimitedRoundTrip, ExportThenImportGivesTheSameRecords) {
  AppFixture fx;
  std::vector<std::pair<std::string, std::string>> entries;
  for (int n = 1; n <= kListedStyles; ++n) entries.emplace_back(StyleName(n), std::to_string(n));
  std::vector<const Instrument*> models;
  for (const Instrument& model : InstrumentTable()) {
    if (model.name == "NetCommon") continue;  // its open asks for a target first
    fx.WriteStyleList(std::string(model.name), entries);
    models.push_back(&model);
  }
  const auto open = [&](const std::vector<std::uint8_t>& bytes) {
    fx.state.TargetInstrument.clear();
    fx.PutFile("random.mfd", bytes);
    Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  };

  std::mt19937 random(20261208);
  int blankedOrTrimmed = 0, noStyle = 0, apostrophes = 0;  // files, records and records met
  for (int iteration = 0; iteration < 400; ++iteration) {
    const Instrument& model = *models[random() % models.size()];
    const FileBuilder file = RandomFile(random, model);
    open(file.Build());
    ASSERT_TRUE(fx.state.FileLoaded) << model.name << " #" << iteration;
    const auto expected = Expected(fx.state.List);
    const std::string text = DelimitedExportText(fx.state.List) + "\r\n";
    blankedOrTrimmed += Shown(fx.state.List) != expected ? 1 : 0;
    for (const RecordBuilder& r : file.records) {
      noStyle += r.style >= 0xFF00 && r.style != mfd::kMediaStyle ? 1 : 0;
      apostrophes += r.style < 0xFF00 && r.style % 3 == 0 ? 1 : 0;
    }

    open(FileBuilder{.model = std::string(model.name), .generation = model.fileGeneration}.Build());
    const ImportResult result =
        Presented(ImportDelimitedText(fx.state, fx.dialogs, text), fx.dialogs);
    EXPECT_EQ(result.imported, static_cast<int>(expected.size()))
        << model.name << " #" << iteration;
    Presented(SaveMusicFinderx(fx.state, fx.dialogs, fx.state.SourceInstrument, false,
                               PassMode::kPreview),
              fx.dialogs);
    open(fx.state.SaveBytes);
    ASSERT_EQ(Shown(fx.state.List), expected) << model.name << " #" << iteration;
  }
  // The cases that matter were met often.
  EXPECT_GT(blankedOrTrimmed, 100);
  EXPECT_GT(noStyle, 100);
  EXPECT_GT(apostrophes, 100);
  EXPECT_TRUE(fx.dialogs.messages.empty()) << fx.dialogs.Texts().front();
}

}  // namespace
}  // namespace cadenzo
