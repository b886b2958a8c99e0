// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/search.h"

#include "app/outcome.h"
#include "charset/cp1252.h"
#include "list/delete_commands.h"
#include "list/row_commands.h"

namespace cadenzo {
namespace {

// Copies txtFind into SearchText; an empty text is refused with the message.
bool TakeSearchText(Outcome& outcome, SearchState& search) {
  search.SearchText = search.txtFind;
  if (!search.SearchText.empty()) return true;
  outcome.Fail(Problem::kRefused, kEnterSearchText);
  return false;
}

// Walks from SearchPos to the last row and highlights the first match.
std::optional<std::size_t> SearchOn(Document& state, SearchState& search) {
  const auto rows = static_cast<int>(state.List.Size());
  if (search.SearchPos < 1) search.SearchPos = 1;
  for (; search.SearchPos <= rows; ++search.SearchPos) {
    const auto position = static_cast<std::size_t>(search.SearchPos - 1);
    if (RowMatches(state.List[position], search)) {
      state.List.SelectOnly(static_cast<int>(position));
      return position;
    }
  }
  return std::nullopt;
}

}  // namespace

const std::array<SearchField, 7>& SearchFields() {
  static constexpr std::array<SearchField, 7> kFields = {{{1, "Music", col::kMusic, ""},
                                                          {2, "Genre", col::kGenre, ""},
                                                          {3, "Keywords", col::kKeywords, ""},
                                                          {4, "Favorites", col::kFav, "Yes"},
                                                          {5, "Search 1", col::kS1, "Yes"},
                                                          {6, "Search 2", col::kS2, "Yes"},
                                                          {7, "Style", col::kStyle, ""}}};
  return kFields;
}

void ChooseSearchField(SearchState& search, int index) {
  for (const auto& field : SearchFields()) {
    if (field.index != index) continue;
    search.fieldIndex = index;
    search.SearchColumn = field.column;
    search.txtFind = field.preset;
    return;
  }
}

bool CellMatches(std::string_view cell, std::string_view text, bool wholeWord) {
  if (!wholeWord) {
    return LowerCp1252(TrimBlanks(cell)).find(LowerCp1252(text)) != std::string::npos;
  }
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = cell.find(',', start);
    const std::string_view word = cell.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (TrimBlanks(word) == text) return true;
    if (comma == std::string_view::npos) return false;
    start = comma + 1;
  }
}

bool RowMatches(const Row& row, const SearchState& search) {
  if (search.SearchColumn < 0 || search.SearchColumn >= col::kCount) return false;
  return CellMatches(row.Cell(search.SearchColumn), search.SearchText, search.wholeWord);
}

Result<std::optional<std::size_t>> FindFirst(AppState& state, SearchState& search) {
  Result<std::optional<std::size_t>> found;
  found.outcome = RunGuarded("Find", [&](Outcome& outcome) {
    if (!TakeSearchText(outcome, search)) return;
    search.SearchPos = 1;
    found.value = SearchOn(state, search);
  });
  return found;
}

Result<std::optional<std::size_t>> FindNext(AppState& state, SearchState& search) {
  Result<std::optional<std::size_t>> found;
  found.outcome = RunGuarded("FindAgain", [&](Outcome& outcome) {
    if (!TakeSearchText(outcome, search)) return;
    ++search.SearchPos;
    found.value = SearchOn(state, search);
  });
  return found;
}

Result<bool> FindAndCheckAll(Document& state, SearchState& search) {
  Result<bool> ran;
  ran.outcome = RunGuarded("Check", [&](Outcome& outcome) {
    if (!TakeSearchText(outcome, search)) return;
    search.SearchPos = 1;
    for (Row& row : state.List) {
      if (RowMatches(row, search)) {
        row.checked = true;
        state.CheckCommands.playListWithoutMarks = true;
      }
      ++search.SearchPos;
    }
    state.CheckCommands.deleteChecked = CheckCommandRules::DeleteChecked::kFollowsMarks;
    ran.value = true;
  });
  return ran;
}

std::size_t RowsFilterWouldDelete(const Document& state, const SearchState& search) {
  std::size_t count = 0;
  for (const Row& row : state.List) {
    // Delete Checked leaves rows of the instrument's preset drive alone.
    if (row.deleted || row.checked || row.Cell(col::kStyle).starts_with("D:")) continue;
    if (!RowMatches(row, search)) ++count;
  }
  return count;
}

std::string FilterQuestion(std::size_t count) {
  return "Filter List marks the " + Counted(static_cast<long long>(count), "row") +
         " that do not match as deleted; they will not be saved. Filter the list?";
}

Outcome FilterList(AppState& state, SearchState& search, Dialogs& dialogs) {
  Outcome outcome;
  if (search.txtFind.empty()) {
    outcome.Fail(Problem::kRefused, kEnterSearchText);
    return outcome;
  }
  // The question reads the text as the command will.
  SearchState asked = search;
  asked.SearchText = search.txtFind;
  const std::size_t count = RowsFilterWouldDelete(state, asked);
  if (count > 0 && !state.FilterWithoutAsking) {
    bool dontAsk = false;
    const Answer answer = dialogs.MessageWithCheckBox({.text = FilterQuestion(count),
                                                       .buttons = Buttons::kYesNo,
                                                       .icon = Icon::kQuestion,
                                                       .title = "Filter List",
                                                       .defaultButton = 1},
                                                      kDontAskAgainText, dontAsk);
    if (answer != Answer::kYes) {
      outcome.Fail(Problem::kCancelled, MessageRequest{});
      return outcome;
    }
    if (dontAsk) state.FilterWithoutAsking = true;
  }
  // A failed check must not go on to invert and delete: that would delete the matching rows.
  Result<bool> checked = FindAndCheckAll(state, search);
  outcome.Absorb(std::move(checked.outcome));
  if (!checked.value || !outcome.Ok()) return outcome;
  outcome.Absorb(InvertChecks(state));
  outcome.Absorb(DeleteCheckedRows(state));
  long long left = 0;
  for (const Row& row : state.List) left += row.deleted ? 0 : 1;
  outcome.Report("Filter List marked " + Counted(static_cast<long long>(count), "row") +
                 " deleted; " + Counted(left, "row") + " left");
  return outcome;
}

Result<bool> OpenInPlayList(AppState& state, SearchState& search) {
  return FindAndCheckAll(state, search);
}

}  // namespace cadenzo
