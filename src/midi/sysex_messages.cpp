// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/sysex_messages.h"

#include <algorithm>
#include <string>

#include "app/runtime_error.h"

namespace cadenzo {
namespace {

constexpr std::array<std::string_view, 13> kShortStyleSelectModels = {
    "PSR-1000", "PSR-1100", "PSR-2000", "PSR-2100", "TYROS",   "CVP-200", "CVP-203",
    "CVP-204",  "CVP-205",  "CVP-206",  "CVP-207",  "CVP-208", "CVP-210"};

constexpr int kErrDivisionByZero = 11;

std::uint8_t DataByte(int value) { return static_cast<std::uint8_t>(value & 0x7F); }

}  // namespace

bool UsesShortStyleSelect(std::string_view targetInstrument) {
  return std::find(kShortStyleSelectModels.begin(), kShortStyleSelectModels.end(),
                   targetInstrument) != kShortStyleSelectModels.end();
}

MidiBytes StyleSelectMessage(std::string_view targetInstrument, int styleNumber) {
  // A data byte above 7F would end the SysEx message early on the keyboard.
  if (styleNumber < 0 || styleNumber > 0x3FFF) {
    throw RuntimeError(err::kOverflow, "Overflow: style number " + std::to_string(styleNumber) +
                                           " cannot be sent to the instrument");
  }
  const int hi = styleNumber / 128;
  const int lo = styleNumber - hi * 128;
  if (UsesShortStyleSelect(targetInstrument)) {
    return {0xF0, 0x43, 0x73, 0x01, 0x11, 0x00, 0x16, DataByte(hi), DataByte(lo), 0xF7};
  }
  return {0xF0, 0x43, 0x73, 0x01, 0x51,         0x05,         0x00,
          0x03, 0x04, 0x00, 0x00, DataByte(hi), DataByte(lo), 0xF7};
}

MidiBytes SectionMessage(int sectionCode, bool on) {
  if (sectionCode < 0 || sectionCode > 0x7F) {
    throw RuntimeError(err::kOverflow, "Overflow: section code " + std::to_string(sectionCode));
  }
  return {0xF0, 0x43, 0x7E, 0x00, DataByte(sectionCode), static_cast<std::uint8_t>(on ? 0x7F : 0),
          0xF7};
}

MidiBytes TempoMessage(int tempo) {
  if (tempo == 0) throw RuntimeError(kErrDivisionByZero, "Division by zero");
  const long long m = tempo > 0 ? 60000000LL / tempo : -1;
  if (m < 0 || m > 0x1FFFFF) {
    throw RuntimeError(err::kOverflow, "Overflow: tempo " + std::to_string(tempo) +
                                           " cannot be sent to the instrument");
  }
  const int micro = static_cast<int>(m);
  const int t3 = micro / 16384;
  const int t2 = (micro - t3 * 16384) / 128;
  const int t1 = micro - t3 * 16384 - t2 * 128;
  return {0xF0, 0x43, 0x7E, 0x01, 0x00, DataByte(t3), DataByte(t2), DataByte(t1), 0xF7};
}

}  // namespace cadenzo
