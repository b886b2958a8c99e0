// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/delimited_import.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/outcome.h"
#include "catalogue/style_list.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "textio/delimited_export.h"
#include "textio/file_limits.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

// Fields of a data line by position; field 0, the running number, is not used.
enum Field : std::size_t {
  kGenreField = 1,
  kMusicField,
  kStyleField,
  kTimeSigField,
  kTempoField,
  kKeywordsField,
  kFavField,
  kS1Field,
  kS2Field,
  kIntroField,
  kNextField,
};
constexpr std::size_t kLeastFields = 10;  // up to Search 2; intro and section come as a pair

constexpr int kLargestTempo = 32767;
constexpr std::size_t kMaxImportTextSize = std::size_t{64} << 20;
constexpr std::size_t kMaxShownLine = 300;

// A line that cannot be read: the error number it raises.
struct LineError {
  int number;
};

// A decimal number at the start of the text, leading blanks allowed; text without digits gives
// 0. Values too large for any field are held at a bound, so they stay too large.
long long LeadingInteger(std::string_view text) {
  text = TrimLeftBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    if (value < 1'000'000'000) value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

std::uint8_t ByteValue(std::string_view text) {
  const long long value = LeadingInteger(text);
  if (value < 0 || value > 255) throw LineError{err::kOverflow};
  return static_cast<std::uint8_t>(value);
}

std::string WithoutApostrophes(std::string_view text) { return StripChars(text, "'"); }

// The line as the problem message quotes it; a runaway line is cut.
std::string ShownLine(std::string_view line) {
  if (line.size() <= kMaxShownLine) return std::string(line);
  return std::string(line.substr(0, kMaxShownLine)) + "...";
}

// The key a style text is looked up by: apostrophes and blanks removed, lower case. The text of
// the line and the names of the list are keyed alike, so "Rock'n'Roll" finds "Rock'n'Roll".
std::string StyleKey(std::string_view text) { return NormalizeStyleName(WithoutApostrophes(text)); }

// A style of the source list: its number and its name as the list writes it.
struct SourceStyle {
  int number = 0;
  std::string name;
};

// The source list by StyleKey of its names (the first entry of a key kept).
std::unordered_map<std::string, SourceStyle> SourceLookup(const AppState& state) {
  std::unordered_map<std::string, SourceStyle> lookup;
  for (auto& entry : ReadStyleList(StyleFoldersOf(state), state.SourceInstrument)) {
    const std::string key = StyleKey(TrimBlanks(entry.name));
    const auto number = StyleNumberValue(entry.number);
    // A line without a name or number cannot place a style.
    if (key.empty() || !number) continue;
    lookup.try_emplace(key, SourceStyle{*number, std::move(entry.name)});
  }
  return lookup;
}

// The number of DefaultStyle on the target, or nothing when the target does not list it
// ("None").
std::optional<int> DefaultStyleNumber(const AppState& state) {
  const TargetMaps maps = BuildTargetMaps(StyleFoldersOf(state), state.TargetInstrument);
  const std::string* number = maps.nameMap.Find(NormalizeStyleName(state.DefaultStyle));
  if (number == nullptr) return std::nullopt;
  return StyleNumberValue(*number);
}

// The highest style number a line may give: 0xFF00 and above mean "no style" (0xFFFD a media
// file) in a record.
constexpr int kLargestStyleNumber = 0xFEFF;
// What an empty style field stands for: a record without a style, as the export writes one.
constexpr int kNoStyle = 0xFFFF;

// How the style of a line is placed.
enum class Placement { kListed, kMedia, kNoStyle, kNumber, kNamed, kLeftOut };

// A style written as a number: digits only (blanks around them allowed).
std::optional<long long> WrittenNumber(std::string_view style) {
  const std::string_view digits = TrimBlanks(style);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return LeadingInteger(digits);
}

// A text that begins like a number but is not one ("12abc", "-5", "+7"): it is no name a user
// would give a style, and guessing a number from it would place the record on a wrong style.
bool LooksLikeANumber(std::string_view style) {
  std::string_view text = TrimBlanks(style);
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

// Everything of one data line that goes into the record.
struct RecordFields {
  bool hasTimeSig = false;
  std::uint8_t numerator = 0;
  std::uint8_t denominator = 0;
  bool timeSigUnreadable = false;
  bool hasTempo = false;
  int tempo = 0;
  std::uint8_t flags = 0;
  int intro = 0;
  int next = 0;
};

RecordFields ReadRecordFields(const std::vector<std::string_view>& fields) {
  RecordFields out;
  const std::string_view timeSig = fields[kTimeSigField];
  if (!TrimBlanks(timeSig).empty()) {
    const auto slash = timeSig.find('/');
    if (slash == std::string_view::npos) {
      out.hasTimeSig = true;  // stored as 0/0, and the line is named to the user
      out.timeSigUnreadable = true;
    } else {
      out.hasTimeSig = true;
      out.numerator = ByteValue(timeSig.substr(0, slash));
      out.denominator = ByteValue(timeSig.substr(slash + 1));
    }
  }
  const std::string_view tempo = fields[kTempoField];
  if (!TrimBlanks(tempo).empty()) {
    const long long value = LeadingInteger(tempo);
    if (value < 0 || value > kLargestTempo) throw LineError{err::kOverflow};
    out.hasTempo = true;
    out.tempo = static_cast<int>(value);
  }
  if (EqualsNoCase(fields[kFavField], "yes")) out.flags |= mfd::kFavorite;
  if (EqualsNoCase(fields[kS1Field], "yes")) out.flags |= mfd::kSearch1;
  if (EqualsNoCase(fields[kS2Field], "yes")) out.flags |= mfd::kSearch2;
  if (fields.size() > kNextField) {
    out.intro = SectionDigit(fields[kIntroField]);
    out.next = SectionDigit(fields[kNextField]);
  }
  return out;
}

void WriteRecord(std::vector<std::uint8_t>& bytes, std::size_t r, int number, int style,
                 const std::vector<std::string_view>& fields, const RecordFields& values) {
  const std::span<std::uint8_t> image = bytes;
  WriteU16(image, r + mfd::kNumber, static_cast<std::uint16_t>(number - 1));
  WriteU16(image, r + mfd::kStyle, static_cast<std::uint16_t>(style));
  if (values.hasTimeSig) {
    EncodeTimeSig(image, r, values.numerator, values.denominator);
  } else {
    EncodeNoTimeSig(image, r);
  }
  if (values.hasTempo) {
    EncodeTempo(image, r, values.tempo);
  } else {
    EncodeNoTempo(image, r);
  }
  WriteU8(image, r + mfd::kFlags, values.flags);
  EncodeText(image, r + mfd::kMusic, mfd::kMusicLength, TrimBlanks(fields[kMusicField]));
  EncodeText(image, r + mfd::kGenre, mfd::kGenreLength, TrimBlanks(fields[kGenreField]));
  EncodeText(image, r + mfd::kKeywords, mfd::kKeywordsLength, fields[kKeywordsField]);
  EncodeSections(image, r, values.intro, values.next);
}

std::string LineProblemMessage(std::size_t position, std::string_view line) {
  return kImportLineProblem + std::to_string(position) + "\r\n" + ShownLine(line);
}

std::string LimitMessage(std::size_t position) {
  return "The Music Finder file cannot hold more than " + std::to_string(kMaxImportRecords) +
         " records. The import stopped at line " + std::to_string(position) +
         "; the lines before it were imported.";
}

// What the decision of an import goes by: the lists it looked up, the options, the count.
struct ImportInputs {
  std::unordered_map<std::string, SourceStyle> source;  // the source list by StyleKey
  std::optional<int> defaultNumber;                     // DefaultStyle on the target
  std::string sourceInstrument;
  bool autoDetect = true;
  bool allowUserStyles = true;
  int recordCount = 0;  // records in the file before the import
};

// One line that becomes a record.
struct ImportedLine {
  std::size_t line = 0;  // among the non-empty lines, from 0
  std::vector<std::string_view> fields;
  RecordFields values;
  int style = 0;
  std::string shown;       // the row's "Style or File" text
  bool userStyle = false;  // a user style: the row is marked and the editor lists it
  std::string styleName;   // the style as written, apostrophes removed
  std::string key;         // its normalised name
};

enum class ImportStop { kNone, kLineProblem, kLimit };

// The decision of an import: the lines that become records, the log of the lines left out, and
// where the text stopped being read.
struct ImportPlan {
  std::vector<std::string_view> lines;  // the non-empty lines
  std::vector<ImportedLine> records;
  int leftOut = 0;
  std::string log = "Item #\tGenre\tSong\tStyle\r\n";
  ImportStop stop = ImportStop::kNone;
  std::size_t stopLine = 0;
  int stopError = 0;  // the error number of a line that cannot be read
};

// The non-empty lines, whatever their line ends; a last line needs none.
std::vector<std::string_view> NonEmptyLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (const std::string_view line : SplitTextLines(text)) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// Where the style of a line goes: a media file, no style, a style of the source list, a user
// style given as a number or by a name (the default style), or nowhere (kLeftOut).
Placement PlaceStyle(std::string_view written, const ImportInputs& in, ImportedLine& out) {
  const auto listed = in.source.find(out.key);
  if (written.find(':') != std::string_view::npos) {
    out.style = mfd::kMediaStyle;
    out.shown = std::string(written);  // a path keeps every character
    return Placement::kMedia;
  }
  if (out.key.empty()) {
    out.style = kNoStyle;
    out.shown.clear();
    return Placement::kNoStyle;
  }
  if (listed != in.source.end()) {
    out.style = listed->second.number;
    out.shown = listed->second.name;  // as the list names it, which a later open shows too
    return Placement::kListed;
  }
  if (const auto number = WrittenNumber(out.styleName)) {
    const long long stored = StoredUserStyleNumber(in.sourceInstrument, in.autoDetect, *number,
                                                   TrimBlanks(out.styleName).size());
    if (!in.allowUserStyles || stored > kLargestStyleNumber) return Placement::kLeftOut;
    out.style = static_cast<int>(stored);
    return Placement::kNumber;
  }
  if (!LooksLikeANumber(out.styleName) && in.allowUserStyles && in.defaultNumber) {
    out.style = *in.defaultNumber;
    return Placement::kNamed;
  }
  return Placement::kLeftOut;
}

// Decides every line of the text: no I/O, no dialogs.
ImportPlan PlanImport(std::string_view text, const ImportInputs& in) {
  ImportPlan plan;
  plan.lines = NonEmptyLines(text);
  std::size_t first = 0;
  if (!plan.lines.empty()) {
    const auto fields = SplitAt(plan.lines.front(), '\t');
    if (fields.size() > 1 && TrimBlanks(fields[1]) == "Genre") first = 1;
  }
  int count = in.recordCount;
  for (std::size_t i = first; i < plan.lines.size(); ++i) {
    ImportedLine out{.line = i, .fields = SplitAt(plan.lines[i], '\t')};
    const auto& fields = out.fields;
    try {
      if (fields.size() < kLeastFields || fields.size() == kIntroField + 1) {
        throw LineError{err::kSubscriptOutOfRange};
      }
      out.styleName = WithoutApostrophes(fields[kStyleField]);
      out.key = NormalizeStyleName(out.styleName);
      out.shown = out.styleName;
      const Placement placement = PlaceStyle(fields[kStyleField], in, out);
      if (placement == Placement::kLeftOut) {
        ++plan.leftOut;
        plan.log += std::to_string(i + 1) + "\t" + std::string(fields[kGenreField]) + "\t" +
                    std::string(fields[kMusicField]) + "\t" + out.key + "\r\n";
        continue;
      }
      out.userStyle = placement == Placement::kNumber || placement == Placement::kNamed;
      out.values = ReadRecordFields(fields);
    } catch (const LineError& e) {
      plan.stop = ImportStop::kLineProblem;
      plan.stopLine = i;
      plan.stopError = e.number;
      break;
    }
    if (count + 1 > kMaxImportRecords) {
      plan.stop = ImportStop::kLimit;
      plan.stopLine = i;
      break;
    }
    ++count;
    plan.records.push_back(std::move(out));
  }
  return plan;
}

// Appends the record and the row of one imported line.
void AppendImportedLine(AppState& state, const ImportedLine& line,
                        std::unordered_set<std::string>& editorKeys) {
  const int number = HeaderCount(state.FileBytes) + 1;
  const std::size_t r = AppendRecord(state.FileBytes);
  WriteRecord(state.FileBytes, r, number, line.style, line.fields, line.values);
  std::array<std::string, col::kCount> texts;
  texts[col::kNumber] = NumberText(number);
  for (int c = col::kGenre; c <= col::kNext; ++c) {
    const auto f = static_cast<std::size_t>(c);
    if (f < line.fields.size()) texts[f] = line.fields[f];
  }
  texts[col::kStyle] = line.shown;
  texts[col::kFiller] = "    ";
  if (line.userStyle) texts[col::kStyle] += "!";
  Row row;
  row.record = static_cast<std::uint32_t>(number);
  row.cells.Assign(texts);
  if (line.userStyle) {
    row.styleColor = state.UnknownStyleColor;
    if (editorKeys.insert(line.key).second) {
      state.Editor.styles.push_back({line.styleName, line.style});
    }
  }
  state.List.Add(std::move(row));
}

// Writes the records of a plan and says what the lines that stopped it were.
void ApplyImport(AppState& state, Dialogs& dialogs, const ImportPlan& plan, ImportResult& result,
                 Outcome& outcome) {
  std::unordered_set<std::string> editorKeys;
  for (const auto& entry : state.Editor.styles) editorKeys.insert(NormalizeStyleName(entry.text));
  const std::size_t total = plan.records.size();
  // Room for every row and record at once, rather than a copy of them all each time either grows.
  state.List.Reserve(state.List.Size() + total);
  state.FileBytes.reserve(state.FileBytes.size() + total * mfd::kRecordSize);
  for (const ImportedLine& line : plan.records) {
    dialogs.Progress(static_cast<std::size_t>(result.imported), total);
    AppendImportedLine(state, line, editorKeys);
    ++result.imported;
    if (line.values.timeSigUnreadable) {
      outcome.Say(LineProblemMessage(line.line, plan.lines[line.line]));
    }
  }
  if (plan.stop == ImportStop::kLimit) {
    outcome.Fail(Problem::kRefused, LimitMessage(plan.stopLine + 1));
    result.stopped = true;
  } else if (plan.stop == ImportStop::kLineProblem) {
    outcome.Say(LineProblemMessage(plan.stopLine, plan.lines[plan.stopLine]));
    const RuntimeError error(plan.stopError);
    RecordError(outcome, error, "ImportTextDelimitedFile " + std::to_string(plan.stopError));
    RecordError(outcome, error, "ImportTextDelimitedFile");
    outcome.problem = Problem::kDamaged;  // the lines before it were imported
    outcome.record = static_cast<int>(plan.stopLine) + 1;
    result.stopped = true;
  }
  result.leftOut = plan.leftOut;
}

}  // namespace

ImportResult ImportDelimitedText(AppState& state, Dialogs& dialogs, std::string_view text) {
  ImportResult result;
  result.read = true;
  BusyGuard busy(dialogs);
  ImportPlan plan;
  result.outcome = RunGuarded("ImportTextDelimitedFile", [&](Outcome& outcome) {
    ImportInputs inputs{.defaultNumber = DefaultStyleNumber(state),
                        .sourceInstrument = state.SourceInstrument,
                        .autoDetect = state.AutoDetect,
                        .allowUserStyles = state.AllowUserStyles,
                        .recordCount = HeaderCount(state.FileBytes)};
    inputs.source = SourceLookup(state);
    if (auto problem = StyleListProblem(StyleFoldersOf(state), state.SourceInstrument)) {
      NoteStyleListProblem(state, outcome, *problem);
    }
    plan = PlanImport(text, inputs);
    ApplyImport(state, dialogs, plan, result, outcome);
    dialogs.Progress(static_cast<std::size_t>(result.imported), plan.records.size());
  });
  if (result.outcome.problem == Problem::kUnexpected) result.stopped = true;

  // Whatever happened, the rows agree with the records written so far.
  state.List.Resort();
  result.fitColumns = true;

  if (result.leftOut > 0) {
    result.outcome.Say(
        "Some entries could not be stored because the style indicated does not exist on the "
        "source instrument. See " +
        state.UserFolder + kImportLogFile + " for details");
    Outcome written = WriteTextFileContents(state.UserFolder + kImportLogFile, plan.log);
    result.logWritten = written.Ok();
    result.outcome.Absorb(std::move(written));
  }
  result.outcome.Report("Imported " + Counted(result.imported, "record") +
                        (result.leftOut > 0 ? ", " + std::to_string(result.leftOut) +
                                                  " left out (" + kImportLogFile + ")"
                                            : std::string()) +
                        (result.stopped ? ", the import stopped early" : ""));
  return result;
}

ImportResult ChooseAndImportDelimitedFile(AppState& state, Dialogs& dialogs) {
  ImportResult result;
  if (state.FileName.empty()) {
    result.outcome.Fail(Problem::kRefused, kImportNeedsFile);
    return result;
  }
  std::string text;
  result.outcome = RunGuarded("ImportTextDelimitedFile", [&](Outcome& outcome) {
    FileRequest request{.filter = kImportFilter};
    if (!state.ImportFolder.empty()) {
      request.folder = state.ImportFolder;
    } else if (!state.ExportFolder.empty()) {
      request.folder = state.ExportFolder;
    }
    const auto chosen = dialogs.OpenFile(request);
    if (!chosen || chosen->empty()) {
      outcome.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }
    state.ImportFolder = FolderOf(*chosen);
    outcome.file = *chosen;
    const Bytes bytes = ReadFileBytes(*chosen, kMaxImportTextSize);
    // Far more than the records a file can hold; a device that never ends stops here.
    if (bytes.size() > kMaxImportTextSize) throw RuntimeError(7, "Out of memory");
    TextFileContents file =
        DecodeTextFile(std::string(bytes.begin(), bytes.end()), TextEncodings::kMarkedUtf8Only);
    if (file.problem) {
      outcome.Fail(Problem::kBadFile,
                   MessageRequest{.text = "The file " + *chosen + " cannot be imported: it " +
                                          *file.problem + ".",
                                  .icon = Icon::kExclamation});
      return;
    }
    text = std::move(file.text);
    result.read = true;
  });
  if (!result.outcome.Ok() || !result.read) return result;
  const std::string file = result.outcome.file;
  result = ImportDelimitedText(state, dialogs, text);
  if (result.outcome.file.empty()) result.outcome.file = file;
  return result;
}

ImportResult ImportDelimitedFile(AppState& state, Dialogs& dialogs) {
  ImportResult result = ChooseAndImportDelimitedFile(state, dialogs);
  // Without an open file there is nothing that could be saved.
  if (!state.FileName.empty()) state.FileSaved = false;
  return result;
}

ImportLogDisplay LoadImportLog(const RunOptions& state) {
  ImportLogDisplay view{.path = state.UserFolder + kImportLogFile, .caption = kImportLogCaption};
  try {
    const Bytes bytes = ReadFileWithin(view.path, kMaxLogSize);
    view.text = std::string(bytes.begin(), bytes.end());
  } catch (const FileTooLarge& e) {
    view.outcome.Fail(Problem::kBadFile,
                      "The Information File " + e.Description() + " and is not shown.");
  } catch (const RuntimeError&) {
    view.outcome.Fail(Problem::kBadFile,
                      std::string("Cannot find the Information File named ") + kImportLogFile);
  }
  view.outcome.file = view.path;
  return view;
}

}  // namespace cadenzo
