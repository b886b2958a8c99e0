// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "midi/midi_port.h"

namespace cadenzo::testing {

// A MidiPort double: lists the names it is given and records everything sent, with the moment
// of a fake clock that the test advances (see FakeSleep).
class RecordingMidiPort : public MidiPort {
 public:
  struct Sent {
    int device = -1;
    std::chrono::microseconds at{0};
    std::vector<std::uint8_t> bytes;
  };

  explicit RecordingMidiPort(std::vector<std::string> names = {"Port A", "Port B"})
      : names_(std::move(names)) {}

  std::vector<std::string> OutputNames() override {
    std::lock_guard lock(mutex_);
    return names_;
  }
  bool Open(int index) override {
    std::lock_guard lock(mutex_);
    ++opens;
    if (index < 0 || static_cast<std::size_t>(index) >= names_.size() || failing.count(index)) {
      return false;
    }
    open_ = index;
    return true;
  }
  void Send(std::span<const std::uint8_t> message) override {
    std::lock_guard lock(mutex_);
    if (open_ < 0) throw RuntimeError(err::kDeviceUnavailable, "nothing open");
    if (failSends) throw RuntimeError(err::kDeviceUnavailable, "the device went away");
    sent_.push_back(Sent{open_, now, {message.begin(), message.end()}});
    sentChanged_.notify_all();
  }
  void Close() override {
    std::lock_guard lock(mutex_);
    ++closes;
    open_ = -1;
  }
  bool IsOpen() const override {
    std::lock_guard lock(mutex_);
    return open_ >= 0;
  }

  void SetNames(std::vector<std::string> names) {
    std::lock_guard lock(mutex_);
    names_ = std::move(names);
  }
  std::vector<Sent> SentMessages() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }
  std::vector<std::vector<std::uint8_t>> SentBytes() const {
    std::vector<std::vector<std::uint8_t>> out;
    for (const Sent& s : SentMessages()) out.push_back(s.bytes);
    return out;
  }
  // Blocks until at least count messages were sent.
  void WaitForSent(std::size_t count) const {
    std::unique_lock lock(mutex_);
    sentChanged_.wait(lock, [&] { return sent_.size() >= count; });
  }
  int OpenIndex() const {
    std::lock_guard lock(mutex_);
    return open_;
  }

  // Set by the test before use.
  std::set<int> failing;   // device indexes that cannot be opened
  bool failSends = false;  // every Send throws
  // The fake clock: advanced by FakeSleep on the player's thread, read when recording.
  std::chrono::microseconds now{0};
  int opens = 0;
  int closes = 0;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable sentChanged_;
  std::vector<std::string> names_;
  std::vector<Sent> sent_;
  int open_ = -1;
};

// A sleep for MidiFilePlayer that only advances the port's fake clock.
inline auto FakeSleep(RecordingMidiPort& port) {
  return [&port](std::chrono::microseconds d) { port.now += d; };
}

}  // namespace cadenzo::testing
