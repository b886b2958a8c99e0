// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/style_list.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

#include "app/runtime_error.h"
#include "catalogue/instrument_table.h"
#include "charset/cp1252.h"
#include "textio/text_file.h"

namespace cadenzo {

std::vector<StyleListLine> ParseStyleListLines(std::string_view text) {
  std::vector<StyleListLine> lines;
  for (const std::string_view piece : SplitTextLines(text)) {
    if (piece.empty()) break;  // an empty line ends the list; a line of blanks does not
    const std::string_view trimmed = TrimBlanks(piece);
    if (!trimmed.empty() && trimmed.front() == '#') continue;
    StyleListLine line;
    const auto semicolon = piece.find(';');
    if (semicolon == std::string_view::npos) {
      line.malformed = true;
      line.entry.name = std::string(piece);
    } else {
      line.entry.name = std::string(piece.substr(0, semicolon));
      line.entry.number = std::string(piece.substr(semicolon + 1));
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

namespace {

namespace fs = std::filesystem;

// One command reads a list in several steps (the target's style combo, the source styles, the
// pass's lookups and each one's check for an unreadable file). The decoded text is kept by path
// and given again while the file keeps its size and modification time. A file changed in the last
// two seconds is read afresh every time: a second change within one tick of the file system's
// clock would leave the time as it was.
constexpr auto kSettledAfter = std::chrono::seconds(2);

struct KeptList {
  std::uintmax_t size = 0;
  fs::file_time_type modified;
  TextFileContents contents;
};

TextFileContents ReadStyleListFile(const StyleFolders& folders, std::string_view model) {
  // No model, no list: the file of an empty name (".dat") is never read, even if one exists.
  if (model.empty()) return TextFileContents{.missing = true};
  const std::string path = StyleListPath(folders, model);
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  const auto modified = ec ? fs::file_time_type{} : fs::last_write_time(path, ec);
  const bool settled = !ec && fs::file_time_type::clock::now() - modified >= kSettledAfter;

  static std::mutex mutex;
  static std::map<std::string, KeptList, std::less<>> kept;
  const std::lock_guard lock(mutex);
  if (settled) {
    const auto found = kept.find(path);
    if (found != kept.end() && found->second.size == size && found->second.modified == modified) {
      return found->second.contents;
    }
  }
  TextFileContents contents = ReadTextFile(path, kMaxStyleListSize, TextEncodings::kUtf8Lists);
  if (settled && !contents.missing) {
    kept.insert_or_assign(path, KeptList{size, modified, contents});
  } else {
    kept.erase(path);
  }
  return contents;
}

}  // namespace

std::string ReadStyleListText(const StyleFolders& folders, std::string_view model) {
  return ReadStyleListFile(folders, model).text;
}

std::vector<StyleListLine> ReadStyleListLines(const StyleFolders& folders, std::string_view model) {
  return ParseStyleListLines(ReadStyleListText(folders, model));
}

std::optional<std::string> StyleListProblem(const StyleFolders& folders, std::string_view model) {
  const TextFileContents file = ReadStyleListFile(folders, model);
  if (!file.problem) return std::nullopt;
  return "The style list " + StyleListPath(folders, model) + " cannot be read: it " +
         *file.problem +
         ". Its styles are not known. Save it again as plain text, or put back "
         "the list that came with the program.";
}

std::optional<std::string> MissingStyleList(const StyleFolders& folders, std::string_view model) {
  if (model.empty() || HasStyleFile(folders, StyleListFileName(model))) return std::nullopt;
  const std::string file = StyleListFileName(model);
  return "No style list for " + std::string(model) +
         ": styles are kept as user styles while 'Allow User or Unknown Styles' is on. Add " +
         file + " to " + (folders.user.empty() ? folders.app : folders.user) + ".";
}

void NoteStyleListProblem(RunOptions& run, Outcome& outcome, const std::string& message) {
  const bool first = run.ReportedTextFileProblems.insert(message).second;
  outcome.Fail(
      Problem::kStyleList,
      first ? MessageRequest{.text = message, .icon = Icon::kExclamation} : MessageRequest{});
}

std::vector<StyleListEntry> ReadStyleList(const StyleFolders& folders, std::string_view model) {
  std::vector<StyleListEntry> entries;
  for (auto& line : ReadStyleListLines(folders, model)) {
    if (!line.malformed) entries.push_back(std::move(line.entry));
  }
  return entries;
}

std::string NormalizeStyleName(std::string_view text) {
  // Once every blank is gone there is nothing left to trim.
  std::string name;
  name.reserve(text.size() - static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')));
  for (const char c : text) {
    if (c != ' ') name.push_back(LowerCp1252(c));
  }
  return name;
}

namespace {

// StripLeadingZeros without a copy: a view of numberText, or "0".
std::string_view WithoutLeadingZeros(std::string_view numberText) {
  std::string_view text = TrimBlanks(numberText);
  const auto first = text.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view("0") : text.substr(first);
}

}  // namespace

std::string StripLeadingZeros(std::string_view numberText) {
  return std::string(WithoutLeadingZeros(numberText));
}

std::string StripChars(std::string_view text, std::string_view chars) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (chars.find(c) == std::string_view::npos) out.push_back(c);
  }
  return out;
}

std::optional<int> StyleNumberValue(std::string_view numberText) {
  if (TrimBlanks(numberText).empty()) return std::nullopt;  // no number at all
  const std::string_view digits = WithoutLeadingZeros(numberText);
  if (digits.size() > 5) return std::nullopt;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 65535) return std::nullopt;
  return value;
}

std::size_t KeyedCollection::NoCaseHash::operator()(std::string_view key) const {
  // FNV-1a over the folded bytes.
  std::size_t hash = 14695981039346656037ULL;
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(LowerCp1252(c));
    hash *= 1099511628211ULL;
  }
  return hash;
}

bool KeyedCollection::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsNoCase(a, b);
}

// The value is taken by value so that callers can move names in.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
bool KeyedCollection::Add(std::string_view key, std::string value) {
  return map_.try_emplace(LowerCp1252(key), std::move(value)).second;
}

bool KeyedCollection::Has(std::string_view key) const { return map_.find(key) != map_.end(); }

const std::string* KeyedCollection::Find(std::string_view key) const {
  const auto it = map_.find(key);
  return it == map_.end() ? nullptr : &it->second;
}

bool CollectionHasKey(const KeyedCollection& collection, std::string_view key) {
  return collection.Has(key);
}

TargetMaps BuildTargetMaps(const StyleFolders& folders, std::string_view target) {
  TargetMaps maps;
  for (const auto& entry : ReadStyleList(folders, target)) {
    const std::string number = StripLeadingZeros(entry.number);
    const std::string key = NormalizeStyleName(TrimBlanks(entry.name));
    // A line without a name would make every empty style text match it.
    if (!key.empty()) {
      maps.nameMap.Add(key, number);
      maps.numberNames.emplace(number, key);
    }
    maps.numberSet.Add(number, number);
  }
  return maps;
}

namespace {

// The lookup by the near names of a name that the target lacks: without its last digit, or
// followed by 1, 2 or 3. name is normalised and not empty.
const std::string* FindByNearName(std::string name, const TargetMaps& maps) {
  // "Pop Rock 2" may be "Pop Rock" on the target; "Funk" may be "Funk1" to "Funk3".
  if (const char last = name.back(); last >= '1' && last <= '9') {
    name.pop_back();
    if (const auto* found = maps.nameMap.Find(name)) return found;
  }
  for (const char digit : {'1', '2', '3'}) {
    name.push_back(digit);
    if (const auto* found = maps.nameMap.Find(name)) return found;
    name.pop_back();
  }
  return nullptr;
}

// A media file reference is never a style. (Dropping blanks and case never makes or removes a
// ":", so the text is tested before it is normalised.)
bool IsMediaReference(std::string_view styleText) {
  return styleText.find(':') != std::string_view::npos;
}

}  // namespace

bool IsStyleNumberText(std::string_view styleText) {
  const std::string_view text = TrimBlanks(styleText);
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool TargetNamesNumber(std::string_view numberText, const TargetMaps& maps) {
  return maps.numberNames.contains(std::string(WithoutLeadingZeros(numberText)));
}

namespace {

// The stored number stays: the target gives it the record's own style (one of its names, when
// the list holds the number twice), or the text is a number.
bool KeepsStoredNumber(std::string_view number, std::string_view styleText, const std::string& name,
                       const TargetMaps& maps) {
  if (IsStyleNumberText(styleText)) return true;
  if (name.empty()) return false;
  const auto [first, last] = maps.numberNames.equal_range(std::string(number));
  return std::any_of(first, last, [&](const auto& entry) { return entry.second == name; });
}

// The resolution with the target's number as text.
std::optional<std::pair<std::string, bool>> Resolve(std::string_view number,
                                                    std::string_view styleText,
                                                    const TargetMaps& maps) {
  if (IsMediaReference(styleText)) return std::nullopt;
  const std::string name = NormalizeStyleName(styleText);
  if (KeepsStoredNumber(number, styleText, name, maps)) {
    return std::pair{std::string(number), true};
  }
  if (name.empty()) return std::nullopt;
  if (const auto* found = maps.nameMap.Find(name)) return std::pair{*found, true};
  if (const auto* found = FindByNearName(name, maps)) return std::pair{*found, false};
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ResolveTargetStyle(std::string_view styleNumberText,
                                              std::string_view styleText, const TargetMaps& maps) {
  const auto found = Resolve(WithoutLeadingZeros(styleNumberText), styleText, maps);
  if (!found) return std::nullopt;
  return found->first;
}

std::optional<StyleMatch> ResolveTargetStyleMatch(int styleNumber, std::string_view styleText,
                                                  const TargetMaps& maps) {
  const auto found = Resolve(std::to_string(styleNumber), styleText, maps);
  if (!found) return std::nullopt;
  const auto value = StyleNumberValue(found->first);
  if (!value) return std::nullopt;  // a list number that cannot be written
  return StyleMatch{*value, found->second};
}

std::optional<int> ResolveTargetStyleNumber(int styleNumber, std::string_view styleText,
                                            const TargetMaps& maps) {
  const auto match = ResolveTargetStyleMatch(styleNumber, styleText, maps);
  if (!match) return std::nullopt;
  return match->number;
}

KeyedCollection BuildSourceStyles(const StyleFolders& folders, std::string_view source) {
  KeyedCollection styles;
  for (auto& entry : ReadStyleList(folders, source)) {
    styles.Add(StripLeadingZeros(entry.number), std::move(entry.name));
  }
  return styles;
}

ComboFill StyleComboEntries(const StyleFolders& folders, std::string_view target) {
  ComboFill fill;
  if (auto problem = StyleListProblem(folders, target)) {
    fill.failed = true;
    fill.errorNumber = err::kInputPastEnd;
    fill.problem = std::move(problem);
    return fill;
  }
  for (const auto& line : ReadStyleListLines(folders, target)) {
    if (line.malformed) {
      fill.failed = true;
      fill.errorNumber = err::kInvalidCall;
      break;
    }
    const auto value = StyleNumberValue(line.entry.number);
    if (!value) {
      fill.failed = true;
      fill.errorNumber = err::kTypeMismatch;
      break;
    }
    std::string name(TrimBlanks(line.entry.name));
    fill.entries.push_back(ComboEntry{name, *value});
    fill.lastGoodName = std::move(name);
    fill.lastGoodNumber = line.entry.number;
  }
  return fill;
}

}  // namespace cadenzo
