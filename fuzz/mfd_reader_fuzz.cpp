// SPDX-License-Identifier: GPL-3.0-or-later
// The reader alone, in memory: any bytes as a Music Finder file through detection, the decoding
// of every record and the file-reference block. No pass and no disk, so that it runs fast; the
// pass has a target of its own (mfd_pass_fuzz).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <unordered_map>

#include "app/runtime_error.h"
#include "catalogue/instrument_table.h"
#include "mfd/byte_io.h"
#include "mfd/reader.h"
#include "mfd/record.h"

namespace {

// Source styles as the example lists give them, for the models the first byte chooses.
const std::unordered_map<std::string, std::string>& Styles(bool older) {
  static const std::unordered_map<std::string, std::string> kNewer = {
      {"291", "Cool Beat"}, {"12", "Pop Rock"}, {"77", "Funk"}, {"5", "Ballad1"}};
  static const std::unordered_map<std::string, std::string> kOlder = {
      {"14", "Pop Rock"}, {"20", "Funk1"}, {"30", "Swing"}};
  return older ? kOlder : kNewer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cadenzo;
  if (size > kMaxMusicFinderFileSize) return 0;
  AppState state;
  state.FileBytes.assign(data, data + size);
  const std::uint8_t choice = size == 0 ? 0 : data[size - 1];
  state.AutoDetect = choice % 4 != 0;  // sometimes "Use Style Numbers"
  const std::size_t n = std::min<std::size_t>(32, size);
  if (auto model = DetectSourceInstrument(std::span(data, n))) state.SourceInstrument = *model;
  state.SourceStyles = Styles(choice % 3 == 0);
  try {
    ReadRecordRows(state);
  } catch (const RuntimeError&) {
    // A file shorter than its count: the reader's documented failure.
  }
  // The block alone, also at counts the header does not give: no path reaches past its chunk,
  // so all paths together never hold more bytes than the file.
  for (const int count : {HeaderRecordCount(state), static_cast<int>(choice % 8)}) {
    std::size_t pathBytes = 0;
    for (const auto& ref : ReadFileReferenceBlock(state.FileBytes, count)) {
      if (ref.offset + 9 + ref.path.size() > state.FileBytes.size()) std::abort();
      pathBytes += ref.path.size();
    }
    if (pathBytes > state.FileBytes.size()) std::abort();
  }
  return 0;
}
