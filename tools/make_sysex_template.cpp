// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the template MIDI file that sending a record to the instrument loads.
// Usage: make_sysex_template <output path>
#include <cstdio>
#include <exception>

#include "midi/midi_file.h"
#include "midi/sysex_template.h"
#include "textio/text_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sysex_template <output path>\n");
    return 2;
  }
  try {
    cadenzo::WriteFileAtomic(argv[1], cadenzo::WriteMidiFile(cadenzo::MakeSysExTemplate()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sysex_template: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
