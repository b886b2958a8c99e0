// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/midi_file.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/runtime_error.h"
#include "mfd/byte_io.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

[[noreturn]] void Invalid(const std::string& what) {
  throw RuntimeError(err::kInvalidCall, "Invalid MIDI file: " + what);
}

[[noreturn]] void Unwritable(const std::string& what) {
  throw RuntimeError(err::kInvalidCall, "MIDI file cannot be written: " + what);
}

std::string Hex(std::uint8_t b) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  return std::string{kDigits[b >> 4], kDigits[b & 0x0F]};
}

std::size_t ChannelDataLength(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

bool IsChannelStatus(std::uint8_t status) { return status >= 0x80 && status <= 0xEF; }

bool HasId(std::span<const std::uint8_t> bytes, std::size_t pos, std::string_view id) {
  return bytes.size() - pos >= 4 &&
         std::equal(id.begin(), id.end(), bytes.begin() + pos,
                    [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// Reads the bytes of one event's variable-length contents at pos.
std::vector<std::uint8_t> ReadContents(std::span<const std::uint8_t> bytes, std::size_t& pos,
                                       std::size_t end, const std::string& where) {
  const std::uint32_t length = ReadVarLen(bytes, pos, end);
  if (length > end - pos) Invalid("an event length in " + where + " runs past its end");
  std::vector<std::uint8_t> data(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                 bytes.begin() + static_cast<std::ptrdiff_t>(pos + length));
  pos += length;
  return data;
}

MidiTrack ReadTrack(std::span<const std::uint8_t> bytes, std::size_t pos, std::size_t end,
                    std::size_t trackNumber) {
  const std::string where = "track " + std::to_string(trackNumber);
  MidiTrack track;
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (pos < end) {
    tick += ReadVarLen(bytes, pos, end);
    if (tick > 0xFFFFFFFFu) Invalid(where + " is too long");
    if (pos >= end) Invalid(where + " ends inside an event");
    MidiEvent event;
    event.tick = static_cast<std::uint32_t>(tick);
    const std::uint8_t lead = bytes[pos];
    if (lead == 0xFF) {
      ++pos;
      if (pos >= end) Invalid(where + " ends inside an event");
      event.status = 0xFF;
      event.metaType = bytes[pos++];
      event.data = ReadContents(bytes, pos, end, where);
      track.events.push_back(std::move(event));
      if (track.events.back().IsEndOfTrack()) break;
      continue;
    }
    if (lead == 0xF0 || lead == 0xF7) {
      ++pos;
      event.status = lead;
      event.data = ReadContents(bytes, pos, end, where);
      track.events.push_back(std::move(event));
      continue;
    }
    if (lead > 0xF0) Invalid("unexpected status byte " + Hex(lead) + " in " + where);
    if ((lead & 0x80) != 0) {
      running = lead;
      ++pos;
    } else if (running == 0) {
      Invalid("a data byte without a status in " + where);
    }
    event.status = running;
    const std::size_t length = ChannelDataLength(running);
    if (end - pos < length) Invalid(where + " ends inside an event");
    for (std::size_t i = 0; i < length; ++i) {
      const std::uint8_t b = bytes[pos + i];
      if ((b & 0x80) != 0) Invalid("a channel message in " + where + " is cut short");
      event.data.push_back(b);
    }
    pos += length;
    track.events.push_back(std::move(event));
  }
  return track;
}

void CheckDivision(std::uint16_t division) {
  if ((division & 0x8000) != 0) {
    const int fps = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
    if (fps != 24 && fps != 25 && fps != 29 && fps != 30) {
      Invalid("unknown SMPTE frame rate " + std::to_string(fps));
    }
    if ((division & 0xFF) == 0) Invalid("zero ticks per frame");
  } else if (division == 0) {
    Invalid("zero ticks per quarter note");
  }
}

}  // namespace

std::vector<std::uint8_t> MidiEvent::Message() const {
  if (status == 0xFF) return {};
  if (status == 0xF7) return data;
  std::vector<std::uint8_t> out;
  out.reserve(data.size() + 1);
  out.push_back(status);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  if (value > kMaxVarLen) Unwritable("a number is larger than 0FFFFFFF");
  std::array<std::uint8_t, 4> groups{};
  std::size_t count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

std::uint32_t ReadVarLen(std::span<const std::uint8_t> bytes, std::size_t& pos, std::size_t end) {
  end = std::min(end, bytes.size());
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    if (pos >= end) Invalid("a variable-length number runs past the end");
    const std::uint8_t b = bytes[pos++];
    value = (value << 7) | (b & 0x7F);
    if ((b & 0x80) == 0) return value;
  }
  Invalid("a variable-length number is longer than four bytes");
}

MidiFile ReadMidiFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxMidiFileSize) Invalid("larger than 16 MiB");
  if (!HasId(bytes, 0, "MThd")) Invalid("no MThd header");
  if (bytes.size() < 14) Invalid("the header is cut short");
  const std::uint32_t headerLength = ReadU32(bytes, 4);
  if (headerLength < 6) Invalid("the header is cut short");
  if (headerLength > bytes.size() - 8) Invalid("the header length runs past the end");
  MidiFile file;
  file.format = ReadU16(bytes, 8);
  const std::uint16_t trackCount = ReadU16(bytes, 10);
  file.division = ReadU16(bytes, 12);
  if (file.format > 1) Invalid("format " + std::to_string(file.format) + " is not supported");
  if (trackCount == 0) Invalid("it has no tracks");
  if (file.format == 0 && trackCount != 1) Invalid("a format 0 file must have one track");
  CheckDivision(file.division);

  std::size_t pos = 8 + std::size_t{headerLength};
  while (file.tracks.size() < trackCount) {
    const std::string which =
        "track " + std::to_string(file.tracks.size() + 1) + " of " + std::to_string(trackCount);
    if (bytes.size() - pos < 8) Invalid("the file ends before " + which);
    const bool isTrack = HasId(bytes, pos, "MTrk");
    const std::uint32_t length = ReadU32(bytes, pos + 4);
    pos += 8;
    if (length > bytes.size() - pos) Invalid("the length of " + which + " runs past the end");
    // Chunks of other kinds are skipped, as the format asks.
    if (isTrack) file.tracks.push_back(ReadTrack(bytes, pos, pos + length, file.tracks.size() + 1));
    pos += length;
  }
  return file;
}

MidiFile LoadMidiFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxMidiFileSize) Invalid("larger than 16 MiB");
  const Bytes bytes = ReadFileBytes(path, kMaxMidiFileSize);
  return ReadMidiFile(bytes);
}

std::vector<std::uint8_t> WriteMidiFile(const MidiFile& file) {
  if (file.format > 1) Unwritable("format " + std::to_string(file.format) + " is not supported");
  if (file.tracks.empty()) Unwritable("it has no tracks");
  if (file.format == 0 && file.tracks.size() != 1) Unwritable("format 0 needs one track");
  if (file.tracks.size() > 0xFFFF) Unwritable("too many tracks");
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  AppendU32(out, 6);
  AppendU16(out, file.format);
  AppendU16(out, static_cast<std::uint16_t>(file.tracks.size()));
  AppendU16(out, file.division);

  for (const MidiTrack& track : file.tracks) {
    std::vector<std::uint8_t> body;
    std::uint32_t previous = 0;
    std::uint32_t endTick = 0;
    std::uint8_t running = 0;
    for (const MidiEvent& event : track.events) {
      if (event.IsEndOfTrack()) {
        endTick = std::max(endTick, event.tick);
        continue;
      }
      if (event.tick < previous) Unwritable("events out of time order");
      AppendVarLen(body, event.tick - previous);
      previous = event.tick;
      if (IsChannelStatus(event.status)) {
        if (event.data.size() != ChannelDataLength(event.status) ||
            std::any_of(event.data.begin(), event.data.end(),
                        [](std::uint8_t b) { return (b & 0x80) != 0; })) {
          Unwritable("a channel message has wrong data bytes");
        }
        if (event.status != running) body.push_back(event.status);
        running = event.status;
      } else if (event.status == 0xF0 || event.status == 0xF7 || event.status == 0xFF) {
        body.push_back(event.status);
        if (event.status == 0xFF) body.push_back(event.metaType);
        if (event.data.size() > kMaxVarLen) Unwritable("an event is too long");
        AppendVarLen(body, static_cast<std::uint32_t>(event.data.size()));
        running = 0;
      } else {
        Unwritable("unknown status byte " + Hex(event.status));
      }
      body.insert(body.end(), event.data.begin(), event.data.end());
    }
    AppendVarLen(body, std::max(endTick, previous) - previous);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    if (body.size() > 0xFFFFFFFFu) Unwritable("a track is too long");
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    AppendU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

void InsertSysEx(MidiFile& file, std::uint32_t tick, std::span<const std::uint8_t> message) {
  if (message.size() < 2 || message.front() != 0xF0 || message.back() != 0xF7 ||
      std::any_of(message.begin() + 1, message.end() - 1,
                  [](std::uint8_t b) { return (b & 0x80) != 0; })) {
    throw RuntimeError(err::kInvalidCall, "Invalid SysEx message");
  }
  if (file.tracks.empty()) file.tracks.emplace_back();
  std::vector<MidiEvent>& events = file.tracks.front().events;
  const auto at = std::find_if(events.begin(), events.end(), [tick](const MidiEvent& e) {
    return e.tick > tick || e.IsEndOfTrack();
  });
  MidiEvent event;
  event.tick = tick;
  event.status = 0xF0;
  event.data.assign(message.begin() + 1, message.end());
  const auto inserted = events.insert(at, std::move(event));
  for (auto it = inserted + 1; it != events.end(); ++it) {
    if (it->IsEndOfTrack() && it->tick < tick) it->tick = tick;
  }
}

MidiEvent TempoEvent(std::uint32_t tick, std::uint32_t microsecondsPerQuarter) {
  MidiEvent event;
  event.tick = tick;
  event.status = 0xFF;
  event.metaType = 0x51;
  event.data = {static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
                static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
                static_cast<std::uint8_t>(microsecondsPerQuarter)};
  return event;
}

MidiEvent EndOfTrackEvent(std::uint32_t tick) {
  MidiEvent event;
  event.tick = tick;
  event.status = 0xFF;
  event.metaType = 0x2F;
  return event;
}

}  // namespace cadenzo
