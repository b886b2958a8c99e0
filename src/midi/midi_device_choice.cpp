// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/midi_device_choice.h"

namespace cadenzo {

std::vector<ComboEntry> MidiDeviceEntries(MidiPort& port) {
  std::vector<ComboEntry> entries;
  int index = 0;
  for (std::string& name : port.OutputNames()) entries.push_back({std::move(name), index++});
  return entries;
}

void ChooseMidiDevice(RunOptions& state, int listIndex, const std::string& name) {
  state.MidiDeviceIndex = listIndex < 0 ? -1 : listIndex;
  state.MidiDeviceName = listIndex < 0 ? std::string() : name;
}

}  // namespace cadenzo
