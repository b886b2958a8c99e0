// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/send_to_instrument.h"

#include "app/report_error.h"
#include "midi/style_number_table.h"
#include "midi/sysex_messages.h"
#include "midi/sysex_template.h"

namespace cadenzo {

MidiFilePlayer& InstrumentLink::Init() {
  if (!handle_) handle_ = std::make_unique<MidiFilePlayer>(port_, sleep_);
  return *handle_;
}

void SetPSR(AppState& state, Dialogs& dialogs, InstrumentLink& link) {
  RunReported(dialogs, "SetPSR", [&] {
    MidiFilePlayer& player = link.Init();
    if (state.FileName.empty()) {
      dialogs.Show(kNoFileOpenText);
      return;
    }
    if (state.SelectedStyleText.empty()) {
      dialogs.Show(kNoEntrySelectedText);
      return;
    }
    if (state.MidiDeviceIndex < 0) {
      dialogs.Show(kNoMidiDeviceText);
      return;
    }
    // A failure of the previous playing is told once; the output is reopened by this send.
    if (auto failure = player.TakePlaybackError()) {
      throw RuntimeError(err::kDeviceUnavailable, *failure);
    }
    if (!player.SelectMIDIDevice(state.MidiDeviceIndex, state.MidiDeviceName)) {
      dialogs.Show(kMidiDeviceFailedText);
      return;
    }
    const StyleNumberTable table =
        ReadStyleNumberTable(StyleFoldersOf(state), state.TargetInstrument);
    player.Load(LoadSysExTemplate(state.AppPath));
    const auto found = table.find(StyleNumberKey(state.SelectedStyleText));
    if (found == table.end()) return;
    const int styleNumber = StyleNumberOf(found->second);

    player.InsertSysEx(0, StyleSelectMessage(state.TargetInstrument, styleNumber));
    for (const std::uint8_t section : kSectionsSwitchedOff) {
      player.InsertSysEx(100, SectionMessage(section, false));
    }
    if (state.SelectedNextCode != -1) {
      player.InsertSysEx(100, SectionMessage(state.SelectedNextCode, true));
    }
    if (state.SelectedIntroCode != -1) {
      player.InsertSysEx(100, SectionMessage(state.SelectedIntroCode, true));
    }
    player.InsertSysEx(200, TempoMessage(state.SelectedTempo));
    player.Play();
  });
}

}  // namespace cadenzo
