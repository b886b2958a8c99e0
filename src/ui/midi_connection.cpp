// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/midi_connection.h"

namespace cadenzo {

MidiConnection::MidiConnection(AppState& state, Dialogs& dialogs, QWidget* parent,
                               std::unique_ptr<MidiPort> port, MidiFilePlayer::SleepFn sleep)
    : state_(state),
      dialogs_(dialogs),
      parent_(parent),
      port_(std::move(port)),
      link_(*port_, std::move(sleep)) {}

MidiConnection::~MidiConnection() {
  Release();
  // The device window reads the port; it must not outlive it.
  delete window_.data();
}

MidiDeviceWindow& MidiConnection::ShowMidiDeviceWindow() {
  if (!window_) {
    window_ = new MidiDeviceWindow(state_, *port_, parent_.data());
    // A separate top-level window even with a parent.
    window_->setWindowFlag(Qt::Window, true);
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  return *window_;
}

void MidiConnection::SendSelectedRecord() { SetPSR(state_, dialogs_, link_); }

void MidiConnection::Release() { link_.Free(); }

}  // namespace cadenzo
