// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/target_choice.h"

#include "app/outcome.h"
#include "app/runtime_error.h"
#include "catalogue/style_list.h"

namespace cadenzo {

namespace {
constexpr int kStyleDropHeight = 525;  // pixels
}

Outcome setupCboStyle(AppState& state) {
  Outcome outcome;
  state.Editor.styles.clear();
  ComboFill fill = StyleComboEntries(StyleFoldersOf(state), state.TargetInstrument);
  state.Editor.styles = std::move(fill.entries);
  state.Editor.styleDropHeight = kStyleDropHeight;
  if (fill.problem) {
    NoteStyleListProblem(state, outcome, *fill.problem);
    return outcome;
  }
  if (fill.failed) {
    RecordError(outcome, RuntimeError(fill.errorNumber),
                "   setupCboStyle  " + fill.lastGoodName.value_or("") + "  " +
                    fill.lastGoodNumber.value_or(""));
    outcome.problem = Problem::kStyleList;  // a malformed line of the list
    return outcome;
  }
  state.DefaultStyle =
      state.Editor.styles.empty() ? std::string() : state.Editor.styles.back().text;
  return outcome;
}

std::string TargetCaption(const AppState& state) {
  std::string caption = "Cadenzo   " + state.FileName;
  if (!state.SourceInstrument.empty()) caption += "  Source Instrument = " + state.SourceInstrument;
  caption += "   Default Style = " + state.DefaultStyle;
  return caption;
}

}  // namespace cadenzo
