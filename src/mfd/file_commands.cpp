// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/file_commands.h"

#include "app/startup.h"
#include "catalogue/style_list.h"
#include "catalogue/target_choice.h"
#include "charset/cp1252.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

constexpr const char* kUnsavedQuestion = "Your file has not been saved. Do you want to save now ?";
constexpr const char* kNeedsTargetText =
    "Please select a target instrument before setting this option";

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
Outcome OpenChosen(AppState& state, Dialogs& dialogs, const std::string& path) {
  Outcome outcome;
  state.Caption = "";
  state.List.SetSortKey(col::kNumber, false);
  state.FileName = NamePartOf(path);
  state.Caption = FileCaption(state.FileName);
  if (state.FileName.empty()) return outcome;
  const std::string name = LowerCp1252(state.FileName);
  if (name.size() < 3 || name.substr(name.size() - 3) != "mfd") {
    outcome.Fail(Problem::kBadFile, state.FileName +
                                        " is not a Music Finder file: the program opens only "
                                        "files whose names end in .mfd. Choose an .mfd file.");
    outcome.file = path;
    return outcome;
  }
  state.CurrentFilePath = path;
  return OpenMusicFinderFile(state, dialogs);
}

// Shows the messages gathered so far before the command asks a question, so that the person
// reads them in the order the command met them; the problem stays.
void PresentSoFar(Outcome& outcome, Dialogs& dialogs) {
  Present(outcome, dialogs);
  outcome.messages.clear();
}

}  // namespace

bool ConfirmDiscardChanges(Document& state, Dialogs& dialogs, const std::string& title) {
  if (state.FileSaved || !state.FileLoaded) return true;
  return !AskUnsaved(dialogs, title);
}

FileCommandResult NewFile(AppState& state, Dialogs& dialogs) {
  if (!ConfirmDiscardChanges(state, dialogs, "New"))
    return {.next = CommandOutcome::kShowSaveOptions};
  const auto chosen = dialogs.OpenFile(
      {.title = "New", .folder = state.AppPath, .filter = "Music Finder Files(*.mfd)|Blank*.mfd|"});
  if (!chosen) return {};
  FileCommandResult result{.outcome = OpenChosen(state, dialogs, *chosen)};
  if (state.FileLoaded && result.outcome.Ok()) {
    result.outcome.Report("New file from " + state.FileName + " for the " + state.SourceInstrument +
                          ": " + Counted(static_cast<long long>(state.List.Size()), "record"));
  }
  return result;
}

FileCommandResult ChooseAndOpenFile(AppState& state, Dialogs& dialogs) {
  if (!ConfirmDiscardChanges(state, dialogs, "Open"))
    return {.next = CommandOutcome::kShowSaveOptions};
  const std::string folder = !state.OpenFolder.empty() ? state.OpenFolder : state.SaveFolder;
  const auto chosen = dialogs.OpenFile({.title = "Open", .folder = folder, .filter = kMfdFilter});
  if (!chosen) return {};
  if (!chosen->empty()) state.OpenFolder = FolderOf(*chosen);
  return {.outcome = OpenChosen(state, dialogs, *chosen)};
}

std::optional<std::string> DroppedMusicFinderFile(const std::vector<std::string>& paths) {
  if (paths.size() != 1) return std::nullopt;
  const std::string name = LowerCp1252(NamePartOf(paths.front()));
  if (name.size() <= 4 || name.substr(name.size() - 4) != ".mfd") return std::nullopt;
  return paths.front();
}

FileCommandResult OpenDroppedFile(AppState& state, Dialogs& dialogs, const std::string& path) {
  if (!ConfirmDiscardChanges(state, dialogs, "Open"))
    return {.next = CommandOutcome::kShowSaveOptions};
  state.OpenFolder = FolderOf(path);
  return {.outcome = OpenChosen(state, dialogs, path)};
}

FileCommandResult SetSourceMode(AppState& state, Dialogs& dialogs, bool autoDetect) {
  if (state.AutoDetect == autoDetect) return {};
  if (!ConfirmDiscardChanges(state, dialogs, "Source Instrument")) {
    return {.next = CommandOutcome::kShowSaveOptions};
  }
  state.AutoDetect = autoDetect;
  if (state.CurrentFilePath.empty()) return {};
  return {.outcome = OpenMusicFinderFile(state, dialogs)};
}

Outcome PrepareSaveAs(const Document& state) {
  Outcome outcome;
  if (state.FileName.empty()) outcome.Fail(Problem::kRefused, "Select a file to view first");
  return outcome;
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
  Outcome outcome = RunGuarded("ConvertCommandSave", [&](Outcome& out) {
    // Refused before the preview asks whether to convert.
    if (RefuseSaveWithoutStyleList(state, state.TargetInstrument, out)) return;
    if (state.FileLoaded) {
      PassResult preview = RunPreview(state, dialogs);
      out.Absorb(std::move(preview.outcome));
      if (preview.needsMissingDefault > 0) {
        // Refused before any question: the records would be left out instead.
        out.Fail(Problem::kRefused,
                 DefaultStyleMissingMessage(state.DefaultStyle, state.TargetInstrument));
        result.refusedDefaultStyle = true;
        return;
      }
    }
    PresentSoFar(out, dialogs);
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
    if (!save) {
      out.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }
    result = SaveMusicFinderx(state, dialogs, state.TargetInstrument, checkedOnly, PassMode::kSave);
    out.Absorb(std::move(result.outcome));
  });
  result.outcome = std::move(outcome);
  return result;
}

Outcome ToggleUserStyles(AppState& state, Dialogs& dialogs) {
  state.AllowUserStyles = !state.AllowUserStyles;
  return state.FileLoaded ? RunPreview(state, dialogs).outcome : Outcome{};
}

Outcome SetUnknownStyleColor(AppState& state, Dialogs& dialogs, Colour colour) {
  state.UnknownStyleColor = colour;
  return state.FileLoaded ? RunPreview(state, dialogs).outcome : Outcome{};
}

Outcome PrepareDefaultStyle(const Document& state) {
  Outcome outcome;
  if (state.TargetInstrument.empty()) outcome.Fail(Problem::kRefused, kNeedsTargetText);
  return outcome;
}

DefaultStyleChoices LoadDefaultStyle(AppState& state) {
  DefaultStyleChoices choices;
  if (state.TargetInstrument.empty()) {
    choices.outcome.Fail(Problem::kRefused, kNeedsTargetText);
    return choices;
  }
  choices.outcome = RunGuarded("LoadDefaultStyle", [&](Outcome&) {
    choices.entries.push_back({"None", 0});
    const ComboFill fill = StyleComboEntries(StyleFoldersOf(state), state.TargetInstrument);
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

Outcome DefaultStyleCommandOK(AppState& state, Dialogs& dialogs, const std::string& chosen) {
  return RunGuarded("DefaultStyleCommandOK", [&](Outcome& outcome) {
    state.DefaultStyle = chosen;
    state.Caption = TargetCaption(state);
    if (state.FileLoaded) outcome.Absorb(RunPreview(state, dialogs).outcome);
  });
}

}  // namespace cadenzo
