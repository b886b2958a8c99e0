// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QDialog>
#include <memory>

#include "app/app_state.h"
#include "midi/midi_port.h"

class QLabel;

namespace Ui {
class frmMidiDevice;
}

namespace cadenzo {

// What the device window says when the system offers no MIDI output.
inline constexpr char kNoMidiOutputText[] =
    "No MIDI output found. Connect the keyboard by USB, or start a MIDI service such as JACK or "
    "PipeWire.";

// frmMidiDevice "Select Midi Driver": lists the MIDI outputs once, when it is made, and keeps
// the chosen one in AppState (MidiDeviceIndex, MidiDeviceName). OK hides it; it lives for the
// run, so its choice survives hiding and showing.
class MidiDeviceWindow : public QDialog {
  Q_OBJECT

 public:
  MidiDeviceWindow(AppState& state, MidiPort& port, QWidget* parent = nullptr);
  ~MidiDeviceWindow() override;

  QComboBox* DeviceList();

 private:
  void setupMidiDevice();
  void cboMidiDevice_Click(int listIndex);
  void cmkOk_Click();

  // Held by pointer so that this header does not need the generated one.
  std::unique_ptr<Ui::frmMidiDevice> ui_;
  AppState& state_;
  MidiPort& port_;
  QLabel* noDevice_ = nullptr;  // shown only when there is no output
};

}  // namespace cadenzo
