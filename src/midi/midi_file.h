// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace cadenzo {

// One event of a track at its absolute time in ticks.
struct MidiEvent {
  std::uint32_t tick = 0;
  // 0x80-0xEF a channel message; 0xF0 a SysEx message; 0xF7 a SysEx escape (raw bytes);
  // 0xFF a meta event.
  std::uint8_t status = 0;
  std::uint8_t metaType = 0;  // meta events only
  // Channel message: its data bytes. 0xF0: the bytes after F0 (normally ending in F7).
  // 0xF7: the raw bytes. Meta: its contents.
  std::vector<std::uint8_t> data;

  bool IsMeta() const { return status == 0xFF; }
  bool IsEndOfTrack() const { return status == 0xFF && metaType == 0x2F; }
  // The bytes that go to a MIDI output: channel messages and SysEx whole, escapes raw; empty
  // for meta events.
  std::vector<std::uint8_t> Message() const;

  friend bool operator==(const MidiEvent&, const MidiEvent&) = default;
};

struct MidiTrack {
  std::vector<MidiEvent> events;  // in time order; an end-of-track, when present, is last
  friend bool operator==(const MidiTrack&, const MidiTrack&) = default;
};

// A Standard MIDI File of format 0 or 1.
struct MidiFile {
  std::uint16_t format = 0;
  // Bit 15 clear: ticks per quarter note. Set: SMPTE frames (negative high byte) and ticks per
  // frame (low byte).
  std::uint16_t division = 480;
  std::vector<MidiTrack> tracks;
  friend bool operator==(const MidiFile&, const MidiFile&) = default;
};

// Files larger than this are refused before anything is read.
inline constexpr std::size_t kMaxMidiFileSize = std::size_t{16} * 1024 * 1024;
inline constexpr std::uint32_t kMaxVarLen = 0x0FFFFFFF;
inline constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

// Variable-length numbers: 7 bits per byte, most significant first, high bit = more follows.
void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);  // value <= kMaxVarLen
// Reads one at pos (advanced past it), never beyond end; at most 4 bytes. Throws RuntimeError
// when the number runs past end or is longer than 4 bytes.
std::uint32_t ReadVarLen(std::span<const std::uint8_t> bytes, std::size_t& pos, std::size_t end);

// Reads a whole file from memory. Any malformed input gives RuntimeError with a text that says
// what is wrong; nothing is read outside the span and allocations stay within the input's size.
MidiFile ReadMidiFile(std::span<const std::uint8_t> bytes);
// Reads a file from disk (file errors as RuntimeError with the program's numbers).
MidiFile LoadMidiFile(const std::filesystem::path& path);

// Writes the file with running status for repeated channel statuses and one end-of-track per
// track, after its last event. Throws RuntimeError for a file that cannot be written as given
// (format 0 with other than one track, events out of time order, invalid events).
std::vector<std::uint8_t> WriteMidiFile(const MidiFile& file);

// Inserts a complete SysEx message (F0, 7-bit data, F7) at a tick of the first track: after
// every event at the same or an earlier tick, so events inserted at equal ticks keep their
// order; an end-of-track earlier than the tick moves to it.
void InsertSysEx(MidiFile& file, std::uint32_t tick, std::span<const std::uint8_t> message);

// A tempo meta event (FF 51 03 tt tt tt).
MidiEvent TempoEvent(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
MidiEvent EndOfTrackEvent(std::uint32_t tick);

}  // namespace cadenzo
