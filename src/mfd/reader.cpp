// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <unordered_set>

#include "app/report_error.h"
#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "catalogue/target_choice.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/processing_pass.h"
#include "mfd/record.h"
#include "mfd/target_change.h"
#include "textio/file_limits.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

constexpr int kGenreListGrowth = 30;

// The rule by which a source instrument turns a style number into the list's style text.
enum class StyleRule { kThreeDigit, kTyros, kCvpOdd, kCvpEven, kNewer, kNoSource };

StyleRule RuleFor(std::string_view source) {
  if (source.empty()) return StyleRule::kNoSource;
  if (source == "PSR-1000" || source == "PSR-1100" || source == "PSR-2000" ||
      source == "PSR-2100") {
    return StyleRule::kThreeDigit;
  }
  if (source == "TYROS") return StyleRule::kTyros;
  if (source == "CVP-203" || source == "CVP-205" || source == "CVP-207" || source == "CVP-209") {
    return StyleRule::kCvpOdd;
  }
  if (source == "CVP-204" || source == "CVP-206" || source == "CVP-208" || source == "CVP-210") {
    return StyleRule::kCvpEven;
  }
  return StyleRule::kNewer;
}

// Half of a style number, halves rounded upward.
int Half(int s) { return (s + 1) / 2; }

// Turns the style numbers of the records into the list's style texts, by the rule of the source
// instrument. SourceStyles is indexed by number once: a key is found by the number whose decimal
// text it is, as looking up the number's text finds it.
class StyleDecoder {
 public:
  explicit StyleDecoder(const AppState& state)
      : rule_(RuleFor(state.SourceInstrument)), numbersOnly_(!state.AutoDetect) {
    for (const auto& [key, name] : state.SourceStyles) {
      int n = 0;
      const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), n);
      if (ec != std::errc() || n < 0 || n > 0xFFFF || std::to_string(n) != key) continue;
      const auto index = static_cast<std::size_t>(n);
      if (names_.size() <= index) names_.resize(index + 1, nullptr);
      names_[index] = &name;
    }
  }

  // Writes the style text of the style bytes hi and lo; true when the text marks a user style.
  bool Decode(std::uint8_t hi, std::uint8_t lo, std::string& text) const {
    const int s = hi * 256 + lo;
    if (numbersOnly_) return Number(text, s, 4, false);  // "Use Style Numbers"
    switch (rule_) {
      case StyleRule::kThreeDigit:
        return LookUp(text, s, 3);
      case StyleRule::kTyros:
        return s >= 600 ? Number(text, s, 3, true) : LookUp(text, s, 3);
      case StyleRule::kCvpOdd:
        return s >= 623 ? Number(text, Half(s), 4, false) : LookUp(text, s, 3);
      case StyleRule::kCvpEven:
        return s >= 689 ? Number(text, Half(s), 4, false) : LookUp(text, s, 3);
      case StyleRule::kNewer:
        if (hi == 255) {
          text.clear();
          return false;
        }
        return LookUp(text, s, 4);
      case StyleRule::kNoSource:
        return s == 0 ? Number(text, 0, 4, true) : Number(text, Half(s), 4, false);
    }
    text.clear();
    return false;
  }

 private:
  static bool Number(std::string& text, int value, int width, bool userStyle) {
    text = NumberText(value, width);
    return userStyle;
  }

  bool LookUp(std::string& text, int s, int width) const {
    const auto index = static_cast<std::size_t>(s);
    if (index < names_.size() && names_[index] != nullptr) {
      text = *names_[index];
      return false;
    }
    return Number(text, s, width, true);
  }

  StyleRule rule_;
  bool numbersOnly_;
  std::vector<const std::string*> names_;  // by style number; null where the list has none
};

// Adds a genre to GenreList by the list's rules: the first empty entry takes it, the list grows
// by 30 entries when the last but one is filled, and the last entry is never filled.
// Texts in the order of their bytes' values.
bool ByteOrder(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

class GenreCollector {
 public:
  explicit GenreCollector(std::vector<std::string>& list) : list_(list) {
    list_.assign(kGenreListGrowth + 1, std::string{});
  }
  // Goes on with a list that holds genres already (records added to an open file).
  struct Continue {};
  GenreCollector(std::vector<std::string>& list, Continue /*tag*/) : list_(list) {
    if (list_.size() < 2) list_.resize(kGenreListGrowth + 1);
    while (filled_ < list_.size() && !list_[filled_].empty()) seen_.insert(list_[filled_++]);
    if (filled_ + 1 >= list_.size()) list_.resize(filled_ + 1 + kGenreListGrowth);
  }
  void Add(const std::string& genre) {
    if (genre.empty() || seen_.contains(genre)) return;
    seen_.insert(genre);
    list_[filled_] = genre;
    ++filled_;
    if (filled_ == list_.size() - 1) list_.resize(list_.size() + kGenreListGrowth);
  }
  std::vector<std::string> Sorted() const {
    std::vector<std::string> out(list_.begin(),
                                 list_.begin() + static_cast<std::ptrdiff_t>(filled_));
    std::sort(out.begin(), out.end(), ByteOrder);
    return out;
  }

 private:
  std::vector<std::string>& list_;
  std::unordered_set<std::string> seen_;
  std::size_t filled_ = 0;
};

}  // namespace

long long StoredUserStyleNumber(std::string_view source, bool autoDetect, long long shown,
                                std::size_t digits) {
  const StyleRule rule = RuleFor(source);
  // These models show their high numbers halved, zero-padded to four digits; lower numbers
  // that their list lacks show as they are, in three.
  const bool halved = rule == StyleRule::kCvpOdd || rule == StyleRule::kCvpEven;
  return autoDetect && halved && digits >= 4 ? shown * 2 : shown;
}

std::string ShowDrive(const std::string& path) {
  if (path.size() < 2) return path;
  const std::string drive = UpperCp1252(std::string_view(path).substr(0, 2));
  std::string prefix;
  if (drive == "E:") {
    prefix = "HD:";
  } else if (drive == "I:") {
    prefix = "USB:";
  } else if (drive == "D:") {
    prefix = "Preset:";
  } else if (drive == "C:") {
    prefix = "User:";
  } else {
    return path;
  }
  return prefix + path.substr(2);
}

std::vector<FileReference> ReadFileReferenceBlock(std::span<const std::uint8_t> bytes,
                                                  int recordCount) {
  std::vector<FileReference> refs;
  const auto left = [&](std::size_t p) { return p < bytes.size() ? bytes.size() - p : 0; };
  std::size_t p = recordCount > 0 ? mfd::RecordOffset(static_cast<std::size_t>(recordCount)) : 0;
  // The first tag at or after p, as a byte-by-byte search finds it, with a fast search.
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const auto next = [&](std::size_t from, std::string_view tag) {
    const std::size_t at = from < text.size() ? text.find(tag, from) : std::string_view::npos;
    return at == std::string_view::npos ? text.size() : at;
  };
  p = next(p, "FPhd");
  if (left(p) < 11) return refs;
  p += 8;
  while (left(p) >= 11) {
    p = next(p, "FPdt");
    if (left(p) < 11) break;
    FileReference ref;
    ref.offset = p;
    const std::size_t k = ReadU16(bytes, p + 4);
    ref.position = ReadU16(bytes, p + 6);
    ref.type = ReadU8(bytes, p + 8);
    // The path ends at its zero byte or at the end of its own chunk, whichever comes first:
    // chunks without their zero byte must not each read the rest of the file.
    const std::size_t chunkEnd = std::min(bytes.size(), p + 6 + k);
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(p + 9);
    const auto last = bytes.begin() + static_cast<std::ptrdiff_t>(std::max(chunkEnd, p + 9));
    ref.path.assign(first, std::find(first, last, std::uint8_t{0}));
    refs.push_back(std::move(ref));
    p += 6 + k;
  }
  return refs;
}

namespace {

// The texts of one record as the reader shows them, reused from record to record so that decoding
// allocates nothing once the longest texts have been seen.
using CellTexts = std::array<std::string, col::kCount>;

// Adds the row of record i to the list, decoded as the reader shows it into `texts`; a user style
// the editor does not know yet joins its style list.
void AddRecordRow(AppState& state, const StyleDecoder& styles,
                  std::unordered_set<std::string>& editorStyles, int i, CellTexts& texts) {
  const std::span<const std::uint8_t> bytes = state.FileBytes;
  const std::size_t r = mfd::RecordOffset(static_cast<std::size_t>(i));
  CheckRange(bytes.size(), r, mfd::kRecordSize);  // a truncated file stops here
  DecodeRecordCells(bytes, r, texts);
  std::string& style = texts[col::kStyle];
  const bool userStyle = styles.Decode(bytes[r + mfd::kStyle], bytes[r + mfd::kStyle + 1], style);
  if (userStyle && editorStyles.insert(style).second) {
    state.Editor.styles.push_back({style, std::stoi(style)});
  }
  texts[col::kFiller] = "    ";
  Row& row = state.List.Add();
  row.record = static_cast<std::uint32_t>(i);
  row.cells.Assign(texts);
}

std::unordered_set<std::string> EditorStyleTexts(const AppState& state) {
  std::unordered_set<std::string> texts;
  for (const auto& e : state.Editor.styles) texts.insert(e.text);
  return texts;
}

}  // namespace

void ReadRecordRows(AppState& state) {
  state.List.Clear();
  GenreCollector genres(state.GenreList);
  const int recordCount = HeaderCount(state.FileBytes);
  const StyleDecoder styles(state);
  std::unordered_set<std::string> editorStyles = EditorStyleTexts(state);
  // Room for the records the bytes can hold, not for what a damaged count claims.
  const std::size_t size = state.FileBytes.size();
  const std::size_t available =
      size > mfd::kHeaderSize ? (size - mfd::kHeaderSize) / mfd::kRecordSize : 0;
  state.List.Reserve(std::min(available, static_cast<std::size_t>(recordCount)));
  CellTexts texts;

  for (int i = 1; i <= recordCount; ++i) {
    const std::size_t r = mfd::RecordOffset(static_cast<std::size_t>(i));
    if (i == recordCount && state.FileBytes.size() >= r + mfd::kLastReadByte &&
        state.FileBytes.size() < r + mfd::kRecordSize) {
      // The last record lacks only bytes the program never reads: it is whole, the missing
      // bytes are zero.
      state.FileBytes.resize(r + mfd::kRecordSize, 0);
    }
    AddRecordRow(state, styles, editorStyles, i, texts);
    genres.Add(texts[col::kGenre]);
  }

  // A chunk for a record the list does not hold is passed over.
  for (const auto& ref : ReadFileReferenceBlock(state.FileBytes, recordCount)) {
    const auto position = static_cast<std::size_t>(ref.position);
    if (position < state.List.Size())
      state.List[position].SetCell(col::kStyle, ShowDrive(ref.path));
  }
  state.List.Resort();
  state.Editor.genres = genres.Sorted();
}

void AddRecordRows(AppState& state, int first, int last) {
  const StyleDecoder styles(state);
  std::unordered_set<std::string> editorStyles = EditorStyleTexts(state);
  GenreCollector genres(state.GenreList, GenreCollector::Continue{});
  auto& sorted = state.Editor.genres;
  CellTexts texts;
  for (int i = first; i <= last; ++i) {
    AddRecordRow(state, styles, editorStyles, i, texts);
    const std::string& genre = texts[col::kGenre];
    if (genre.empty()) continue;
    genres.Add(genre);
    // The editor's list stays sorted by byte value, as the reader sorts it.
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), genre, ByteOrder);
    if (at == sorted.end() || *at != genre) sorted.insert(at, genre);
  }
}

namespace {

// The rows of the file; a record the bytes do not hold stops the read there and names it.
void ReadRowsNamingDamage(AppState& state, Outcome& outcome) {
  try {
    ReadRecordRows(state);
  } catch (const RuntimeError& e) {
    // Past a whole header, the first record the bytes do not hold is where the damage is.
    if (e.Number() == err::kSubscriptOutOfRange && state.FileBytes.size() >= mfd::kHeaderSize) {
      outcome.record = static_cast<int>(state.List.Size()) + 1;
    }
    throw;
  }
}

void ReadFile(AppState& state, Dialogs& dialogs, Outcome& outcome) {
  // Another file: nothing of the last one can be undone in it.
  state.History.Clear();
  state.List.Clear();
  state.GenreList.assign(kGenreListGrowth + 1, std::string{});

  if (state.AutoDetect && !state.KeepSourceInstrument) {
    const std::size_t n = std::min<std::size_t>(32, state.FileBytes.size());
    if (auto model = DetectSourceInstrument(std::span(state.FileBytes).first(n))) {
      state.SourceInstrument = *model;
    }
  }
  if (state.TargetInstrument.empty()) {
    state.TargetInstrument = state.SourceInstrument;
    // Selecting the model in the target list fills the editor's style list; a model the list
    // does not hold is not selected, and the style list is filled here.
    if (FindInstrument(state.TargetInstrument) != nullptr) {
      outcome.Absorb(ChooseTarget(state, dialogs, state.TargetInstrument));  // SelectCboInst
    } else {
      outcome.Absorb(setupCboStyle(state));
    }
  }

  state.SourceStyles.clear();
  for (const auto& entry : ReadStyleList(StyleFoldersOf(state), state.SourceInstrument)) {
    state.SourceStyles.emplace(StripLeadingZeros(entry.number), entry.name);
  }
  if (auto problem = StyleListProblem(StyleFoldersOf(state), state.SourceInstrument)) {
    NoteStyleListProblem(state, outcome, *problem);
  }
  state.Editor.styleDropHeight = 525;
  ReadRowsNamingDamage(state, outcome);

  state.Caption = "Cadenzo   " + state.FileName +
                  "  Source Instrument = " + state.SourceInstrument +
                  "   Default Style = " + state.DefaultStyle;

  outcome.Absorb(RunPreview(state, dialogs).outcome);
  state.FileLoaded = true;
  if (state.SourceInstrument == "NetCommon") {
    outcome.Say(kSelectTargetText);
    state.FocusTargetRequested = true;
  }
}

}  // namespace

std::string DamagedFileText(const std::string& name, int record, int announced,
                            std::size_t fileSize) {
  const int shown = record - 1;
  std::string text = name + " is damaged: record " + std::to_string(record) + " of " +
                     std::to_string(announced) + " is cut off at byte " + std::to_string(fileSize) +
                     ". ";
  if (shown == 0) return text + "No record can be shown; saving writes none.";
  if (shown == 1) return text + "The record before it is shown; saving writes only that one.";
  return text + "The " + std::to_string(shown) +
         " records before it are shown; saving writes only those.";
}

std::string NotMusicFinderText(const std::string& name) {
  return name +
         " is not a Music Finder file: it holds no records the program can read. Open the .mfd "
         "file that the instrument saved.";
}

Outcome ReadMusicFinderFile(AppState& state, Dialogs& dialogs) {
  BusyGuard busy(dialogs);
  Outcome outcome = RunGuarded("List1", [&](Outcome& inner) { ReadFile(state, dialogs, inner); });
  if (outcome.problem != Problem::kUnexpected || outcome.errorNumber != err::kSubscriptOutOfRange) {
    return outcome;
  }
  const std::span<const std::uint8_t> bytes = state.FileBytes;
  // A header that names no model the program knows, over records that do not fit in the file,
  // is some other file; a known header with a record cut off is a damaged Music Finder file.
  const bool wholeHeader = bytes.size() >= mfd::kHeaderSize;
  const bool known = wholeHeader && DetectSourceInstrument(bytes.first(32)).has_value();
  const bool damaged = outcome.record > 0 && known;
  const bool foreign = !wholeHeader || (outcome.record > 0 && !known);
  if (!damaged && !foreign) return outcome;  // nobody foresaw it: the numbered message stays
  // The damage was foreseen: its numbered message gives way to one in words.
  const std::string numbered = "Error #: " + std::to_string(err::kSubscriptOutOfRange) + ",";
  std::erase_if(outcome.messages,
                [&](const MessageRequest& m) { return m.text.starts_with(numbered); });
  if (damaged) {
    outcome.problem = Problem::kDamaged;  // the rows before the damage are kept
    const int announced = HeaderCount(bytes);
    outcome.Say({.text = DamagedFileText(state.FileName, outcome.record, announced, bytes.size()),
                 .icon = Icon::kExclamation});
    outcome.Report("Opened " + state.FileName + ": " + std::to_string(state.List.Size()) + " of " +
                   Counted(announced, "record") + ", the file is damaged");
  } else {
    outcome.problem = Problem::kBadFile;
    outcome.record = 0;
    outcome.status.clear();  // nothing of it was opened
    outcome.Say({.text = NotMusicFinderText(state.FileName), .icon = Icon::kExclamation});
  }
  return outcome;
}

Outcome LoadFileBytes(Document& state, const std::string& path) {
  Outcome outcome;
  outcome.file = path;
  Bytes bytes;
  try {
    bytes = ReadFileBytes(path, kMaxMusicFinderFileSize);
  } catch (const RuntimeError& e) {
    outcome.Fail(Problem::kBadFile, "Could not find that file ");
    outcome.errorNumber = e.Number();
    return outcome;
  }
  if (bytes.empty() || bytes.size() > kMaxMusicFinderFileSize) {
    outcome.Fail(Problem::kBadFile,
                 NamePartOf(path) + " is not a Music Finder file: it " +
                     (bytes.empty() ? std::string("is empty")
                                    : "is larger than " + SizeText(kMaxMusicFinderFileSize) +
                                          ", far more than such a file holds") +
                     ". Open the .mfd file that the instrument saved.");
    return outcome;
  }
  state.FileBytes = std::move(bytes);
  return outcome;
}

Outcome OpenMusicFinderFile(AppState& state, Dialogs& dialogs) {
  Outcome outcome = RunGuarded("Entry", [&](Outcome& out) {
    // Play List and Del Chk'd wait for a mark, the row commands for a clicked row.
    state.CheckCommands = {CheckCommandRules::DeleteChecked::kFollowsMarks, false};
    state.RowCommandsNeedSelection = true;
    state.RowClicked = false;
    state.SelectedTempo = -1;
    state.SelectedStyleText = "-1";
    state.SelectedIntroCode = -1;
    state.SelectedNextCode = -1;
    state.SelectedRecord = 0;

    out = LoadFileBytes(state, state.CurrentFilePath);
    if (!out.Ok()) return;
    out.Absorb(ReadMusicFinderFile(state, dialogs));
    state.FileSaved = true;
    if (state.FileLoaded) {
      out.Report("Opened " + state.FileName + ": " +
                 Counted(static_cast<long long>(state.List.Size()), "record") +
                 (state.SourceInstrument.empty() ? std::string(", model not recognised")
                                                 : " from a " + state.SourceInstrument));
    }
  });
  if (outcome.file.empty()) outcome.file = state.CurrentFilePath;
  return outcome;
}

}  // namespace cadenzo
