// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/delete_commands.h"

#include "app/outcome.h"
#include "list/row_commands.h"

namespace cadenzo {

void MarkRowDeleted(Row& row) {
  row.deleted = true;
  row.SetCell(col::kGenre, kDeletedMarker);
  for (int column : {col::kMusic, col::kStyle, col::kTimeSig, col::kTempo, col::kKeywords}) {
    row.SetCell(column, {});
  }
}

Outcome DeleteSelectedRow(AppState& state) {
  return RunGuarded("cmdDelete", [&](Outcome& outcome) {
    if (state.SelectedRecord == 0) {
      outcome.Fail(Problem::kRefused, kSelectItemFirst);
      return;
    }
    // The highlighted row, which a search may have moved away from the clicked one; without a
    // highlight, the row last clicked.
    auto position = SelectedRow(state);
    if (!position) {
      const int found = state.List.FindByRecord(static_cast<std::uint32_t>(state.SelectedRecord));
      if (found < 0) return;
      position = static_cast<std::size_t>(found);
    }
    Row& row = state.List[*position];
    if (row.Cell(col::kStyle).starts_with("User:")) {
      outcome.Fail(Problem::kRefused, kUserAreaNotDeletable);
      return;
    }
    MarkRowDeleted(row);
    state.FileSaved = false;
    outcome.Report("Deleted record " + std::to_string(row.record) + "; it will not be saved");
  });
}

Outcome DeleteCheckedRows(Document& state) {
  return RunGuarded("Delecte_Checked", [&](Outcome& outcome) {
    long long deleted = 0;
    for (Row& row : state.List) {
      if (!row.checked || row.Cell(col::kStyle).starts_with("D:")) continue;
      if (!row.deleted) ++deleted;
      MarkRowDeleted(row);
      row.checked = false;
      // Off even while rows it may not delete stay checked; Play List stays as it was (on, since
      // a row was checked).
      state.CheckCommands = {CheckCommandRules::DeleteChecked::kOffWhileMarked, true};
    }
    state.FileSaved = false;
    outcome.Report("Deleted " + Counted(deleted, "checked row") + "; they will not be saved");
  });
}

}  // namespace cadenzo
