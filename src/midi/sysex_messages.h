// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mfd/record.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace cadenzo {

using MidiBytes = std::vector<std::uint8_t>;

// The models that take the short style select message; every other model takes the long one.
bool UsesShortStyleSelect(std::string_view targetInstrument);

// Style select for the target's group: F0 43 73 01 11 00 16 hi lo F7 (short) or
// F0 43 73 01 51 05 00 03 04 00 00 hi lo F7 (long), hi and lo the 7-bit halves of the number.
// Throws RuntimeError (overflow) for a number outside 0 to 16383.
MidiBytes StyleSelectMessage(std::string_view targetInstrument, int styleNumber);

// Section switch: F0 43 7E 00 ss 00 F7 (off) or F0 43 7E 00 ss 7F F7 (on).
MidiBytes SectionMessage(int sectionCode, bool on);

// Tempo as microseconds per quarter note in three 7-bit groups: F0 43 7E 01 00 t3 t2 t1 F7.
// Throws RuntimeError for a tempo of 0 (division by zero) and for tempos whose microseconds
// do not fit three 7-bit groups (below 29 and negative).
MidiBytes TempoMessage(int tempo);

// The sections switched off before the record's sections are switched on, in sending order.
inline constexpr std::array<std::uint8_t, 15> kSectionsSwitchedOff = {
    0x00, 0x01, 0x02, 0x08, 0x09, 0x0A, 0x0B, 0x10, 0x11, 0x12, 0x13, 0x18, 0x20, 0x21, 0x22};

}  // namespace cadenzo
