// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cadenzo {

// A MIDI output service: lists the system's outputs, opens one, sends whole messages to it.
// The shell implements it over the system's MIDI services; tests use a recording double.
// Implementations must accept calls from more than one thread (the player sends from its own).
class MidiPort {
 public:
  virtual ~MidiPort() = default;

  // The names of the output devices in device order; the position is the device index.
  virtual std::vector<std::string> OutputNames() = 0;
  // Opens the output with this device index, closing one opened before. False when it cannot
  // be opened (no such index, device busy or gone).
  virtual bool Open(int index) = 0;
  // Sends one complete message (a channel message, or a SysEx message F0 ... F7) to the open
  // output. Throws RuntimeError when nothing is open or the system refuses it.
  virtual void Send(std::span<const std::uint8_t> message) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

// Opens the chosen device: by its index when the device there still has the chosen name (or no
// name was kept), otherwise the first device of that name, since the list may have changed
// since the choice. Returns the index opened, or -1 when nothing could be opened.
int OpenMidiOutput(MidiPort& port, int index, const std::string& name);

}  // namespace cadenzo
