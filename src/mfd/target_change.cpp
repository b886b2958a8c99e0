// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/target_change.h"

#include "catalogue/style_list.h"
#include "catalogue/target_choice.h"
#include "mfd/processing_pass.h"

namespace cadenzo {

Outcome ChooseTarget(AppState& state, Dialogs& dialogs, const std::string& model) {
  return RunGuarded("cboInst", [&](Outcome& outcome) {
    state.TargetInstrument = model;
    outcome.Absorb(setupCboStyle(state));
    long long red = 0;
    if (state.FileLoaded) {
      outcome.Absorb(RunPreview(state, dialogs).outcome);
      for (const Row& row : state.List) red += row.styleColor == kBlack ? 0 : 1;
    }
    state.Caption = TargetCaption(state);
    if (auto missing = TargetStyleListNote(state)) {
      outcome.Report(std::move(*missing));
    } else {
      outcome.Report("Target instrument " + model +
                     (state.FileLoaded ? ": " + Counted(red, "style") + " it lacks shown in colour"
                                       : std::string()));
    }
  });
}

std::optional<std::string> TargetStyleListNote(const RunOptions& run, const std::string& target) {
  return MissingStyleList(StyleFoldersOf(run), target);
}

}  // namespace cadenzo
