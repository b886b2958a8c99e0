// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "charset/cp1252.h"

namespace cadenzo {

// The Qt boundary: core text is Windows-1252, Qt text is Unicode.
inline QString ToQt(const std::string& cp1252) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252));
}
inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

// Paths are native strings and cross unchanged.
inline QString PathToQt(const std::string& path) { return QString::fromStdString(path); }
inline std::string PathFromQt(const QString& path) { return path.toStdString(); }

}  // namespace cadenzo
