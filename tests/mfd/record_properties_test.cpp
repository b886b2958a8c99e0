// SPDX-License-Identifier: GPL-3.0-or-later
// Random files of every model, from fixed seeds, opened, edited, exported and saved as a user
// does it, with the shipped style lists: no record is lost or changed on the way. The files are
// the odd ones other tools and older keyboards leave: record numbers in any order, genres that
// read "deleted", media records on every drive, a last record without its unread bytes.
//
// A failing case prints its seed; CADENZO_RECORD_SEED=<seed> runs that case alone.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "charset/cp1252.h"
#include "list/delete_commands.h"
#include "list/list_view_rules.h"
#include "list/row_commands.h"
#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/file_commands.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "mfd/target_change.h"
#include "support/random_mfd.h"
#include "support/scripted_dialogs.h"
#include "support/shown.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

using testing::FileBuilder;
using testing::RandomFile;
using testing::RandomFileOptions;
using testing::RandomMfdGenerator;
using testing::ReadText;
using testing::RecordBuilder;
using testing::ScriptedDialogs;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBaseSeed = 17122026;
constexpr int kCasesPerModel = 16;  // for each property: 41 models, 4 properties

const char* const kNetCommonPrompt = "Please select your Target Instrument if not already done.";

// The seeds of one property on one model; a replayed seed alone when CADENZO_RECORD_SEED is set.
std::vector<std::uint32_t> Seeds(int property, std::size_t model) {
  if (const char* replay = std::getenv("CADENZO_RECORD_SEED")) {
    return {static_cast<std::uint32_t>(std::strtoul(replay, nullptr, 10))};
  }
  std::vector<std::uint32_t> seeds;
  for (int c = 0; c < kCasesPerModel; ++c) {
    seeds.push_back(kBaseSeed + static_cast<std::uint32_t>(property) * 100000u +
                    static_cast<std::uint32_t>(model) * 1000u + static_cast<std::uint32_t>(c));
  }
  return seeds;
}

const RandomMfdGenerator& Generator() {
  static const RandomMfdGenerator generator(CADENZO_DATA_DIR);
  return generator;
}

// Bytes outside printable ASCII as \xNN, so that a failure message shows what a field holds.
std::string Shown(std::string_view text) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out = "\"";
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"') {
      out.push_back(ch);
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  return out + "\"";
}

std::string Describe(const RandomFile& file) {
  std::ostringstream out;
  out << file.builder.model << ", " << file.builder.records.size() << " records numbered "
      << testing::NumberingName(file.numbering) << ", "
      << (file.builder.fileRefs ? std::to_string(file.builder.fileRefs->size()) + " references"
                                : std::string("no reference block"))
      << (file.cutBytes > 0 ? ", last record short by " + std::to_string(file.cutBytes) : "");
  return out.str();
}

std::string Describe(const RandomFile& file, std::size_t i) {
  const RecordBuilder& r = file.builder.records[i];
  std::ostringstream out;
  out << "record " << i + 1 << ": number " << r.number << ", style " << r.style << ", time "
      << r.numerator << "/" << r.denominator << ", tempo " << r.tempo << ", flags " << int{r.flags}
      << ", music " << Shown(r.music) << ", genre " << Shown(r.genre) << ", keywords "
      << Shown(r.keywords) << ", sections " << r.intro << "/" << r.next;
  if (file.builder.fileRefs) {
    for (const auto& ref : *file.builder.fileRefs) {
      if (ref.position == static_cast<int>(i)) out << ", media " << Shown(ref.path);
    }
  }
  return out.str();
}

// The program as a user runs it: a fresh state, the shipped style lists, a user folder, and
// dialogs that answer the file choices the case queues and confirm the conversion preview.
class UserDialogs : public ScriptedDialogs {
 public:
  Answer Message(const MessageRequest& request) override {
    if (request.title == kConversionPreviewTitle) {
      messages.push_back(request);
      return Answer::kYes;
    }
    return ScriptedDialogs::Message(request);
  }
};

struct Session {
  UserDialogs dialogs;
  AppState state;

  explicit Session(const TempDir& dir) {
    state.AppPath = CADENZO_DATA_DIR;
    state.UserFolder = dir.Str() + "user/";
  }

  // File > Open.
  void Open(const std::string& path) {
    state.CurrentFilePath = path;
    state.FileName = std::filesystem::path(path).filename().string();
    Presented(OpenMusicFinderFile(state, dialogs), dialogs);
  }

  // Save As > Music Finder File, All Records, to the path, for the chosen target.
  PassResult Save(const std::string& path) {
    dialogs.QueueFile(path);
    return Presented(ConvertCommandSave(state, dialogs, false), dialogs);
  }

  // The messages shown that a user would not expect: every one but the target prompt of a
  // NetCommon file and the conversion preview's question.
  std::string Unexpected() const {
    std::string out;
    for (const auto& m : dialogs.messages) {
      if (m.text == kNetCommonPrompt || m.title == kConversionPreviewTitle) continue;
      out += "\n  message: " + Shown(m.text);
    }
    return out;
  }
};

// The rows' texts from Genre to Next Section, in list order.
using Cells = std::vector<std::string>;
std::vector<Cells> RowCells(const RecordList& list) {
  std::vector<Cells> rows;
  for (const Row& row : list) {
    Cells cells;
    for (int c = col::kGenre; c <= col::kNext; ++c) cells.emplace_back(row.Cell(c));
    rows.push_back(std::move(cells));
  }
  return rows;
}

const char* const kFieldNames[] = {"genre",    "music",    "style",       "time signature",
                                   "tempo",    "keywords", "favorite",    "search 1",
                                   "search 2", "intro",    "next section"};

// A record's 92 bytes from an image, zero past the image's end.
Bytes RecordBytes(const Bytes& image, std::size_t n) {
  Bytes r(mfd::kRecordSize, 0);
  const std::size_t at = mfd::RecordOffset(n);
  for (std::size_t b = 0; b < mfd::kRecordSize && at + b < image.size(); ++b) r[b] = image[at + b];
  return r;
}

Bytes ReadImage(const std::string& path) {
  const std::string text = ReadText(path);
  return Bytes(text.begin(), text.end());
}

struct Reference {
  int position;
  int type;
  std::string path;
  bool operator==(const Reference&) const = default;
};

std::vector<Reference> References(const Bytes& image) {
  std::vector<Reference> refs;
  for (const auto& ref : ReadFileReferenceBlock(image, HeaderCount(image))) {
    refs.push_back({ref.position, ref.type, ref.path});
  }
  return refs;
}

std::string Describe(const std::vector<Reference>& refs) {
  std::string out;
  for (const auto& r : refs) {
    out += "\n    record " + std::to_string(r.position) + " type " + std::to_string(r.type) + " " +
           Shown(r.path);
  }
  return out.empty() ? " none" : out;
}

// The saved image holds exactly the records `kept` of the original (indices from 0, in order):
// numbered 0 to n - 1, bytes 2 to 89 as they were, and the media references of those records.
std::string CompareSaved(const RandomFile& file, const Bytes& original, const Bytes& saved,
                         const std::vector<std::size_t>& kept) {
  if (saved.size() < mfd::kHeaderSize) return "the saved file has no header";
  if (std::size_t{HeaderCount(saved)} != kept.size()) {
    return "the saved file holds " + std::to_string(HeaderCount(saved)) + " records instead of " +
           std::to_string(kept.size());
  }
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const Bytes got = RecordBytes(saved, i + 1);
    const Bytes want = RecordBytes(original, kept[i] + 1);
    if (std::size_t{ReadU16(got, mfd::kNumber)} != i) {
      return "saved record " + std::to_string(i + 1) + " is numbered " +
             std::to_string(ReadU16(got, mfd::kNumber));
    }
    for (std::size_t b = 2; b < mfd::kLastReadByte; ++b) {
      if (got[b] != want[b]) {
        return "saved record " + std::to_string(i + 1) + " byte " + std::to_string(b) + " is " +
               std::to_string(got[b]) + " instead of " + std::to_string(want[b]) + "; " +
               Describe(file, kept[i]);
      }
    }
  }
  std::vector<Reference> expected;
  const std::vector<Reference> read = References(original);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    for (const Reference& ref : read) {
      if (ref.position == static_cast<int>(kept[i])) {
        expected.push_back({static_cast<int>(i), ref.type, ref.path});
      }
    }
  }
  const std::vector<Reference> got = References(saved);
  if (got != expected) {
    return "the saved media references are" + Describe(got) + "\n  instead of" + Describe(expected);
  }
  return {};
}

// The index of the record a tagged song name belongs to ("r7 ..." is record 7, from 0).
std::optional<std::size_t> TagOf(std::string_view music) {
  if (music.size() < 3 || music[0] != 'r') return std::nullopt;
  const std::size_t blank = music.find(' ');
  if (blank == std::string_view::npos || blank == 1) return std::nullopt;
  std::size_t n = 0;
  for (std::size_t i = 1; i < blank; ++i) {
    if (music[i] < '0' || music[i] > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(music[i] - '0');
  }
  return n;
}

// TAB, CR and LF read as blanks: the delimited text cannot carry them.
std::string Blanked(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

bool IsNumberText(std::string_view text) {
  text = TrimBlanks(text);
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The target's names that a shown name resolves to: the name itself, or, for a name that the
// target lacks, the variants with another trailing digit ("Funk" on "Funk1").
bool SameStyleName(const std::string& shown, const std::string& readBack) {
  const std::string n = NormalizeStyleName(shown);
  const std::string back = NormalizeStyleName(readBack);
  if (back == n) return true;
  std::string m = n;
  if (!m.empty() && m.back() >= '1' && m.back() <= '9') {
    m.pop_back();
    if (back == m) return true;
  }
  for (const char d : {'1', '2', '3'}) {
    if (back == m + d) return true;
  }
  return false;
}

class RecordProperties : public ::testing::TestWithParam<std::size_t> {
 protected:
  const Instrument& Model() const { return InstrumentTable()[GetParam()]; }

  // Runs the case for every seed; reports the first few failing ones with their seeds.
  template <typename Case>
  void ForEverySeed(int property, Case runCase) {
    int failures = 0;
    int cases = 0;
    for (const std::uint32_t seed : Seeds(property, GetParam())) {
      std::mt19937 random(seed);
      const std::string failure = runCase(random);
      ++cases;
      if (failure.empty()) continue;
      ADD_FAILURE() << Model().name << ", seed " << seed << " (replay: CADENZO_RECORD_SEED=" << seed
                    << ")\n  " << failure;
      if (++failures == 3) break;
    }
    EXPECT_GT(cases, 0);
  }
};

// Open, then save for the same model: every record, in file order, renumbered 0 to n - 1, with
// bytes 2 to 89 and every media reference as they were.
TEST_P(RecordProperties, SavingForTheSameModelKeepsEveryRecordAndReference) {
  ForEverySeed(1, [&](std::mt19937& random) -> std::string {
    const RandomFile file = Generator().Make(random, Model());
    TempDir dir;
    const Bytes original = file.Bytes();
    const std::string in = dir.Write("in.mfd", original).string();
    dir.Write("user/.keep", std::string());
    Session session(dir);
    session.Open(in);
    if (!session.state.FileLoaded) return Describe(file) + ": not opened" + session.Unexpected();
    const PassResult result = session.Save(dir.Str() + "out.mfd");
    const std::string where = Describe(file) + ": ";
    if (!result.saved) return where + "not saved" + session.Unexpected();
    if (!session.Unexpected().empty()) return where + session.Unexpected();
    std::vector<std::size_t> all(file.builder.records.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    const std::string difference =
        CompareSaved(file, original, ReadImage(dir.Str() + "out.mfd"), all);
    return difference.empty() ? difference : where + difference;
  });
}

// Open, delete some rows (clicked one by one or checked together, in a list sorted by any
// column), then save for the same model: exactly those records are gone.
TEST_P(RecordProperties, DeletingRowsDropsExactlyThoseRecords) {
  ForEverySeed(2, [&](std::mt19937& random) -> std::string {
    const RandomFile file = Generator().Make(random, Model(), {.tagMusic = true});
    TempDir dir;
    const Bytes original = file.Bytes();
    const std::string in = dir.Write("in.mfd", original).string();
    dir.Write("user/.keep", std::string());
    Session session(dir);
    session.Open(in);
    const std::string where = Describe(file) + ": ";
    if (!session.state.FileLoaded) return where + "not opened" + session.Unexpected();
    AppState& state = session.state;
    if (random() % 2 == 0) {
      const int column = static_cast<int>(random() % col::kFiller);
      Shown(SortByColumn(state, column), session.dialogs);
      if (random() % 2 == 0) Shown(SortByColumn(state, column), session.dialogs);
    }

    const bool oneByOne = random() % 2 == 0;
    std::set<std::size_t> deleted;
    for (std::size_t p = 0; p < state.List.Size(); ++p) {
      if (random() % 3 != 0) continue;
      const Row& row = state.List[p];
      const std::string style(row.Cell(col::kStyle));
      // The program refuses to delete files of the instrument's user area (one by one) and of
      // its preset drive (checked).
      if (oneByOne ? style.starts_with("User:") : style.starts_with("D:")) continue;
      const auto tag = TagOf(row.Cell(col::kMusic));
      if (!tag)
        return where + "row " + std::to_string(p) + " shows " + Shown(row.Cell(col::kMusic));
      deleted.insert(*tag);
      if (oneByOne) {
        Shown(SelectRow(state, p), session.dialogs);
        Shown(DeleteSelectedRow(state), session.dialogs);
      } else {
        state.List[p].checked = true;
        Shown(UpdateCheckedCount(state), session.dialogs);
      }
    }
    if (!oneByOne) Shown(DeleteCheckedRows(state), session.dialogs);

    const PassResult result = session.Save(dir.Str() + "out.mfd");
    const std::string how = std::to_string(deleted.size()) + " deleted " +
                            (oneByOne ? "one by one" : "as checked rows") + ": ";
    if (!result.saved) return where + how + "not saved" + session.Unexpected();
    if (!session.Unexpected().empty()) return where + how + session.Unexpected();
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < file.builder.records.size(); ++i) {
      if (deleted.count(i) == 0) kept.push_back(i);
    }
    const std::string difference =
        CompareSaved(file, original, ReadImage(dir.Str() + "out.mfd"), kept);
    return difference.empty() ? difference : where + how + difference;
  });
}

// Open, export the delimited text, import it into an empty file of the same model and save:
// reading the saved file shows every field the text carries as the original showed it (genre and
// song trimmed of blanks as the import trims them; TAB, CR and LF read as blanks).
TEST_P(RecordProperties, ExportThenImportGivesTheSameRecords) {
  ForEverySeed(3, [&](std::mt19937& random) -> std::string {
    const RandomFile file = Generator().Make(random, Model());
    TempDir dir;
    dir.Write("user/.keep", std::string());
    const std::string where = Describe(file) + ": ";

    Session original(dir);
    original.Open(dir.Write("in.mfd", file.Bytes()).string());
    if (!original.state.FileLoaded) return where + "not opened" + original.Unexpected();
    std::vector<Cells> shown = RowCells(original.state.List);
    original.dialogs.QueueFile(dir.Str() + "records.txt");
    Presented(ExportDelimitedText(original.state, original.dialogs),
              original.dialogs);  // may say how many fields it changed
    // The older models show a record without a style (0xFFxx) as a number (the CVP models
    // halved): no style a record can be given, so the import leaves such a line out and logs it.
    const auto styleIndex = static_cast<std::size_t>(col::kStyle - col::kGenre);
    const auto before = shown.size();
    std::erase_if(shown, [&](const Cells& cells) {
      const std::string& style = cells[styleIndex];
      return IsStyleNumberText(style) &&
             StoredUserStyleNumber(Model().name, true, StyleNumberValue(style).value_or(0),
                                   style.size()) > 0xFEFF;
    });
    const int leftOut = static_cast<int>(before - shown.size());

    const Instrument& model = Model();
    Session blank(dir);
    blank.Open(dir.Write("empty.mfd", FileBuilder{.model = std::string(model.name),
                                                  .generation = model.fileGeneration}
                                          .Build())
                   .string());
    blank.dialogs.QueueFile(dir.Str() + "records.txt");
    const ImportResult imported =
        Presented(ImportDelimitedFile(blank.state, blank.dialogs), blank.dialogs);
    if (imported.leftOut != leftOut) {
      return where + std::to_string(imported.leftOut) + " lines left out instead of " +
             std::to_string(leftOut) + blank.Unexpected();
    }
    if (leftOut > 0) blank.dialogs.messages.clear();  // the message that lines were left out
    const std::string importMessages = blank.Unexpected();
    if (imported.imported != static_cast<int>(shown.size())) {
      return where + std::to_string(imported.imported) + " of " + std::to_string(shown.size()) +
             " records imported" + importMessages;
    }
    const PassResult saved = blank.Save(dir.Str() + "out.mfd");
    if (!saved.saved) return where + "not saved" + blank.Unexpected();

    Session readBack(dir);
    readBack.Open(dir.Str() + "out.mfd");
    const std::vector<Cells> got = RowCells(readBack.state.List);
    if (got.size() != shown.size()) {
      return where + "the saved file shows " + std::to_string(got.size()) + " records instead of " +
             std::to_string(shown.size()) + importMessages;
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      Cells want = shown[i];
      for (std::string& cell : want) cell = Blanked(cell);
      for (const int c : {col::kGenre, col::kMusic}) {
        std::string& cell = want[static_cast<std::size_t>(c - col::kGenre)];
        cell = std::string(TrimBlanks(cell));
      }
      for (std::size_t f = 0; f < want.size(); ++f) {
        if (got[i][f] != want[f]) {
          return where + "record " + std::to_string(i + 1) + " reads back with " + kFieldNames[f] +
                 " " + Shown(got[i][f]) + " instead of " + Shown(want[f]) + " (shown " +
                 Shown(shown[i][f]) + "); " + Describe(file, i) + importMessages;
        }
      }
    }
    // Neither the import nor the save has anything to tell about records that all fit.
    return blank.Unexpected().empty() ? std::string() : where + blank.Unexpected();
  });
}

// Open, choose another model, the user-style and default-style options, and save: every record
// read is written or dropped, and reading the saved file with the target's list shows, for every
// row the list showed black, the style it showed (a style number stays that number); a row shown
// red and written keeps its own number with user styles allowed, or gets the default style. A
// record written as a media file always has its reference.
TEST_P(RecordProperties, ConvertingKeepsWhatTheListShowed) {
  ForEverySeed(4, [&](std::mt19937& random) -> std::string {
    const RandomFile file = Generator().Make(random, Model(), {.tagMusic = true});
    TempDir dir;
    dir.Write("user/.keep", std::string());
    Session session(dir);
    session.Open(dir.Write("in.mfd", file.Bytes()).string());
    AppState& state = session.state;
    if (!state.FileLoaded) return Describe(file) + ": not opened" + session.Unexpected();

    const auto models = InstrumentTable();
    std::string target;
    do {
      target = std::string(models[random() % models.size()].name);
    } while (target == Model().name);
    Presented(ChooseTarget(state, session.dialogs, target), session.dialogs);
    if (random() % 5 < 2) Presented(ToggleUserStyles(state, session.dialogs), session.dialogs);
    // The default style window of a target without a style list cannot select its empty
    // default style and reports an error, so the user leaves it closed there.
    if (!ReadStyleList(state.AppPath, target).empty() && random() % 4 != 0) {
      const DefaultStyleChoices choices = Presented(LoadDefaultStyle(state), session.dialogs);
      if (choices.loaded) {
        Presented(DefaultStyleCommandOK(state, session.dialogs,
                                        choices.entries[random() % choices.entries.size()].text),
                  session.dialogs);
      }
    }
    const std::string where = Describe(file) + " to " + target + " with user styles " +
                              (state.AllowUserStyles ? "allowed" : "not allowed") +
                              ", default style " + Shown(state.DefaultStyle) + ": ";

    // What the list showed when the user pressed Save, by record.
    const std::size_t n = file.builder.records.size();
    std::vector<std::string> shownStyle(n);
    std::vector<Colour> shownColour(n);
    for (const Row& row : state.List) {
      const auto tag = TagOf(row.Cell(col::kMusic));
      if (!tag || *tag >= n) return where + "a row shows " + Shown(row.Cell(col::kMusic));
      shownStyle[*tag] = row.Cell(col::kStyle);
      shownColour[*tag] = row.styleColor;
    }

    const PassResult result = session.Save(dir.Str() + "out.mfd");
    // A target without a style list knows no style: without user styles every record would be
    // dropped, so the save is refused with the note on the missing list, and nothing is written.
    if (const auto missing = TargetStyleListNote(state); missing && !state.AllowUserStyles) {
      const auto& messages = session.dialogs.messages;
      if (result.saved || result.outcome.problem != Problem::kStyleList || messages.empty() ||
          messages.back().text != *missing || std::filesystem::exists(dir.Str() + "out.mfd")) {
        return where + "saved or refused otherwise" + session.Unexpected();
      }
      return {};
    }
    if (!result.saved) return where + "not saved" + session.Unexpected();
    if (!session.Unexpected().empty()) return where + session.Unexpected();
    if (result.recordsRead != static_cast<int>(n) ||
        result.recordsRead != result.written + result.dropped) {
      return where + "read " + std::to_string(result.recordsRead) + ", written " +
             std::to_string(result.written) + ", dropped " + std::to_string(result.dropped) +
             " of " + std::to_string(n) + " records";
    }
    const Bytes saved = ReadImage(dir.Str() + "out.mfd");
    if (saved.size() < mfd::kHeaderSize || HeaderCount(saved) != result.written) {
      return where + "the saved file does not hold the " + std::to_string(result.written) +
             " records written";
    }
    std::set<int> referenced;
    for (const Reference& ref : References(saved)) referenced.insert(ref.position);
    for (int i = 0; i < result.written; ++i) {
      const int style = ReadU16(saved, mfd::RecordOffset(static_cast<std::size_t>(i) + 1) + 2);
      if (style == mfd::kMediaStyle && referenced.count(i) == 0) {
        return where + "saved record " + std::to_string(i + 1) +
               " is a media file without a reference";
      }
    }

    Session readBack(dir);
    readBack.Open(dir.Str() + "out.mfd");
    if (!readBack.state.FileLoaded) return where + "the saved file does not open";
    std::vector<bool> written(n, false);
    std::size_t previous = 0;
    for (std::size_t p = 0; p < readBack.state.List.Size(); ++p) {
      const Row& row = readBack.state.List[p];
      const auto tag = TagOf(row.Cell(col::kMusic));
      if (!tag || *tag >= n || written[*tag] || (p > 0 && *tag <= previous)) {
        return where + "saved record " + std::to_string(p + 1) + " shows " +
               Shown(row.Cell(col::kMusic)) + " out of file order";
      }
      written[*tag] = true;
      previous = *tag;
      const std::string& shown = shownStyle[*tag];
      const std::string back(row.Cell(col::kStyle));
      const int storedNumber = file.builder.records[*tag].style;
      const int savedNumber = ReadU16(saved, mfd::RecordOffset(p + 1) + 2);
      std::string wrong;
      if (shownColour[*tag] == kBlack) {
        if (shown.find(':') != std::string::npos) {
          if (back != shown) wrong = "its media file";
        } else if (IsNumberText(shown)) {
          if (savedNumber != storedNumber)
            wrong = "its style number " + std::to_string(storedNumber);
        } else if (!SameStyleName(shown, back)) {
          wrong = "its style";
        }
      } else if (state.AllowUserStyles) {
        if (savedNumber != storedNumber)
          wrong = "its own style number " + std::to_string(storedNumber);
      } else if (NormalizeStyleName(back) != NormalizeStyleName(state.DefaultStyle)) {
        wrong = "the default style";
      }
      if (!wrong.empty()) {
        return where + "record " + std::to_string(*tag + 1) + " shown " + Shown(shown) +
               (shownColour[*tag] == kBlack ? " in black" : " in colour") + " reads back as " +
               Shown(back) + " (number " + std::to_string(savedNumber) + ") instead of " + wrong +
               "; " + Describe(file, *tag);
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (shownColour[i] == kBlack && !written[i]) {
        return where + "record " + std::to_string(i + 1) + " shown " + Shown(shownStyle[i]) +
               " in black was not written; " + Describe(file, i);
      }
    }
    return {};
  });
}

std::string ModelTestName(const ::testing::TestParamInfo<std::size_t>& info) {
  std::string name(InstrumentTable()[info.param].name);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryModel, RecordProperties,
                         ::testing::Range(std::size_t{0}, InstrumentTable().size()), ModelTestName);

// The generator makes every kind of odd file the properties are about, on every model.
TEST(RandomMfdGenerator, MakesEveryKindOfOddFile) {
  std::map<std::string, int> seen;
  std::mt19937 random(kBaseSeed);
  for (const Instrument& model : InstrumentTable()) {
    for (int i = 0; i < 40; ++i) {
      const RandomFile file = Generator().Make(random, model);
      ++seen[std::string("numbering ") + testing::NumberingName(file.numbering)];
      if (file.cutBytes > 0) ++seen["short last record"];
      for (const RecordBuilder& r : file.builder.records) {
        if (r.genre == "deleted") ++seen["genre deleted"];
        if (r.genre == std::string("del\0eted", 8)) ++seen["genre del NUL eted"];
        if (r.music.find_first_of("\t\r\n") != std::string::npos) ++seen["music with a break"];
        if (r.style >= 0xFF00 && r.style != mfd::kMediaStyle) ++seen["no style"];
      }
      if (file.builder.fileRefs) {
        for (const auto& ref : *file.builder.fileRefs) {
          ++seen["drive " + ref.path.substr(0, 2)];
          if (!model.keepsFileReferences) ++seen["media on a model without references"];
        }
      }
    }
  }
  for (const char* kind :
       {"numbering in order", "numbering from 1", "numbering all 0", "numbering all the same",
        "numbering duplicated", "numbering permuted", "numbering past the count",
        "short last record", "genre deleted", "genre del NUL eted", "music with a break",
        "no style", "drive I:", "drive E:", "drive D:", "drive C:"}) {
    EXPECT_GT(seen[kind], 20) << kind;
  }
  EXPECT_EQ(seen["media on a model without references"], 0);
}

}  // namespace
}  // namespace cadenzo
