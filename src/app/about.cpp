// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about.h"

#include <array>

#include "app/dialogs.h"

namespace cadenzo {

std::string AboutCaption() { return std::string("About ") + kProgramTitle; }

std::string VersionText(std::string_view version) {
  std::array<long, 3> parts = {0, 0, 0};
  std::size_t pos = 0;
  for (long& part : parts) {
    std::size_t digits = 0;
    while (pos < version.size() && version[pos] >= '0' && version[pos] <= '9' && digits < 9) {
      part = part * 10 + (version[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || pos >= version.size() || version[pos] != '.') break;
    ++pos;
  }
  return "Version " + std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
         std::to_string(parts[2]);
}

std::string ProgramVersion() {
#ifdef CADENZO_VERSION
  return CADENZO_VERSION;
#else
  return "0.0.0";
#endif
}

}  // namespace cadenzo
