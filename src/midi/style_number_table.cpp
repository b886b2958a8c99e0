// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/style_number_table.h"

#include <charconv>

#include "app/runtime_error.h"
#include "catalogue/style_list.h"
#include "charset/cp1252.h"
#include "textio/text_file.h"

namespace cadenzo {

std::string StyleNumberKey(std::string_view text) {
  std::string key;
  key.reserve(text.size());
  for (const char c : text) {
    if (c != ' ') key.push_back(LowerCp1252(c));
  }
  return key;
}

StyleNumberTable ParseStyleNumberTable(std::string_view text) {
  StyleNumberTable table;
  for (const std::string_view line : SplitTextLines(text)) {
    if (line.empty()) break;
    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.front() == '#') continue;
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) continue;
    std::string_view number = TrimBlanks(line.substr(semicolon + 1));
    while (!number.empty() && number.front() == '0') number.remove_prefix(1);
    table.try_emplace(StyleNumberKey(TrimBlanks(line.substr(0, semicolon))),
                      number.empty() ? std::string("0") : std::string(number));
  }
  return table;
}

StyleNumberTable ReadStyleNumberTable(const StyleFolders& folders, const std::string& model) {
  // A list that cannot be read as text (too large, UTF-16, binary) stops the send with its reason
  // instead of sending without style numbers.
  if (const auto problem = StyleListProblem(folders, model)) {
    throw RuntimeError(err::kInvalidCall, *problem);
  }
  return ParseStyleNumberTable(ReadStyleListText(folders, model));
}

int StyleNumberOf(std::string_view numberText) {
  const std::string_view digits = TrimBlanks(numberText);
  if (digits.empty()) throw RuntimeError(err::kTypeMismatch);
  for (const char c : digits) {
    if (c < '0' || c > '9') throw RuntimeError(err::kTypeMismatch);
  }
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) {
    throw RuntimeError(err::kOverflow);
  }
  return value;
}

}  // namespace cadenzo
