// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "midi/midi_file.h"

namespace cadenzo {

// The template file that sending a record loads and fills with SysEx messages, shipped as
// "sysex2.mid" in the application folder.
inline constexpr const char* kSysExTemplateName = "sysex2.mid";

// Its timing: 480 ticks per quarter note at 1,200,000 microseconds per quarter, so one tick is
// 2.5 ms and the insertion times 0, 100 and 200 fall at 0, 250 and 500 ms: apart enough for the
// keyboard to take each group, short enough to feel immediate. The track ends at 300 (750 ms).
inline constexpr std::uint16_t kTemplateDivision = 480;
inline constexpr std::uint32_t kTemplateTempo = 1200000;
inline constexpr std::uint32_t kTemplateEnd = 300;

// Format 0, one track: the tempo at 0 and the end of the track.
MidiFile MakeSysExTemplate();

// Reads the template of the application folder. A file larger than kMaxSysExTemplateSize is
// refused (FileTooLarge) before it is read; an unreadable or invalid one throws RuntimeError.
MidiFile LoadSysExTemplate(const std::string& appPath);

}  // namespace cadenzo
