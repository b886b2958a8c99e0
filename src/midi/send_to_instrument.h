// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "midi/midi_player.h"
#include "midi/midi_port.h"

namespace cadenzo {

// What the instrument link keeps for the run: the MIDI output service and the program's
// MIDI-file object MidiFileHandle, created by the first send and released when the main window
// unloads.
class InstrumentLink {
 public:
  explicit InstrumentLink(MidiPort& port, MidiFilePlayer::SleepFn sleep = {})
      : port_(port), sleep_(std::move(sleep)) {}

  MidiPort& Port() { return port_; }
  MidiFilePlayer* MidiFileHandle() const { return handle_.get(); }
  // Creates the object when there is none yet.
  MidiFilePlayer& Init();
  // Releases the object: stops playing and closes the output.
  void Free() { handle_.reset(); }

 private:
  MidiPort& port_;
  MidiFilePlayer::SleepFn sleep_;
  std::unique_ptr<MidiFilePlayer> handle_;
};

// The texts the send command shows.
inline constexpr const char* kNoFileOpenText = "Please open a Music Finder File file first.";
inline constexpr const char* kNoEntrySelectedText = "Please select a Music Finder entry.";
inline constexpr const char* kNoMidiDeviceText =
    "Please use the Midi Device menu item to select your midi driver.";
inline constexpr const char* kMidiDeviceFailedText =
    "Cadenzo is not able to open the MidiDevice you have selected. Please select another one";

// Sends the selected record (captured by the last row click) to the chosen MIDI output: the
// style select for the target's model at 0, the fifteen sections off and the record's next
// section and intro on at 100, its tempo at 200, inserted into the template and played without
// waiting. A style the target's list lacks (or a media file reference) sends nothing, silently.
// Failures are reported as "SetPSR".
void SetPSR(AppState& state, Dialogs& dialogs, InstrumentLink& link);

}  // namespace cadenzo
