// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/duplicates.h"

#include <string>
#include <unordered_map>
#include <utility>

#include "charset/cp1252.h"

namespace cadenzo {
namespace {

// The text two rows are compared by: song name, and unless songOnly the style text, each trimmed
// and folded to lower case. A NUL cannot occur in a cell, so it keeps the two parts apart.
std::string DuplicateKey(const Row& row, bool songOnly) {
  std::string key = LowerCp1252(TrimBlanks(row.Cell(col::kMusic)));
  if (!songOnly) {
    key.push_back('\0');
    key += LowerCp1252(TrimBlanks(row.Cell(col::kStyle)));
  }
  return key;
}

}  // namespace

std::vector<Duplicate> ListDuplicates(const RecordList& list, const DuplicateOptions& options) {
  struct First {
    std::uint32_t row;
    std::size_t number;
  };
  std::unordered_map<std::string, First> firsts;
  std::vector<Duplicate> repeats;
  std::size_t number = 0;
  for (const std::uint32_t position : list.RecordOrder()) {
    ++number;
    const Row& row = list[position];
    if (row.deleted) continue;
    const auto [it, added] =
        firsts.try_emplace(DuplicateKey(row, options.songOnly), First{position, number});
    if (added) continue;
    repeats.push_back(Duplicate{.keptRow = it->second.row,
                                .repeatRow = position,
                                .keptNumber = it->second.number,
                                .repeatNumber = number});
  }
  return repeats;
}

Result<int> FindDuplicates(Document& state, const DuplicateOptions& options) {
  Result<int> result{.value = -1};
  result.outcome = RunGuarded("FindDuplicates", [&](Outcome& outcome) {
    const std::vector<Duplicate> repeats = ListDuplicates(state.List, options);
    for (Row& row : state.List) row.checked = false;
    for (const Duplicate& repeat : repeats) state.List[repeat.repeatRow].checked = true;
    if (repeats.empty()) {
      state.CheckCommands = {CheckCommandRules::DeleteChecked::kFollowsMarks, false};
      outcome.Report("No duplicates found");
      return;
    }
    // As Check All leaves them: Del Chk'd and Play List act on the rows checked.
    state.CheckCommands = {CheckCommandRules::DeleteChecked::kOnWithoutMarks, true};
    outcome.Report(std::to_string(repeats.size()) +
                   (repeats.size() == 1 ? " duplicate checked" : " duplicates checked"));
    for (std::size_t i = 0; i < state.List.Size(); ++i) {
      if (state.List[i].checked) {
        result.value = static_cast<int>(i);
        break;
      }
    }
  });
  return result;
}

}  // namespace cadenzo
