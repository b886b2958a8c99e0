#include "ui/main_controller.h"

#include <QComboBox>

#include "catalogue/instrument_table.h"
#include "mfd/file_commands.h"
#include "mfd/reader.h"
#include "mfd/target_change.h"
#include "textio/delimited_export.h"
#include "ui/convert_window.h"
#include "ui/main_window.h"
#include "ui/midi_connection.h"
#include "ui/playlist_window.h"
#include "ui/qt_text.h"

namespace cadenzo {

MainController::MainController(AppState& state, Dialogs& dialogs, DocumentOpener& opener,
                               MainWindow& window)
    : QObject(&window), state_(state), dialogs_(dialogs), opener_(opener), window_(window) {
  Connect();
}

MainController::~MainController() = default;

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
}

void MainController::AfterFileCommand() {
  SyncTargetList();
  if (state_.FileLoaded) state_.PendingColumnFit = ColumnFit::kHeaderAndContents;
  window_.Refresh();
  if (state_.FocusTargetRequested) {
    state_.FocusTargetRequested = false;
    window_.cboInst()->setFocus();
  }
}

void MainController::OpenCurrentFile() {
  OpenMusicFinderFile(state_, dialogs_);
  AfterFileCommand();
}

bool MainController::QueryUnload() {
  if (Form_QueryUnload(state_, dialogs_)) {
    if (midi_) midi_->Release();
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
  const auto afterFile = [this](CommandOutcome outcome) {
    AfterFileCommand();
    if (outcome == CommandOutcome::kShowSaveOptions) ShowConvertWindow(false);
  };

  // File
  window_.OnCommand("mnuNew", [this, afterFile] { afterFile(mnuNew_Click(state_, dialogs_)); });
  window_.OnCommand("mnuOpen", [this, afterFile] { afterFile(mnuOpen_Click(state_, dialogs_)); });
  window_.OnCommand("mnuConvert", [this] {
    if (mnuConvert_Click(state_, dialogs_)) ShowConvertWindow(false);
  });
  window_.OnCommand("mnuTextFile", [this] { mnuTextFile_Click(state_, dialogs_); });
  window_.OnCommand("mnuExit", [this] { window_.close(); });

  // Setup > Source Instrument
  window_.OnCommand("mnuAuto",
                    [this, afterFile] { afterFile(SetSourceMode(state_, dialogs_, true)); });
  window_.OnCommand("mnuStyleNumbers",
                    [this, afterFile] { afterFile(SetSourceMode(state_, dialogs_, false)); });

  // Options
  window_.OnCommand("mnuUserStyles", [this] { mnuUserStyles_Click(state_, dialogs_); });
  window_.OnCommand("mnuDefaultStyle", [this] {
    if (!mnuDefaultStyle_Click(state_, dialogs_)) return;
    DefaultStyleWindow::Open(
        state_, dialogs_, [this] { window_.Refresh(); }, &window_);
  });
  window_.OnCommand("mnuRed", [this] { SetUnknownStyleColor(state_, dialogs_, kRed); });
  window_.OnCommand("mnuBlue", [this] { SetUnknownStyleColor(state_, dialogs_, kBlue); });
  window_.OnCommand("mnuEditRecord", [this] { state_.DoubleClickEdits = true; });
  window_.OnCommand("mnuToggleFavorite", [this] { state_.DoubleClickEdits = false; });

  // Instrument link
  window_.OnCommand("mnuMidiDevice", [this] { Midi().ShowMidiDeviceWindow(); });
  window_.OnCommand("cmdSetPSR", [this] { Midi().SendSelectedRecord(); });

  // Play list
  window_.OnCommand("cmdPlayList", [this] { OpenPlayList(&window_, state_, dialogs_); });

  // Target instrument
  connect(window_.cboInst(), &QComboBox::activated, this, [this](int index) {
    if (index < 0) return;
    cboInst_Click(state_, dialogs_, FromQt(window_.cboInst()->itemText(index)));
    window_.Refresh();
  });
}

}  // namespace cadenzo
