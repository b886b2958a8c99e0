// SPDX-License-Identifier: GPL-3.0-or-later
// Imports any text as delimited lines into a small open file, then converts the result and
// reads the converted image back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "mfd/delimited_import.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"

namespace {

// A small file as the reader leaves it, read once.
const cadenzo::AppState& OpenSample() {
  static const cadenzo::AppState state = [] {
    cadenzo::AppState s = cadenzo::fuzz::FreshState();
    cadenzo::fuzz::QuietDialogs dialogs;
    s.FileBytes = cadenzo::fuzz::SampleFiles().front();
    s.FileName = "sample.mfd";
    cadenzo::ReadMusicFinderFile(s, dialogs);
    if (!s.FileLoaded) __builtin_trap();
    return s;
  }();
  return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cadenzo;
  if (size > (1u << 18)) return 0;
  AppState state = OpenSample();
  fuzz::QuietDialogs dialogs;
  state.AllowUserStyles = size > 0 && data[0] % 2 == 0;
  state.DefaultStyle = size > 1 && data[1] % 2 == 0 ? "Funk" : "None";
  const std::size_t rowsBefore = state.List.Size();
  const ImportResult result = ImportDelimitedText(
      state, dialogs, std::string_view(reinterpret_cast<const char*>(data), size));
  // Every record appended has its row, and the header counts them.
  if (state.List.Size() != rowsBefore + static_cast<std::size_t>(result.imported)) __builtin_trap();
  if (HeaderRecordCount(state) != static_cast<int>(state.List.Size())) __builtin_trap();

  for (const char* target : {"PSR-S970", "PSR-2000"}) {
    SaveMusicFinderx(state, dialogs, target, false, PassMode::kPreview);
    AppState again = fuzz::FreshState();
    again.FileBytes = state.SaveBytes;
    ReadMusicFinderFile(again, dialogs);
  }
  return 0;
}
