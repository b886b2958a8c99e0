// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "midi/midi_file.h"
#include "midi/midi_port.h"

namespace cadenzo {

// One message of a file with the moment it is due, counted from the start of playing.
struct TimedMessage {
  std::chrono::microseconds at{0};
  std::vector<std::uint8_t> bytes;
  friend bool operator==(const TimedMessage&, const TimedMessage&) = default;
};

// What playing a file sends: its tracks merged by tick (equal ticks in track order, then file
// order), meta events left out, ticks turned into time by the division and the tempo events
// (500000 microseconds per quarter note until the first).
struct PlaySchedule {
  std::vector<TimedMessage> messages;
  std::chrono::microseconds end{0};  // the last event's moment, end-of-track included
};
PlaySchedule ScheduleOf(const MidiFile& file);

// The moment of a tick under a tempo map of (tick, microseconds per quarter) changes in tick
// order, or under an SMPTE division.
std::chrono::microseconds TickToTime(
    std::uint32_t tick, std::uint16_t division,
    std::span<const std::pair<std::uint32_t, std::uint32_t>> tempoChanges);

// The program's MIDI-file object: holds one loaded file, takes SysEx insertions, and plays it
// through a MidiPort on a worker thread of its own, so the windows never wait for it. The
// worker only sends bytes; it never touches widgets or the shared state.
//
// Playing while a file still plays queues the new file to play right after the current one;
// a file queued and not yet started is replaced by a newer one. Files never interleave.
class MidiFilePlayer {
 public:
  // Waits for the given time; tests pass a function that records it and returns at once.
  using SleepFn = std::function<void(std::chrono::microseconds)>;

  explicit MidiFilePlayer(MidiPort& port, SleepFn sleep = {});
  ~MidiFilePlayer();  // stops playing, ends the worker and closes the port
  MidiFilePlayer(const MidiFilePlayer&) = delete;
  MidiFilePlayer& operator=(const MidiFilePlayer&) = delete;

  // Opens the chosen output (see OpenMidiOutput). The open output is kept while the choice
  // stays the same; a different choice first stops what is playing. False when it cannot open.
  bool SelectMIDIDevice(int index, const std::string& name);
  // Replaces the loaded file with the file at path. Throws RuntimeError when it cannot be read.
  void Load(const std::filesystem::path& path);
  void Load(MidiFile file) { file_ = std::move(file); }
  void InsertSysEx(std::uint32_t tick, std::span<const std::uint8_t> message);
  // Plays (a copy of) the loaded file on the open output.
  void Play();

  const MidiFile& Loaded() const { return file_; }
  // Blocks until nothing plays and nothing waits to play.
  void WaitUntilIdle();
  // The failure of the last sending on the worker, once; empty when there was none.
  std::optional<std::string> TakePlaybackError();

 private:
  void Run();
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline,
               std::chrono::microseconds step);
  void StopPlaying(std::unique_lock<std::mutex>& lock);

  MidiPort& port_;
  SleepFn sleep_;
  MidiFile file_;  // the loaded file; used by the caller's thread only

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::optional<PlaySchedule> queued_;
  bool playing_ = false;
  bool cancel_ = false;
  bool stopping_ = false;
  std::optional<std::string> playbackError_;
  int openIndex_ = -1;
  std::string openName_;
  std::thread worker_;
};

}  // namespace cadenzo
