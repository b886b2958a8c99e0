// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "textio/rtf_parser.h"

namespace cadenzo {

// Writes a document as rich text in the subset ParseRtf reads (the clipboard's rich-text copy).
// Characters of Windows-1252 are written as themselves or \'hh, all others as \uN.
std::string WriteRtf(const RtfDocument& document);

}  // namespace cadenzo
