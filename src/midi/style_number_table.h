// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "app/paths.h"

namespace cadenzo {

// Style numbers of the target's style list, as sending a record to the instrument looks them
// up: key = the style name without any blank, in lower case; value = the number text trimmed,
// without leading zeros ("0" when nothing is left). The first line of a key wins.
using StyleNumberTable = std::unordered_map<std::string, std::string>;

// The key of a style name or of a row's "Style or File" text: every blank removed, in lower case.
std::string StyleNumberKey(std::string_view text);

// Parses style list text: CR LF lines up to the first empty one, the piece after the last CR LF
// unread, "#" comment lines skipped, "name;number" split at the first ";"; lines without ";"
// are passed over.
StyleNumberTable ParseStyleNumberTable(std::string_view text);

// The table of the model's list file (StyleListPath); empty when the file is missing.
StyleNumberTable ReadStyleNumberTable(const StyleFolders& folders, const std::string& model);

// The whole-number value of a table's number text. Throws RuntimeError: type mismatch when the
// text is not a number, overflow when it is too large.
int StyleNumberOf(std::string_view numberText);

}  // namespace cadenzo
