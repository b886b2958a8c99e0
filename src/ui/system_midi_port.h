// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "midi/midi_port.h"

namespace cadenzo {

// The system's MIDI outputs: the ALSA sequencer's and a running JACK server's, in one list
// (ALSA first). Each service is asked quietly whether it is there before it is used, so a
// machine without MIDI gives an empty list, without a crash or any text on the terminal.
// Built without the MIDI library, the list is always empty.
std::unique_ptr<MidiPort> MakeSystemMidiPort(const std::string& clientName = "Cadenzo");

}  // namespace cadenzo
