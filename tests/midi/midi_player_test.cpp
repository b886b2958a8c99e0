// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/midi_player.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "app/runtime_error.h"
#include "midi/sysex_template.h"
#include "support/recording_midi_port.h"

namespace cadenzo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::microseconds;
using testing::FakeSleep;
using testing::RecordingMidiPort;

MidiEvent Channel(std::uint32_t tick, std::uint8_t status, Bytes data) {
  return MidiEvent{.tick = tick, .status = status, .data = std::move(data)};
}

// The template with one message at each of the three insertion times.
MidiFile TemplateWith(std::uint8_t mark) {
  MidiFile file = MakeSysExTemplate();
  InsertSysEx(file, 0, Bytes{0xF0, mark, 0x00, 0xF7});
  InsertSysEx(file, 100, Bytes{0xF0, mark, 0x01, 0xF7});
  InsertSysEx(file, 200, Bytes{0xF0, mark, 0x02, 0xF7});
  return file;
}

TEST(ScheduleTest, TemplateTimesAreQuarterSecondsApart) {
  const PlaySchedule schedule = ScheduleOf(TemplateWith(0x11));
  ASSERT_EQ(schedule.messages.size(), 3u);
  EXPECT_EQ(schedule.messages[0], (TimedMessage{microseconds(0), {0xF0, 0x11, 0x00, 0xF7}}));
  EXPECT_EQ(schedule.messages[1], (TimedMessage{microseconds(250000), {0xF0, 0x11, 0x01, 0xF7}}));
  EXPECT_EQ(schedule.messages[2], (TimedMessage{microseconds(500000), {0xF0, 0x11, 0x02, 0xF7}}));
  EXPECT_EQ(schedule.end, microseconds(750000));
}

TEST(ScheduleTest, TempoEventsChangeTheTimeOfLaterTicksOnly) {
  // Division 96: a quarter at 500000, then 250000 from tick 96, then 1000000 from 192.
  MidiFile file;
  file.format = 1;
  file.division = 96;
  file.tracks.resize(2);
  file.tracks[0].events = {TempoEvent(96, 250000), TempoEvent(192, 1000000), EndOfTrackEvent(192)};
  file.tracks[1].events = {Channel(0, 0x90, {1, 1}),   Channel(48, 0x90, {2, 1}),
                           Channel(96, 0x90, {3, 1}),  Channel(144, 0x90, {4, 1}),
                           Channel(240, 0x90, {5, 1}), EndOfTrackEvent(288)};
  const PlaySchedule schedule = ScheduleOf(file);
  std::vector<microseconds> times;
  for (const TimedMessage& m : schedule.messages) times.push_back(m.at);
  EXPECT_EQ(times,
            (std::vector<microseconds>{microseconds(0), microseconds(250000), microseconds(500000),
                                       microseconds(625000), microseconds(1250000)}));
  EXPECT_EQ(schedule.end, microseconds(1750000));

  const std::vector<std::pair<std::uint32_t, std::uint32_t>> map = {{96, 250000}, {192, 1000000}};
  EXPECT_EQ(TickToTime(144, 96, map), microseconds(625000));
  EXPECT_EQ(TickToTime(1, 96, map), microseconds(5208));  // 500000 / 96, rounded down
}

TEST(ScheduleTest, SmpteDivisionsIgnoreTempo) {
  // 25 frames of 40 ticks: one tick is a millisecond. 29 means 29.97 frames per second.
  EXPECT_EQ(TickToTime(1500, 0xE728, {}), microseconds(1500000));
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> map = {{0, 100}};
  EXPECT_EQ(TickToTime(1500, 0xE728, map), microseconds(1500000));
  EXPECT_EQ(TickToTime(2997, 0xE301, {}), microseconds(100000000));
}

TEST(ScheduleTest, EqualTicksPlayInTrackOrderThenFileOrder) {
  MidiFile file;
  file.format = 1;
  file.tracks.resize(2);
  file.tracks[0].events = {Channel(10, 0x90, {1, 1}), Channel(10, 0x90, {2, 1})};
  file.tracks[1].events = {Channel(0, 0x90, {3, 1}), Channel(10, 0x90, {4, 1}),
                           MidiEvent{.tick = 10, .status = 0xF7, .data = {0xF8}}};
  std::vector<Bytes> sent;
  for (const TimedMessage& m : ScheduleOf(file).messages) sent.push_back(m.bytes);
  EXPECT_EQ(sent,
            (std::vector<Bytes>{{0x90, 3, 1}, {0x90, 1, 1}, {0x90, 2, 1}, {0x90, 4, 1}, {0xF8}}));
}

TEST(MidiFilePlayerTest, PlaysEveryMessageAtItsMomentOnTheChosenOutput) {
  RecordingMidiPort port;
  {
    MidiFilePlayer player(port, FakeSleep(port));
    ASSERT_TRUE(player.SelectMIDIDevice(1, "Port B"));
    player.Load(TemplateWith(0x11));
    player.Play();
    player.WaitUntilIdle();
    const auto sent = port.SentMessages();
    ASSERT_EQ(sent.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(sent[i].device, 1);
      EXPECT_EQ(sent[i].at, microseconds(250000 * static_cast<int>(i)));
    }
    EXPECT_EQ(port.now, microseconds(750000));  // waits for the end of the track
  }
  EXPECT_FALSE(port.IsOpen());  // released with the player
}

// A sleep that holds the player's first wait until the test lets it go.
class Gate {
 public:
  MidiFilePlayer::SleepFn Sleep(RecordingMidiPort& port) {
    return [this, &port](microseconds d) {
      std::unique_lock lock(mutex_);
      entered_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return open_; });
      port.now += d;
    };
  }
  void WaitUntilEntered() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return entered_; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false;
  bool open_ = false;
};

TEST(MidiFilePlayerTest, PlayingAgainWhilePlayingQueuesTheNewestAfterTheCurrent) {
  RecordingMidiPort port;
  Gate gate;
  MidiFilePlayer player(port, gate.Sleep(port));
  ASSERT_TRUE(player.SelectMIDIDevice(0, "Port A"));
  player.Load(TemplateWith(0x11));
  player.Play();
  gate.WaitUntilEntered();  // the first file has sent its first message and waits
  player.Load(TemplateWith(0x22));
  player.Play();
  player.Load(TemplateWith(0x33));
  player.Play();  // replaces 0x22, which has not started
  gate.Open();
  player.WaitUntilIdle();
  std::vector<std::uint8_t> marks;
  for (const Bytes& b : port.SentBytes()) marks.push_back(b[1]);
  EXPECT_EQ(marks, (std::vector<std::uint8_t>{0x11, 0x11, 0x11, 0x33, 0x33, 0x33}));
}

// With the real clock: the second message is due hours later, so only a player that stops its
// wait at once lets these tests end.
MidiFile WithALongPause() {
  MidiFile file = MakeSysExTemplate();
  InsertSysEx(file, 0, Bytes{0xF0, 0x11, 0xF7});
  InsertSysEx(file, 0x0FFFFFF, Bytes{0xF0, 0x7F, 0xF7});
  return file;
}

TEST(MidiFilePlayerTest, ReleasingWhilePlayingStopsAtOnce) {
  RecordingMidiPort port;
  {
    MidiFilePlayer player(port);
    ASSERT_TRUE(player.SelectMIDIDevice(0, "Port A"));
    player.Load(WithALongPause());
    player.Play();
    port.WaitForSent(1);
  }
  EXPECT_EQ(port.SentBytes().size(), 1u);
  EXPECT_FALSE(port.IsOpen());
}

TEST(MidiFilePlayerTest, ChoosingAnotherOutputStopsWhatPlays) {
  RecordingMidiPort port;
  MidiFilePlayer player(port);
  ASSERT_TRUE(player.SelectMIDIDevice(0, "Port A"));
  player.Load(WithALongPause());
  player.Play();
  port.WaitForSent(1);
  ASSERT_TRUE(player.SelectMIDIDevice(1, "Port B"));
  player.WaitUntilIdle();
  EXPECT_EQ(port.SentBytes().size(), 1u);
  EXPECT_EQ(port.OpenIndex(), 1);
}

TEST(MidiFilePlayerTest, KeepsTheOutputOpenWhileTheChoiceStaysTheSame) {
  RecordingMidiPort port;
  MidiFilePlayer player(port, FakeSleep(port));
  EXPECT_TRUE(player.SelectMIDIDevice(0, "Port A"));
  EXPECT_TRUE(player.SelectMIDIDevice(0, "Port A"));
  EXPECT_EQ(port.opens, 1);
  EXPECT_TRUE(player.SelectMIDIDevice(1, "Port B"));
  EXPECT_EQ(port.opens, 2);
  EXPECT_EQ(port.closes, 1);
  EXPECT_EQ(port.OpenIndex(), 1);
}

TEST(MidiFilePlayerTest, FindsTheChosenNameWhenTheListChanged) {
  RecordingMidiPort port({"Port A", "Port B"});
  MidiFilePlayer player(port, FakeSleep(port));
  port.SetNames({"New Port", "Port A", "Port B"});
  EXPECT_TRUE(player.SelectMIDIDevice(1, "Port B"));
  EXPECT_EQ(port.OpenIndex(), 2);
  port.SetNames({"Port A"});
  EXPECT_FALSE(player.SelectMIDIDevice(3, "Gone"));
  EXPECT_FALSE(port.IsOpen());
  port.failing = {0};
  EXPECT_FALSE(player.SelectMIDIDevice(0, "Port A"));
}

TEST(MidiFilePlayerTest, ASendFailureIsKeptForTheNextCommandAndReopens) {
  RecordingMidiPort port;
  MidiFilePlayer player(port, FakeSleep(port));
  ASSERT_TRUE(player.SelectMIDIDevice(0, "Port A"));
  port.failSends = true;
  player.Load(TemplateWith(0x11));
  player.Play();
  player.WaitUntilIdle();
  EXPECT_EQ(player.TakePlaybackError(), std::optional<std::string>("the device went away"));
  EXPECT_EQ(player.TakePlaybackError(), std::nullopt);
  port.failSends = false;
  EXPECT_TRUE(player.SelectMIDIDevice(0, "Port A"));
  EXPECT_EQ(port.opens, 2);
}

TEST(MidiFilePlayerTest, PlayingWithoutAnOpenOutputIsAnError) {
  RecordingMidiPort port;
  MidiFilePlayer player(port, FakeSleep(port));
  player.Load(TemplateWith(0x11));
  EXPECT_THROW(player.Play(), RuntimeError);
  player.WaitUntilIdle();
  EXPECT_TRUE(port.SentBytes().empty());
}

}  // namespace
}  // namespace cadenzo
