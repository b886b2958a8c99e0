// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_icon.h"

#include "ui/qt_text.h"

namespace cadenzo {

QIcon ProgramIcon(const std::string& appPath) { return QIcon(PathToQt(appPath + kIconFileName)); }

}  // namespace cadenzo
