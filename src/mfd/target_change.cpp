#include "mfd/target_change.h"

#include "app/report_error.h"
#include "catalogue/target_choice.h"
#include "mfd/processing_pass.h"

namespace cadenzo {

void ChooseTarget(AppState& state, Dialogs& dialogs, const std::string& model) {
  RunReported(dialogs, "cboInst", [&] {
    state.TargetInstrument = model;
    setupCboStyle(state, dialogs);
    if (state.FileLoaded) RunPreview(state, dialogs);
    state.Caption = TargetCaption(state);
  });
}

}  // namespace cadenzo
