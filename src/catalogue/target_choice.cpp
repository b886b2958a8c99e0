#include "catalogue/target_choice.h"

#include "app/report_error.h"
#include "app/runtime_error.h"
#include "catalogue/style_list.h"

namespace cadenzo {

namespace {
constexpr int kStyleDropHeight = 525;  // pixels
}

void setupCboStyle(AppState& state, Dialogs& dialogs) {
  state.Editor.styles.clear();
  ComboFill fill = StyleComboEntries(state.AppPath, state.TargetInstrument);
  state.Editor.styles = std::move(fill.entries);
  state.Editor.styleDropHeight = kStyleDropHeight;
  if (fill.problem) {
    ReportTextFileProblemOnce(state, dialogs, *fill.problem);
    return;
  }
  if (fill.failed) {
    ReportError(dialogs, RuntimeError(fill.errorNumber),
                "   setupCboStyle  " + fill.lastGoodName.value_or("") + "  " +
                    fill.lastGoodNumber.value_or(""));
    return;
  }
  state.DefaultStyle =
      state.Editor.styles.empty() ? std::string() : state.Editor.styles.back().text;
}

std::string TargetCaption(const AppState& state) {
  std::string caption = "Cadenzo   " + state.FileName;
  if (!state.SourceInstrument.empty()) caption += "  Source Instrument = " + state.SourceInstrument;
  caption += "   Default Style = " + state.DefaultStyle;
  return caption;
}

}  // namespace cadenzo
