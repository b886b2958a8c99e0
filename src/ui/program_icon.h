#pragma once

#include <QIcon>
#include <QImage>
#include <string>

namespace cadenzo {

// The name of the program's icon file in the application folder.
inline constexpr const char* kIconFileName = "styles256.ico";

// Draws the program's icon, a keyboard under a pair of beamed notes, at a square size.
QImage DrawProgramIcon(int size);

// The icon from the application folder; drawn afresh when the file is missing or unreadable.
QIcon ProgramIcon(const std::string& appPath);

}  // namespace cadenzo
