// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/system_midi_port.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "app/runtime_error.h"

#ifdef CADENZO_HAVE_RTMIDI
#include <unistd.h>

#include <RtMidi.h>
#endif
#ifdef CADENZO_HAVE_JACK
#include <jack/jack.h>
#endif

namespace cadenzo {
namespace {

#ifdef CADENZO_HAVE_RTMIDI

bool AlsaSequencerPresent() { return ::access("/dev/snd/seq", R_OK | W_OK) == 0; }

#ifdef CADENZO_HAVE_JACK
void Quiet(const char* /*message*/) {}

// Whether a JACK server answers, asked without starting one and without JACK's messages.
bool JackServerRunning() {
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  jack_status_t status{};
  jack_client_t* client = jack_client_open("CadenzoProbe", JackNoStartServer, &status);
  if (client == nullptr) return false;
  jack_client_close(client);
  return true;
}
#else
bool JackServerRunning() { return false; }
#endif

bool Compiled(RtMidi::Api api) {
  std::vector<RtMidi::Api> apis;
  RtMidi::getCompiledApi(apis);
  return std::find(apis.begin(), apis.end(), api) != apis.end();
}

class RtMidiPort : public MidiPort {
 public:
  explicit RtMidiPort(std::string clientName) : clientName_(std::move(clientName)) {}
  ~RtMidiPort() override {
    std::lock_guard lock(mutex_);
    CloseLocked();
  }

  std::vector<std::string> OutputNames() override {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const Entry& e : ListLocked()) names.push_back(e.name);
    return names;
  }

  bool Open(int index) override {
    std::lock_guard lock(mutex_);
    CloseLocked();
    const std::vector<Entry> entries = ListLocked();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return false;
    const Entry& entry = entries[static_cast<std::size_t>(index)];
    try {
      error_.reset();
      entry.out->openPort(entry.port, clientName_ + " Output");
    } catch (const RtMidiError&) {
      return false;
    }
    if (error_ || !entry.out->isPortOpen()) return false;
    open_ = entry.out;
    return true;
  }

  void Send(std::span<const std::uint8_t> message) override {
    std::lock_guard lock(mutex_);
    if (open_ == nullptr) throw RuntimeError(err::kDeviceUnavailable, "No MIDI output is open");
    try {
      error_.reset();
      open_->sendMessage(message.data(), message.size());
    } catch (const RtMidiError& e) {
      throw RuntimeError(err::kDeviceUnavailable, e.getMessage());
    }
    if (error_) throw RuntimeError(err::kDeviceUnavailable, *error_);
  }

  void Close() override {
    std::lock_guard lock(mutex_);
    CloseLocked();
  }

  bool IsOpen() const override {
    std::lock_guard lock(mutex_);
    return open_ != nullptr;
  }

 private:
  struct Entry {
    RtMidiOut* out;
    unsigned port;
    std::string name;
  };

  // RtMidi reports through this instead of throwing or printing once it is set; warnings
  // (such as a full buffer) count as failures of the call too, since a message was lost.
  static void OnError(RtMidiError::Type /*type*/, const std::string& text, void* self) {
    static_cast<RtMidiPort*>(self)->error_ = text;
  }

  // Creates the client of each service that is there and has none yet.
  void ConnectLocked() {
    if (!alsa_ && Compiled(RtMidi::LINUX_ALSA) && AlsaSequencerPresent()) {
      alsa_ = Create(RtMidi::LINUX_ALSA);
    }
    if (!jack_ && Compiled(RtMidi::UNIX_JACK) && JackServerRunning()) {
      jack_ = Create(RtMidi::UNIX_JACK);
    }
  }

  std::unique_ptr<RtMidiOut> Create(RtMidi::Api api) {
    try {
      auto out = std::make_unique<RtMidiOut>(api, clientName_);
      out->setErrorCallback(&RtMidiPort::OnError, this);
      return out;
    } catch (const RtMidiError&) {
      return nullptr;
    }
  }

  std::vector<Entry> ListLocked() {
    ConnectLocked();
    std::vector<Entry> entries;
    for (RtMidiOut* out : {alsa_.get(), jack_.get()}) {
      if (out == nullptr) continue;
      try {
        error_.reset();
        const unsigned count = out->getPortCount();
        for (unsigned i = 0; i < count && !error_; ++i) {
          std::string name = out->getPortName(i);
          if (!error_) entries.push_back(Entry{out, i, std::move(name)});
        }
      } catch (const RtMidiError&) {
        // A service that fails to list is left out of the list.
      }
    }
    error_.reset();
    return entries;
  }

  void CloseLocked() {
    if (open_ == nullptr) return;
    try {
      open_->closePort();
    } catch (const RtMidiError&) {
      // Closing an output that is gone leaves nothing to undo.
    }
    open_ = nullptr;
  }

  std::string clientName_;
  mutable std::mutex mutex_;
  std::unique_ptr<RtMidiOut> alsa_;
  std::unique_ptr<RtMidiOut> jack_;
  RtMidiOut* open_ = nullptr;
  std::optional<std::string> error_;
};

#endif  // CADENZO_HAVE_RTMIDI

#ifndef CADENZO_HAVE_RTMIDI
// Without the MIDI library: no outputs.
class NoMidiPort : public MidiPort {
 public:
  std::vector<std::string> OutputNames() override { return {}; }
  bool Open(int) override { return false; }
  void Send(std::span<const std::uint8_t>) override {
    throw RuntimeError(err::kDeviceUnavailable, "No MIDI output is open");
  }
  void Close() override {}
  bool IsOpen() const override { return false; }
};
#endif

}  // namespace

std::unique_ptr<MidiPort> MakeSystemMidiPort(const std::string& clientName) {
#ifdef CADENZO_HAVE_RTMIDI
  return std::make_unique<RtMidiPort>(clientName);
#else
  (void)clientName;
  return std::make_unique<NoMidiPort>();
#endif
}

}  // namespace cadenzo
