// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace cadenzo {

// The texts of the About box.
inline constexpr const char* kAboutDescription =
    "Views, edits and converts Music Finder files of arranger keyboards, and tries records out "
    "on the keyboard.";
inline constexpr const char* kSystemInfoUnavailable =
    "System Information Is Unavailable At This Time";

// "About " followed by the application title.
std::string AboutCaption();

// "Version " followed by the major, minor and revision numbers of a version text such as
// "3.2.0" (missing parts count as 0; anything after the numbers is left out).
std::string VersionText(std::string_view version);

// The program's own version, as the build states it.
std::string ProgramVersion();

}  // namespace cadenzo
