// SPDX-License-Identifier: GPL-3.0-or-later
// Reads any bytes as a Music Finder file as the open procedure does (style lists from the
// scratch folder, the preview pass and its log), then converts the result for targets of every
// kind: the processing pass and the image writer. Slow: the reader alone is mfd_reader_fuzz.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cadenzo;
  if (size > (1u << 20)) return 0;
  AppState state = fuzz::FreshState();
  fuzz::QuietDialogs dialogs;
  state.FileBytes.assign(data, data + size);
  state.AutoDetect = size == 0 || data[0] % 4 != 0;  // sometimes "Use Style Numbers"
  ReadMusicFinderFile(state, dialogs);
  (void)ReadFileReferenceBlock(state.FileBytes, HeaderRecordCount(state));
  if (!state.FileLoaded) return 0;
  for (const char* target : {"PSR-2000", "TYROS 5", "PSR-S970"}) {
    state.AllowUserStyles = target[0] == 'T';
    state.DefaultStyle = target[4] == '2' ? "Swing" : "None";
    SaveMusicFinderx(state, dialogs, target, target[4] == 'S', PassMode::kPreview);
    // The image the pass built must read back as a file of its own.
    AppState again = fuzz::FreshState();
    again.FileBytes = state.SaveBytes;
    ReadMusicFinderFile(again, dialogs);
  }
  return 0;
}
