// SPDX-License-Identifier: GPL-3.0-or-later
// Reads any bytes as a Standard MIDI File the way the player loads its template, schedules it,
// inserts a SysEx message and writes it back: what was read must write and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <span>

#include "app/runtime_error.h"
#include "midi/midi_file.h"
#include "midi/midi_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cadenzo;
  MidiFile file;
  try {
    file = ReadMidiFile(std::span<const std::uint8_t>(data, size));
  } catch (const RuntimeError&) {
    return 0;
  }
  (void)ScheduleOf(file);
  // Written and read once, the file is in the writer's form; from then on it stays as it is.
  const MidiFile once = ReadMidiFile(WriteMidiFile(file));
  if (ReadMidiFile(WriteMidiFile(once)) != once) __builtin_trap();
  static constexpr std::uint8_t kMessage[] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  InsertSysEx(file, size > 0 ? data[size - 1] * 17u : 0u, kMessage);
  (void)ScheduleOf(ReadMidiFile(WriteMidiFile(file)));
  return 0;
}
