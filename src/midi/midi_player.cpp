// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/midi_player.h"

#include <algorithm>

#include "app/runtime_error.h"

namespace cadenzo {
namespace {

using std::chrono::microseconds;

// Turns ticks into time while walking forward through a file's tempo changes. Within a tempo
// the time is kept as microseconds times ticks per quarter, so no rounding piles up.
class TempoClock {
 public:
  explicit TempoClock(std::uint16_t division) : division_(division) {}

  // Time of a tick not before the previous one asked.
  microseconds At(std::uint32_t tick) const {
    if ((division_ & 0x8000) != 0) {
      const int fps = -static_cast<int>(static_cast<std::int8_t>(division_ >> 8));
      const std::uint64_t perFrame = division_ & 0xFF;
      // 29 stands for 29.97 frames per second.
      const std::uint64_t framesPer100s = fps == 29 ? 2997 : static_cast<std::uint64_t>(fps) * 100;
      const std::uint64_t denominator = framesPer100s * std::max<std::uint64_t>(perFrame, 1);
      return microseconds(static_cast<std::int64_t>(std::uint64_t{tick} * 100000000ULL /
                                                    std::max<std::uint64_t>(denominator, 1)));
    }
    const std::uint64_t scaled = scaledTime_ + std::uint64_t{tick - tick_} * tempo_;
    return microseconds(static_cast<std::int64_t>(scaled / std::max<std::uint16_t>(division_, 1)));
  }

  void SetTempo(std::uint32_t tick, std::uint32_t tempo) {
    scaledTime_ += std::uint64_t{tick - tick_} * tempo_;
    tick_ = tick;
    tempo_ = tempo;
  }

 private:
  std::uint16_t division_;
  std::uint32_t tick_ = 0;
  std::uint32_t tempo_ = kDefaultTempo;
  std::uint64_t scaledTime_ = 0;
};

std::optional<std::uint32_t> TempoOf(const MidiEvent& event) {
  if (!event.IsMeta() || event.metaType != 0x51 || event.data.size() != 3) return std::nullopt;
  return (std::uint32_t{event.data[0]} << 16) | (std::uint32_t{event.data[1]} << 8) |
         std::uint32_t{event.data[2]};
}

}  // namespace

microseconds TickToTime(std::uint32_t tick, std::uint16_t division,
                        std::span<const std::pair<std::uint32_t, std::uint32_t>> tempoChanges) {
  TempoClock clock(division);
  for (const auto& [at, tempo] : tempoChanges) {
    if (at > tick) break;
    clock.SetTempo(at, tempo);
  }
  return clock.At(tick);
}

PlaySchedule ScheduleOf(const MidiFile& file) {
  std::vector<const MidiEvent*> merged;
  for (const MidiTrack& track : file.tracks) {
    for (const MidiEvent& event : track.events) merged.push_back(&event);
  }
  std::stable_sort(merged.begin(), merged.end(),
                   [](const MidiEvent* a, const MidiEvent* b) { return a->tick < b->tick; });
  PlaySchedule schedule;
  TempoClock clock(file.division);
  for (const MidiEvent* event : merged) {
    const microseconds at = clock.At(event->tick);
    schedule.end = std::max(schedule.end, at);
    if (const auto tempo = TempoOf(*event)) {
      clock.SetTempo(event->tick, *tempo);
      continue;
    }
    if (event->IsMeta()) continue;
    schedule.messages.push_back(TimedMessage{at, event->Message()});
  }
  return schedule;
}

MidiFilePlayer::MidiFilePlayer(MidiPort& port, SleepFn sleep)
    : port_(port), sleep_(std::move(sleep)) {}

MidiFilePlayer::~MidiFilePlayer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    cancel_ = true;
    queued_.reset();
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
  try {
    if (port_.IsOpen()) port_.Close();
  } catch (...) {
    // Closing at the end of the run has nobody left to tell.
  }
}

bool MidiFilePlayer::SelectMIDIDevice(int index, const std::string& name) {
  std::unique_lock lock(mutex_);
  if (openIndex_ >= 0 && index == openIndex_ && name == openName_ && port_.IsOpen()) return true;
  StopPlaying(lock);
  if (port_.IsOpen()) port_.Close();
  openIndex_ = -1;
  openName_.clear();
  if (OpenMidiOutput(port_, index, name) < 0) return false;
  openIndex_ = index;
  openName_ = name;
  return true;
}

void MidiFilePlayer::Load(const std::filesystem::path& path) { file_ = LoadMidiFile(path); }

void MidiFilePlayer::InsertSysEx(std::uint32_t tick, std::span<const std::uint8_t> message) {
  cadenzo::InsertSysEx(file_, tick, message);
}

void MidiFilePlayer::Play() {
  PlaySchedule schedule = ScheduleOf(file_);
  std::lock_guard lock(mutex_);
  if (openIndex_ < 0) throw RuntimeError(err::kDeviceUnavailable, "No MIDI output is open");
  queued_ = std::move(schedule);
  if (!worker_.joinable()) worker_ = std::thread(&MidiFilePlayer::Run, this);
  wake_.notify_all();
}

void MidiFilePlayer::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !playing_ && !queued_; });
}

std::optional<std::string> MidiFilePlayer::TakePlaybackError() {
  std::lock_guard lock(mutex_);
  auto error = std::move(playbackError_);
  playbackError_.reset();
  return error;
}

void MidiFilePlayer::StopPlaying(std::unique_lock<std::mutex>& lock) {
  queued_.reset();
  if (!playing_) return;
  cancel_ = true;
  wake_.notify_all();
  idle_.wait(lock, [this] { return !playing_; });
  cancel_ = false;
}

bool MidiFilePlayer::WaitFor(std::unique_lock<std::mutex>& lock,
                             std::chrono::steady_clock::time_point deadline, microseconds step) {
  if (sleep_) {
    if (step.count() > 0) {
      lock.unlock();
      sleep_(step);
      lock.lock();
    }
    return !(stopping_ || cancel_);
  }
  return !wake_.wait_until(lock, deadline, [this] { return stopping_ || cancel_; });
}

void MidiFilePlayer::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || queued_.has_value(); });
    if (stopping_) break;
    const PlaySchedule schedule = std::move(*queued_);
    queued_.reset();
    playing_ = true;
    cancel_ = false;
    const auto start = std::chrono::steady_clock::now();
    microseconds previous{0};
    bool completed = true;
    for (const TimedMessage& message : schedule.messages) {
      if (!WaitFor(lock, start + message.at, message.at - previous)) {
        completed = false;
        break;
      }
      previous = message.at;
      std::optional<std::string> failure;
      lock.unlock();
      try {
        port_.Send(message.bytes);
      } catch (const std::exception& e) {
        failure = e.what();
      }
      lock.lock();
      if (failure) {
        // The output is reopened by the next send.
        playbackError_ = std::move(failure);
        openIndex_ = -1;
        completed = false;
        break;
      }
    }
    if (completed) WaitFor(lock, start + schedule.end, schedule.end - previous);
    playing_ = false;
    idle_.notify_all();
  }
  playing_ = false;
  idle_.notify_all();
}

}  // namespace cadenzo
