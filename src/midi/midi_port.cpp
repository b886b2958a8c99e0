// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/midi_port.h"

#include <algorithm>

namespace cadenzo {

int OpenMidiOutput(MidiPort& port, int index, const std::string& name) {
  const std::vector<std::string> names = port.OutputNames();
  int chosen = -1;
  if (index >= 0 && static_cast<std::size_t>(index) < names.size() &&
      (name.empty() || names[static_cast<std::size_t>(index)] == name)) {
    chosen = index;
  } else if (!name.empty()) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) chosen = static_cast<int>(it - names.begin());
  }
  if (chosen < 0) return -1;
  return port.Open(chosen) ? chosen : -1;
}

}  // namespace cadenzo
