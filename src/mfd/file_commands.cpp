#include "mfd/file_commands.h"

#include "app/report_error.h"
#include "app/startup.h"
#include "catalogue/style_list.h"
#include "catalogue/target_choice.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "textio/cp1252.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

constexpr const char* kUnsavedQuestion = "Your file has not been saved. Do you want to save now ?";
constexpr const char* kMfdFilter = "Music Finder Files(*.mfd)|*.mfd|";

std::string JoinParagraphs(std::initializer_list<const char*> paragraphs) {
  std::string text;
  for (const char* p : paragraphs) {
    if (!text.empty()) text += "\r\n\r\n";
    text += p;
  }
  return text;
}

bool AskUnsaved(Dialogs& dialogs, const std::string& title) {
  return dialogs.Message({.text = kUnsavedQuestion,
                          .buttons = Buttons::kYesNo,
                          .icon = Icon::kQuestion,
                          .title = title}) == Answer::kYes;
}

// Steps shared by New and Open once a file was chosen.
void OpenChosen(AppState& state, Dialogs& dialogs, const std::string& path) {
  state.Caption = "";
  state.List.SetSortKey(col::kNumber, false);
  state.FileName = NamePartOf(path);
  state.Caption = FileCaption(state.FileName);
  if (state.FileName.empty()) return;
  const std::string name = LowerCp1252(state.FileName);
  if (name.size() < 3 || name.substr(name.size() - 3) != "mfd") {
    dialogs.Show("The program can only open mfd files. Not a valid file");
    return;
  }
  state.CurrentFilePath = path;
  OpenMusicFinderFile(state, dialogs);
}

}  // namespace

bool ConfirmDiscardChanges(Document& state, Dialogs& dialogs, const std::string& title) {
  if (state.FileSaved || !state.FileLoaded) return true;
  return !AskUnsaved(dialogs, title);
}

CommandOutcome NewFile(AppState& state, Dialogs& dialogs) {
  if (!ConfirmDiscardChanges(state, dialogs, "New")) return CommandOutcome::kShowSaveOptions;
  const auto chosen = dialogs.OpenFile(
      {.title = "New", .folder = state.AppPath, .filter = "Music Finder Files(*.mfd)|Blank*.mfd|"});
  if (!chosen) return CommandOutcome::kDone;
  OpenChosen(state, dialogs, *chosen);
  return CommandOutcome::kDone;
}

CommandOutcome ChooseAndOpenFile(AppState& state, Dialogs& dialogs) {
  if (!ConfirmDiscardChanges(state, dialogs, "Open")) return CommandOutcome::kShowSaveOptions;
  const std::string folder = !state.OpenFolder.empty() ? state.OpenFolder : state.SaveFolder;
  const auto chosen = dialogs.OpenFile({.title = "Open", .folder = folder, .filter = kMfdFilter});
  if (!chosen) return CommandOutcome::kDone;
  if (!chosen->empty()) state.OpenFolder = FolderOf(*chosen);
  OpenChosen(state, dialogs, *chosen);
  return CommandOutcome::kDone;
}

std::optional<std::string> DroppedMusicFinderFile(const std::vector<std::string>& paths) {
  if (paths.size() != 1) return std::nullopt;
  const std::string name = LowerCp1252(NamePartOf(paths.front()));
  if (name.size() <= 4 || name.substr(name.size() - 4) != ".mfd") return std::nullopt;
  return paths.front();
}

CommandOutcome OpenDroppedFile(AppState& state, Dialogs& dialogs, const std::string& path) {
  if (!ConfirmDiscardChanges(state, dialogs, "Open")) return CommandOutcome::kShowSaveOptions;
  state.OpenFolder = FolderOf(path);
  OpenChosen(state, dialogs, path);
  return CommandOutcome::kDone;
}

CommandOutcome SetSourceMode(AppState& state, Dialogs& dialogs, bool autoDetect) {
  if (state.AutoDetect == autoDetect) return CommandOutcome::kDone;
  if (!ConfirmDiscardChanges(state, dialogs, "Source Instrument")) {
    return CommandOutcome::kShowSaveOptions;
  }
  state.AutoDetect = autoDetect;
  if (!state.CurrentFilePath.empty()) OpenMusicFinderFile(state, dialogs);
  return CommandOutcome::kDone;
}

bool PrepareSaveAs(Document& state, Dialogs& dialogs) {
  if (state.FileName.empty()) {
    dialogs.Show("Select a file to view first");
    return false;
  }
  return true;
}

bool ConfirmQuit(Document& state, Dialogs& dialogs) {
  if (state.FileSaved) return true;
  return !AskUnsaved(dialogs, "Closing Cadenzo");
}

std::string DifferentInstrumentsConfirmation() {
  return JoinParagraphs(
      {"Any styles displayed in colored text are not available on the target instrument.",
       "* You can change these styles individually with Edit, or in a group with Replace.",
       "* If you want to eliminate these entries, select a Options/Default Style =None.",
       "* Otherwise, the User Styles will be converted to the default style.",
       "Do you want to continue?"});
}

std::string SameInstrumentConfirmation() {
  return JoinParagraphs(
      {"Any styles with just a number and displayed in colored text are User Styles.",
       "* If you wish to include User Styles, first select 'Allow User Styles' under Options.",
       "* You can change these styles individually with Edit, or in a group with Replace.",
       "* If you want to eliminate these entries, select a Options/Default Style =None.",
       "* Otherwise, the User Styles will be converted to the default style.",
       "Do you want to continue?"});
}

PassResult ConvertCommandSave(AppState& state, Dialogs& dialogs, bool checkedOnly) {
  PassResult result;
  RunReported(dialogs, "ConvertCommandSave", [&] {
    if (state.FileLoaded && RunPreview(state, dialogs).needsMissingDefault > 0) {
      // Refused before any question: the records would be left out instead.
      dialogs.Show(DefaultStyleMissingMessage(state.DefaultStyle, state.TargetInstrument));
      result.refusedDefaultStyle = true;
      return;
    }
    const auto confirm = [&](const std::string& text) {
      return dialogs.Message({.text = text,
                              .buttons = Buttons::kYesNo,
                              .icon = Icon::kExclamation,
                              .title = kConversionPreviewTitle,
                              .defaultButton = 1}) == Answer::kYes;
    };
    bool save = true;
    if (state.SourceInstrument != state.TargetInstrument) {
      if (state.ShowConversionNotes) save = confirm(DifferentInstrumentsConfirmation());
    } else if (!state.AllowUserStyles && state.ShowConversionNotes) {
      save = confirm(SameInstrumentConfirmation());
    }
    if (save) {
      result =
          SaveMusicFinderx(state, dialogs, state.TargetInstrument, checkedOnly, PassMode::kSave);
    }
  });
  return result;
}

void ToggleUserStyles(AppState& state, Dialogs& dialogs) {
  state.AllowUserStyles = !state.AllowUserStyles;
  if (state.FileLoaded) RunPreview(state, dialogs);
}

void SetUnknownStyleColor(AppState& state, Dialogs& dialogs, Colour colour) {
  state.UnknownStyleColor = colour;
  if (state.FileLoaded) RunPreview(state, dialogs);
}

bool PrepareDefaultStyle(Document& state, Dialogs& dialogs) {
  if (state.TargetInstrument.empty()) {
    dialogs.Show("Please select a target instrument before setting this option");
    return false;
  }
  return true;
}

DefaultStyleChoices LoadDefaultStyle(AppState& state, Dialogs& dialogs) {
  DefaultStyleChoices choices;
  if (state.TargetInstrument.empty()) {
    dialogs.Show("Please select a target instrument before setting this option");
    return choices;
  }
  RunReported(dialogs, "LoadDefaultStyle", [&] {
    choices.entries.push_back({"None", 0});
    const ComboFill fill = StyleComboEntries(state.AppPath, state.TargetInstrument);
    choices.entries.insert(choices.entries.end(), fill.entries.begin(), fill.entries.end());
    if (fill.failed) throw RuntimeError(err::kTypeMismatch);
    if (state.DefaultStyle.empty() && !fill.entries.empty()) {
      state.DefaultStyle = fill.entries.back().text;
    }
    for (std::size_t i = 0; i < choices.entries.size(); ++i) {
      if (choices.entries[i].text == state.DefaultStyle) {
        choices.selected = static_cast<int>(i);
        break;
      }
    }
    // A default style that is not in the list (kept from another target) cannot be selected:
    // the last style is offered, as a change of target would set it.
    if (choices.selected < 0) choices.selected = static_cast<int>(choices.entries.size()) - 1;
    choices.loaded = true;
  });
  return choices;
}

void DefaultStyleCommandOK(AppState& state, Dialogs& dialogs, const std::string& chosen) {
  RunReported(dialogs, "DefaultStyleCommandOK", [&] {
    state.DefaultStyle = chosen;
    state.Caption = TargetCaption(state);
    if (state.FileLoaded) RunPreview(state, dialogs);
  });
}

}  // namespace cadenzo
