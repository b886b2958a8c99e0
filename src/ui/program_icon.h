// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <string>

namespace cadenzo {

// The name of the program's icon file in the application folder.
inline constexpr const char* kIconFileName = "styles256.ico";

// The program's icon from the application folder; an empty icon when the file is missing.
QIcon ProgramIcon(const std::string& appPath);

}  // namespace cadenzo
