// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/dialogs.h"
#include "app/editor_draft.h"
#include "app/outcome.h"
#include "app/paths.h"
#include "app/run_options.h"

namespace cadenzo {

// One style line of a style list file: the name and number texts exactly as written.
struct StyleListEntry {
  std::string name;    // the text before the first ";", untrimmed
  std::string number;  // the text after the first ";"
};

// The result of parsing a list file. A malformed line (no ";") stops nothing by itself: it is
// recorded with its position so that the consumers that report it can, and the others skip it.
struct StyleListLine {
  bool malformed = false;
  StyleListEntry entry;  // for a malformed line: name = the whole line
};

// Parses style-list text: lines end in CR LF, LF or CR (the last one also without a line end),
// the first empty line ends the list, "#" after leading blanks starts a comment, and a line is
// split at its first ";".
std::vector<StyleListLine> ParseStyleListLines(std::string_view text);

// A style list holds a few hundred short lines; a larger file is refused rather than read.
inline constexpr std::size_t kMaxStyleListSize = std::size_t{4} << 20;

// The text of a model's list file as the program reads it (UTF-8 converted); empty when the file
// is missing or cannot be read.
std::string ReadStyleListText(const StyleFolders& folders, std::string_view model);

// The style lines of a model's list file, in file order; malformed lines skipped.
std::vector<StyleListEntry> ReadStyleList(const StyleFolders& folders, std::string_view model);
// The same, keeping malformed lines, for the consumers that report them.
std::vector<StyleListLine> ReadStyleListLines(const StyleFolders& folders, std::string_view model);

// The message for a model's list file that exists but cannot be read (UTF-16, not text, too
// large), naming the file and why; nothing for a readable or a missing file. Such a list reads
// as empty, so its consumers report this rather than silently convert with no styles.
std::optional<std::string> StyleListProblem(const StyleFolders& folders, std::string_view model);

// When neither folder has the model's list: the message saying so, which names the file to add
// and the user's styles folder to add it to. Nothing for a model that has a list, or no model.
std::optional<std::string> MissingStyleList(const StyleFolders& folders, std::string_view model);

// Records a style list the program cannot read as the command's problem, with its message once a
// run: the same message again (the same file, unchanged, read by another step of the same command
// or a later one) is not repeated, while the problem is recorded every time.
void NoteStyleListProblem(RunOptions& run, Outcome& outcome, const std::string& message);

std::string NormalizeStyleName(std::string_view text);
std::string StripLeadingZeros(std::string_view numberText);
std::string StripChars(std::string_view text, std::string_view chars);
// The integer value of a number text (after StripLeadingZeros); nothing when it is not a whole
// number from 0 to 65535.
std::optional<int> StyleNumberValue(std::string_view numberText);

// A keyed lookup whose keys compare without regard to case; the first of duplicate keys is kept.
class KeyedCollection {
 public:
  // Hashing and equality without regard to case, so that a lookup needs no folded copy of its key.
  struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Map = std::unordered_map<std::string, std::string, NoCaseHash, NoCaseEqual>;

  // Returns false (and keeps the first value) when the key is present already.
  bool Add(std::string_view key, std::string value);
  bool Has(std::string_view key) const;
  const std::string* Find(std::string_view key) const;
  std::size_t Size() const { return map_.size(); }
  bool Empty() const { return map_.empty(); }
  // Every key (folded to lower case) with its value, in no particular order.
  const Map& Items() const { return map_; }

 private:
  Map map_;  // key folded to lower case
};

bool CollectionHasKey(const KeyedCollection& collection, std::string_view key);

// The lookups of the processing pass, built from the target's list once per pass.
struct TargetMaps {
  KeyedCollection nameMap;    // NormalizeStyleName(trimmed name) -> StripLeadingZeros(number)
  KeyedCollection numberSet;  // StripLeadingZeros(number) -> same
  // StripLeadingZeros(number) -> every normalised name the list gives that number.
  std::unordered_multimap<std::string, std::string> numberNames;
};
TargetMaps BuildTargetMaps(const StyleFolders& folders, std::string_view target);

// The record's style on the target: a style number text, or nothing (not found). styleNumberText
// is the stored number as four digits; styleText the row's "Style or File" text. In this order:
// the stored number stays when the target gives it the record's own style name, or when the text
// is a number (a user style, or style numbers shown); otherwise the number of the name; then the
// name without its last digit, or followed by 1, 2 or 3. Nothing else is found, not even a stored
// number that the target gives another style: saving it would change the record's style.
std::optional<std::string> ResolveTargetStyle(std::string_view styleNumberText,
                                              std::string_view styleText, const TargetMaps& maps);
// The same for the processing pass, with numbers: the stored style number (0 to 65535) in, the
// target's number out; nothing when not found or when the list's number text is not a number.
// The maps are those BuildTargetMaps makes.
std::optional<int> ResolveTargetStyleNumber(int styleNumber, std::string_view styleText,
                                            const TargetMaps& maps);
// The same, telling whether the style found is the one the text names (exact) or a near name
// (the name without its last digit, or followed by 1, 2 or 3), which the target shows otherwise.
struct StyleMatch {
  int number = 0;
  bool exact = true;
};
std::optional<StyleMatch> ResolveTargetStyleMatch(int styleNumber, std::string_view styleText,
                                                  const TargetMaps& maps);

// Whether a "Style or File" text is a number (a user style, or style numbers shown).
bool IsStyleNumberText(std::string_view styleText);
// Whether the target's list gives the number any style (the number as text, leading zeros
// ignored).
bool TargetNamesNumber(std::string_view numberText, const TargetMaps& maps);

// The source style list as the reader keeps it: StripLeadingZeros(number) -> untrimmed name.
KeyedCollection BuildSourceStyles(const StyleFolders& folders, std::string_view source);

// Combo entries of a target list (trimmed name, number as item data) in file order, as the
// editor, the default style dialog and bulk replace fill their style combos. A malformed line or
// a number that is not numeric stops the fill: entries so far are kept and the bad line returned.
struct ComboFill {
  std::vector<ComboEntry> entries;
  std::optional<std::string> lastGoodName;  // of the last good line, for the error text
  std::optional<std::string> lastGoodNumber;
  bool failed = false;
  int errorNumber = 0;  // when failed: 5 for a line without ";", 13 for a number that is not one
  // When the file cannot be read at all: failed, error 62, and StyleListProblem's message.
  std::optional<std::string> problem;
};
ComboFill StyleComboEntries(const StyleFolders& folders, std::string_view target);

}  // namespace cadenzo
