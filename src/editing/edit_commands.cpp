// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/edit_commands.h"

#include "app/outcome.h"
#include "charset/cp1252.h"
#include "editing/record_editor.h"
#include "mfd/record.h"

namespace cadenzo {
namespace {

constexpr const char* kSelectFirst = "Please select an item in the list first.";

int SectionIndex(const std::string& text) {
  const auto items = SectionItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].text == text) return static_cast<int>(i);
  }
  return 0;
}

// The editor's inputs take the row's values as the list shows them now: flags toggled, keywords
// added or an import since the row was clicked are not lost by the next OK.
void LoadEditorFromRow(EditorDraft& state, const Row& row) {
  EditorLists& editor = state.Editor;
  editor.cboGenre = row.Cell(col::kGenre);
  editor.txtMusic = row.Cell(col::kMusic);
  editor.txtTempo = row.Cell(col::kTempo);
  editor.txtKeywords = row.Cell(col::kKeywords);
  editor.chkFavorite = row.Cell(col::kFav) == "Yes";
  editor.chkSearch1 = row.Cell(col::kS1) == "Yes";
  editor.chkSearch2 = row.Cell(col::kS2) == "Yes";
  // A time signature outside the five options checks none, so that OK asks for one instead of
  // storing another record's.
  editor.timeSigOption.clear();
  state.EditTimeSig.clear();
  const std::string_view timeSig = TrimBlanks(row.Cell(col::kTimeSig));
  for (const auto& choice : TimeSigChoices()) {
    if (TrimBlanks(choice.editTimeSig) == timeSig) {
      editor.timeSigOption = std::string(choice.control);
      state.EditTimeSig = std::string(choice.editTimeSig);
      break;
    }
  }
}

// A new record without a template: every input empty, no media file, the sections "Off".
void ClearEditorForNewRecord(AppState& state) {
  ClearEditorInputs(state);
  state.Editor.lblSelectedFile.clear();
  state.EditStyleOrFile.clear();
  EnableTimingControls(state.Editor, true);
  SelectEditorControls(state, "", "", "");
}

}  // namespace

void SelectEditorControls(AppState& state, const std::string& s, const std::string& i,
                          const std::string& x) {
  EditorLists& editor = state.Editor;
  editor.cboIntro = SectionIndex(i);
  editor.cboSection = SectionIndex(x);
  if (s.find(':') == std::string::npos) {
    int found = -1;
    for (std::size_t k = 0; k < editor.styles.size(); ++k) {
      if (editor.styles[k].text == s) {
        found = static_cast<int>(k);
        break;
      }
    }
    if (found >= 0) {
      ChoosePresetStyle(state, found);
    } else {
      editor.cboStyle = -1;
    }
  } else {
    // A file reference: the label shows it and no preset style stays chosen beside it.
    editor.cboStyle = -1;
    editor.lblSelectedFile = s;
  }
}

Result<bool> StartAddRecord(AppState& state) {
  Result<bool> show;
  show.outcome = RunGuarded("cmdAdd", [&](Outcome& outcome) {
    if (state.FileName.empty()) {
      outcome.Fail(Problem::kRefused, "Please open a existing or blank music finder file first");
      return;
    }
    const int position = SelectedRecordRow(state);
    if (!state.List.Empty() && position < 0) {
      outcome.Fail(Problem::kRefused,
                   std::string(kSelectFirst) + "\r\nThe data of this item is used as default.");
      return;
    }
    state.List.SetSort(col::kNumber, false);
    state.EditIsNew = true;
    if (position >= 0) {
      const Row& row = state.List[static_cast<std::size_t>(SelectedRecordRow(state))];
      LoadEditorFromRow(state, row);
      SelectEditorControls(state, std::string(row.Cell(col::kStyle)),
                           std::string(row.Cell(col::kIntro)), std::string(row.Cell(col::kNext)));
    } else {
      // No row clicked in this file (a new or empty one): nothing of an earlier file's record.
      ClearEditorForNewRecord(state);
    }
    show.value = true;
  });
  return show;
}

Result<bool> StartModifyRecord(AppState& state) {
  Result<bool> show;
  try {
    if (state.FileName.empty()) return show;
    if (state.SelectedRecord == 0) {
      show.outcome.Fail(Problem::kRefused, kSelectFirst);
      return show;
    }
    state.List.SetSort(col::kNumber, false);
    state.Editor.lblSelectedFile.clear();
    state.EditStyleOrFile.clear();
    const int position = SelectedRecordRow(state);
    if (position < 0) return show;  // no such row: nothing to modify
    const Row& row = state.List[static_cast<std::size_t>(position)];
    if (row.Cell(col::kStyle).starts_with("User:")) {
      show.outcome.Fail(Problem::kRefused,
                        "This is a Preset file in the User Area and it cannot be modified from "
                        "Cadenzo");
      return show;
    }
    if (row.deleted) return show;
    state.EditIsNew = false;
    LoadEditorFromRow(state, row);
    SelectEditorControls(state, std::string(row.Cell(col::kStyle)),
                         std::string(row.Cell(col::kIntro)), std::string(row.Cell(col::kNext)));
    EnableTimingControls(state.Editor, true);
    show.value = true;
  } catch (const RuntimeError& e) {
    // Error 91 (no row to read) ends the command without a word.
    if (e.Number() != err::kObjectNotSet) RecordError(show.outcome, e, "cmdModify");
  } catch (const std::exception& e) {
    RecordError(show.outcome, RuntimeError(51, std::string("Internal error: ") + e.what()),
                "cmdModify");
  }
  return show;
}

}  // namespace cadenzo
