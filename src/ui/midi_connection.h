// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "midi/send_to_instrument.h"
#include "ui/midi_device_window.h"
#include "ui/system_midi_port.h"

namespace cadenzo {

// The main window's link to the instrument: the system's MIDI outputs, the device window
// frmMidiDevice (made on first use and kept, hidden, for the run) and the MIDI-file object of
// the sends, which it releases when the main window unloads.
class MidiConnection {
 public:
  // parent: the main window, which the device window belongs to. Tests pass their own port
  // and a sleep that does not wait.
  MidiConnection(AppState& state, Dialogs& dialogs, QWidget* parent,
                 std::unique_ptr<MidiPort> port = MakeSystemMidiPort(),
                 MidiFilePlayer::SleepFn sleep = {});
  ~MidiConnection();
  MidiConnection(const MidiConnection&) = delete;
  MidiConnection& operator=(const MidiConnection&) = delete;

  // mnuMidiDevice: shows frmMidiDevice modeless, making it first when it does not exist yet.
  MidiDeviceWindow& ShowMidiDeviceWindow();
  // cmdSetPSR and mnuSetupPSR: sends the selected record to the chosen output. Returns at once;
  // the messages follow on the player's own thread.
  void SendSelectedRecord();
  // Form_Unload of the main window: stops playing, closes the output, frees the object.
  void Release();

  MidiDeviceWindow* DeviceWindow() const { return window_.data(); }
  InstrumentLink& Link() { return link_; }

 private:
  AppState& state_;
  Dialogs& dialogs_;
  QPointer<QWidget> parent_;
  std::unique_ptr<MidiPort> port_;
  InstrumentLink link_;
  QPointer<MidiDeviceWindow> window_;
};

}  // namespace cadenzo
