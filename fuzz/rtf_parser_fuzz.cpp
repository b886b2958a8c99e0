// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any bytes to the rich-text reader and writes the result back, so that both must cope.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "textio/rtf_parser.h"
#include "textio/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  cadenzo::RtfDocument document = cadenzo::ParseRtf(bytes);
  cadenzo::AddParagraphIndents(document, 600, 600, 1);
  const cadenzo::RtfDocument again = cadenzo::ParseRtf(cadenzo::WriteRtf(document));
  if (again.PlainText() != document.PlainText()) __builtin_trap();
  (void)cadenzo::PlainTextDocument(bytes);
  return 0;
}
