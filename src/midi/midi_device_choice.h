// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "app/editor_draft.h"
#include "app/run_options.h"
#include "midi/midi_port.h"

namespace cadenzo {

// setupMidiDevice: one entry per output in device order, the device index as item data.
// Names are the system's own (native text, not Windows-1252).
std::vector<ComboEntry> MidiDeviceEntries(MidiPort& port);

// Choosing a MIDI device: the chosen entry becomes the device of the following sends; a list
// index of -1 clears the choice.
void ChooseMidiDevice(RunOptions& state, int listIndex, const std::string& name);

}  // namespace cadenzo
