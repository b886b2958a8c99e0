// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_controller.h"

#include <QApplication>
#include <QComboBox>

#include "app/report_error.h"
#include "app/trace.h"
#include "catalogue/instrument_table.h"
#include "catalogue/replacement_table.h"
#include "editing/record_editor.h"
#include "list/delete_commands.h"
#include "list/row_commands.h"
#include "mfd/delimited_import.h"
#include "mfd/file_commands.h"
#include "mfd/merge.h"
#include "mfd/reader.h"
#include "mfd/target_change.h"
#include "textio/delimited_export.h"
#include "ui/convert_window.h"
#include "ui/edit_window.h"
#include "ui/info_windows.h"
#include "ui/main_window.h"
#include "ui/midi_connection.h"
#include "ui/playlist_window.h"
#include "ui/qt_text.h"
#include "ui/recent_files_menu.h"
#include "ui/search_window.h"
#include "ui/style_replace_window.h"
#include "ui/user_styles_menus.h"

namespace cadenzo {

MainController::MainController(AppState& state, Dialogs& dialogs, DocumentOpener& opener,
                               MainWindow& window)
    : QObject(&window),
      state_(state),
      feedback_(dialogs, window.statusBar()),
      dialogs_(feedback_),
      opener_(opener),
      window_(window) {
  Connect();
}

MainController::~MainController() = default;

void MainController::LoadEditorWindow() { PrepareEditor(state_); }

EditWindow* MainController::Editor() {
  if (editor_ != nullptr) return editor_;
  editor_ = new EditWindow(state_, dialogs_, &window_);
  editor_->SetListChangedCallback([this](int record) {
    if (record > 0) {
      const int position = state_.List.FindByRecord(static_cast<std::uint32_t>(record));
      if (position >= 0) state_.List.SelectOnly(position);
    }
    state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
    window_.Refresh();
  });
  return editor_;
}

void MainController::RefreshEditor() {
  if (editor_ != nullptr && editor_->isVisible()) editor_->RefreshFromState();
}

void MainController::ApplyRowResult(const Result<RowCommandResult>& result) {
  Present(result.outcome, dialogs_);
  switch (result.value) {
    case RowCommandResult::kNone:
      break;
    case RowCommandResult::kFitColumns:
      state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
      break;
    case RowCommandResult::kModify:
      Editor()->StartModifyRecord();
      break;
  }
}

void MainController::StepThroughHistory(bool forward) {
  const std::string step = forward ? state_.History.RedoName() : state_.History.UndoName();
  if (!(forward ? state_.History.Redo(state_) : state_.History.Undo(state_))) return;
  dialogs_.Status((forward ? "Redone: " : "Undone: ") + step);
  // The clicked row may be gone with the step (an Add undone).
  if (state_.SelectedRecord > 0 &&
      state_.List.FindByRecord(static_cast<std::uint32_t>(state_.SelectedRecord)) < 0) {
    state_.SelectedRecord = 0;
  }
  state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
  RefreshEditor();
  window_.Refresh();
}

void MainController::MergeFile() {
  const MergeResult result =
      RunUndoable(state_, "Merge", [this] { return ChooseAndMergeFile(state_, dialogs_); });
  Present(result.outcome, dialogs_);
  if (result.firstRecord > 0) {
    // The first merged row in view.
    const int position = state_.List.FindByRecord(result.firstRecord);
    if (position >= 0) state_.List.SelectOnly(position);
    state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
  }
  RefreshEditor();
  window_.Refresh();
}

MidiConnection& MainController::Midi() {
  if (!midi_) midi_ = std::make_unique<MidiConnection>(state_, dialogs_, &window_);
  return *midi_;
}

void MainController::SetupCboInst() {
  QComboBox* combo = window_.cboInst();
  const QSignalBlocker block(combo);
  combo->clear();
  for (const auto& instrument : InstrumentTable()) {
    combo->addItem(ToQt(std::string(instrument.name)));
  }
  combo->setCurrentIndex(-1);
}

void MainController::SyncTargetList() {
  QComboBox* combo = window_.cboInst();
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(combo->findText(ToQt(state_.TargetInstrument), Qt::MatchExactly));
  ShowTargetStyleListNote(window_, state_);
}

void MainController::AfterFileCommand() {
  SyncTargetList();
  RefreshEditor();
  if (state_.FileLoaded) state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
  window_.Refresh();
  if (state_.FocusTargetRequested) {
    state_.FocusTargetRequested = false;
    window_.cboInst()->setFocus();
  }
}

void MainController::OpenCurrentFile() {
  const std::string before = state_.CurrentFilePath;
  const Outcome outcome = OpenMusicFinderFile(state_, dialogs_);
  TraceStage("file read, rows made and preview pass run");
  Present(outcome, dialogs_);
  AfterFileCommand();
  NoteOpenedFile(outcome, before, state_.CurrentFilePath);
}

void MainController::NoteOpenedFile(const Outcome& outcome, const std::string& before,
                                    const std::string& requested) {
  if (recent_ == nullptr || !outcome.Ok() || !state_.FileLoaded) return;
  const std::string& path = state_.CurrentFilePath;
  if (path.empty() || (path == before && path != requested)) return;
  recent_->Add(PathToQt(path));
}

bool MainController::QueryUnload() {
  if (ConfirmQuit(state_, dialogs_)) {
    if (midi_) midi_->Release();
    // The play list refuses its close box; the program's end closes it, so that no window is
    // left to keep the program running.
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* playList = qobject_cast<PlayListWindow*>(top);
      if (playList != nullptr && playList->Serves(state_)) playList->CloseWithProgram();
    }
    return true;
  }
  ShowConvertWindow(true);
  return false;
}

void MainController::ShowConvertWindow(bool modal) {
  if (convert_) convert_->close();
  convert_ = new ConvertWindow(
      state_, dialogs_, [this] { window_.Refresh(); }, &window_);
  if (modal) {
    convert_->exec();
  } else {
    convert_->show();
  }
}

void MainController::Connect() {
  ConnectFileCommands();
  ConnectRowCommands();
  ConnectToolWindows();
  AddStyleFolderCommand(window_, state_, dialogs_);
  AddFindDuplicatesCommands(window_, state_, dialogs_);
}

void MainController::ConnectFileCommands() {
  const auto afterFile = [this](const FileCommandResult& result) {
    Present(result.outcome, dialogs_);
    AfterFileCommand();
    if (result.next == CommandOutcome::kShowSaveOptions) ShowConvertWindow(false);
  };

  // File
  window_.OnCommand("mnuNew", [this, afterFile] { afterFile(NewFile(state_, dialogs_)); });
  window_.OnCommand("mnuOpen", [this, afterFile] {
    const std::string before = state_.CurrentFilePath;
    const FileCommandResult result = ChooseAndOpenFile(state_, dialogs_);
    afterFile(result);
    NoteOpenedFile(result.outcome, before);
  });
  // File > Open Recent opens the chosen file as File > Open would.
  const auto openPath = [this, afterFile](const std::string& path) {
    RunReported(dialogs_, "mnuOpen", [&] {
      const std::string before = state_.CurrentFilePath;
      const FileCommandResult result = OpenDroppedFile(state_, dialogs_, path);
      afterFile(result);
      NoteOpenedFile(result.outcome, before, path);
    });
    window_.Refresh();
  };
  recent_ = new RecentFilesMenu(window_, dialogs_,
                                [openPath](const QString& path) { openPath(PathFromQt(path)); });
  window_.OnCommand("mnuConvert", [this] {
    const Outcome ready = PrepareSaveAs(state_);
    Present(ready, dialogs_);
    if (ready.Ok()) ShowConvertWindow(false);
  });
  window_.OnCommand("mnuTextFile",
                    [this] { Present(ExportDelimitedText(state_, dialogs_), dialogs_); });
  window_.OnCommand("mnuMerge", [this] { MergeFile(); });
  window_.OnCommand("mnuExit", [this] { window_.close(); });
  // A Music Finder file dropped on the window opens as File > Open would.
  connect(&window_, &MainWindow::FileDropped, this,
          [openPath](const QString& path) { openPath(PathFromQt(path)); });

  // Setup > Source Instrument
  window_.OnCommand("mnuAuto",
                    [this, afterFile] { afterFile(SetSourceMode(state_, dialogs_, true)); });
  window_.OnCommand("mnuStyleNumbers",
                    [this, afterFile] { afterFile(SetSourceMode(state_, dialogs_, false)); });

  // Options
  window_.OnCommand("mnuUserStyles",
                    [this] { Present(ToggleUserStyles(state_, dialogs_), dialogs_); });
  window_.OnCommand("mnuDefaultStyle", [this] {
    const Outcome ready = PrepareDefaultStyle(state_);
    Present(ready, dialogs_);
    if (!ready.Ok()) return;
    DefaultStyleWindow::Open(
        state_, dialogs_, [this] { window_.Refresh(); }, &window_);
  });
  window_.OnCommand("mnuRed",
                    [this] { Present(SetUnknownStyleColor(state_, dialogs_, kRed), dialogs_); });
  window_.OnCommand("mnuBlue",
                    [this] { Present(SetUnknownStyleColor(state_, dialogs_, kBlue), dialogs_); });
  window_.OnCommand("mnuEditRecord", [this] { SetDoubleClickEdits(state_); });
  window_.OnCommand("mnuToggleFavorite", [this] { SetDoubleClickToggles(state_); });

  // Instrument link
  window_.OnCommand("mnuMidiDevice", [this] { Midi().ShowMidiDeviceWindow(); });
  window_.OnCommand("cmdSetPSR", [this] { Midi().SendSelectedRecord(); });
}

void MainController::ConnectRowCommands() {
  // Rows: click, double click, pop-up menu
  connect(&window_, &MainWindow::RowClicked, this, [this](int position) {
    if (position < 0) return;
    Present(SelectRow(state_, static_cast<std::size_t>(position)), dialogs_);
    RefreshEditor();
    window_.Refresh();
  });
  connect(&window_, &MainWindow::RowDoubleClicked, this, [this](int position) {
    if (position < 0) return;
    ApplyRowResult(
        RunUndoable(state_, "Toggle Favorite", [this] { return RunDoubleClickAction(state_); }));
    window_.Refresh();
  });
  const auto flag = [this](auto command, RecordFlag which, const char* step) {
    return [this, command, which, step] {
      ApplyRowResult(RunUndoable(state_, step, [&] { return command(state_, which); }));
    };
  };
  const auto clearFlag = [this](RecordFlag which, const char* step) {
    return [this, which, step] {
      Present(RunUndoable(state_, step, [&] { return ClearFlagOnAll(state_, which); }), dialogs_);
    };
  };
  // Commands that change records or rows and whose outcome only has messages to show.
  const auto undoable = [this](auto command, const char* step) {
    return [this, command, step] {
      Present(RunUndoable(state_, step, [&] { return command(state_); }), dialogs_);
    };
  };
  // Commands whose outcome only has messages to show.
  const auto shown = [this](auto command) {
    return [this, command] { Present(command(state_), dialogs_); };
  };
  window_.OnCommand("mnuTrackMenuSetFavorite",
                    flag(&ToggleFlagOfSelected, RecordFlag::kFavorite, "Toggle Favorite"));
  window_.OnCommand("mnuTrackMenuSetS1",
                    flag(&ToggleFlagOfSelected, RecordFlag::kSearch1, "Toggle Search 1"));
  window_.OnCommand("MnuTrackMenuSetS2",
                    flag(&ToggleFlagOfSelected, RecordFlag::kSearch2, "Toggle Search 2"));

  // Flags and check marks of all rows
  window_.OnCommand("cmdSetFav", flag(&SetFlagOnAll, RecordFlag::kFavorite, "Set Favorites"));
  window_.OnCommand("cmdSetS1", flag(&SetFlagOnAll, RecordFlag::kSearch1, "Set Search 1"));
  window_.OnCommand("cmdSetS2", flag(&SetFlagOnAll, RecordFlag::kSearch2, "Set Search 2"));
  window_.OnCommand("CmdFav", clearFlag(RecordFlag::kFavorite, "Clear Favorites"));
  window_.OnCommand("cmdS1", clearFlag(RecordFlag::kSearch1, "Clear Search 1"));
  window_.OnCommand("cmdS2", clearFlag(RecordFlag::kSearch2, "Clear Search 2"));
  window_.OnCommand("cmdCheck", shown(&CheckAll));
  window_.OnCommand("CmdUnCheck", shown(&UncheckAll));
  window_.OnCommand("cmdInvert", shown(&InvertChecks));
  window_.OnCommand("mnuKeyword_Add", [this] {
    Present(
        RunUndoable(state_, "Add Keyword", [this] { return AppendKeywordToAll(state_, dialogs_); }),
        dialogs_);
  });

  // Edit items
  window_.OnCommand("cmdAdd", [this] { Editor()->StartAddRecord(); });
  window_.OnCommand("cmdModify", [this] { Editor()->StartModifyRecord(); });
  window_.OnCommand("CmdDelete", undoable(&DeleteSelectedRow, "Delete"));
  window_.OnCommand("cmdDeleteChecked", undoable(&DeleteCheckedRows, "Delete Checked"));
  window_.OnCommand("cmdReplaceStyle", [this] {
    if (StyleReplaceWindow::Open(
            state_, dialogs_,
            [this] {
              state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
              window_.Refresh();
            },
            &window_) != nullptr) {
      state_.Editor.lblSelectedFile.clear();
      state_.EditStyleOrFile.clear();
      RefreshEditor();
    }
  });
  window_.OnCommand("mnuAutoReplace", [this] {
    const AutoReplaceResult result =
        RunUndoable(state_, "Auto Replace", [this] { return cboStyle_setup(state_, dialogs_); });
    if (result.applied) {
      dialogs_.Status("Auto Replace changed the style of " + Counted(result.replaced, "record"));
    }
  });

  // Edit
  window_.OnCommand("mnuUndo", [this] { StepThroughHistory(false); });
  window_.OnCommand("mnuRedo", [this] { StepThroughHistory(true); });
}

void MainController::ConnectToolWindows() {
  // Search
  window_.OnCommand("cmdSearch", [this] {
    SearchWindowHooks hooks;
    hooks.showRow = [this](std::size_t position) {
      state_.List.SelectOnly(static_cast<int>(position));
      window_.Refresh();
    };
    hooks.listChanged = [this] { window_.Refresh(); };
    hooks.openPlayList = [this] { window_.Click("cmdPlayList"); };
    ShowSearchWindow(search_, state_, dialogs_, std::move(hooks), &window_);
  });

  // Delimited text import and the information windows
  window_.OnCommand("mnuTextDelimitedInput", [this] {
    const ImportResult result =
        RunUndoable(state_, "Import", [this] { return ImportDelimitedFile(state_, dialogs_); });
    Present(result.outcome, dialogs_);
    if (result.fitColumns) state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
    RefreshEditor();
  });
  info_ = std::make_unique<InfoWindows>(state_, dialogs_, opener_, &window_);
  window_.OnCommand("mnuQuickStartGuide", [this] { info_->ShowQuickStartGuide(); });
  window_.OnCommand("mnuManual", [this] { info_->OpenManual(); });
  window_.OnCommand("mnuAbout", [this] { info_->ShowAbout(); });
  window_.OnCommand("mnuStyleList", [this] { info_->ShowStyleList(); });
  window_.OnCommand("mnuConversion", [this] { info_->ShowConversionLog(); });
  window_.OnCommand("mnuDelimitedFile", [this] { info_->ShowDelimitedFileLog(); });

  // Play list
  window_.OnCommand("cmdPlayList", [this] { OpenPlayList(&window_, state_, dialogs_); });

  // Target instrument
  connect(window_.cboInst(), &QComboBox::activated, this, [this](int index) {
    if (index < 0) return;
    Present(ChooseTarget(state_, dialogs_, FromQt(window_.cboInst()->itemText(index))), dialogs_);
    ShowTargetStyleListNote(window_, state_);
    RefreshEditor();
    window_.Refresh();
  });
}

}  // namespace cadenzo
