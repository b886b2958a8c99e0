// SPDX-License-Identifier: GPL-3.0-or-later
// Parses any text as a style list and as the target of the style lookup.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/style_list.h"
#include "catalogue/target_choice.h"
#include "fuzz_support.h"
#include "textio/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cadenzo;
  if (size > (1u << 18)) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const auto& line : ParseStyleListLines(text)) {
    (void)NormalizeStyleName(line.entry.name);
    (void)StripLeadingZeros(line.entry.number);
    (void)StyleNumberValue(line.entry.number);
  }
  // The same text as a target list on disk, through every consumer.
  WriteFileAtomic(fuzz::ScratchFolder() + "GENOS.dat", text);
  const TargetMaps maps = BuildTargetMaps(fuzz::ScratchFolder(), "GENOS");
  for (const char* style : {"Cool Beat", "Pop Rock 2", "Funk", "Ballad3", "USB:\\a.mid", ""}) {
    (void)ResolveTargetStyle("0012", style, maps);
  }
  (void)StyleComboEntries(fuzz::ScratchFolder(), "GENOS");
  AppState state = fuzz::FreshState();
  state.TargetInstrument = "GENOS";
  (void)setupCboStyle(state);
  return 0;
}
