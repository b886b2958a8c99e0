// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "charset/cp1252.h"

namespace cadenzo {

// The Qt boundary: core text is Windows-1252, Qt text is Unicode.
// Every Windows-1252 character is one UTF-16 unit, so the text is converted in place.
inline QString ToQt(std::string_view cp1252) {
  if (cp1252.empty()) return {};
  QString text(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : cp1252) {
    *out++ = QChar(static_cast<char16_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c))));
  }
  return text;
}
inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

// Paths are native strings and cross unchanged.
inline QString PathToQt(const std::string& path) { return QString::fromStdString(path); }
inline std::string PathFromQt(const QString& path) { return path.toStdString(); }

}  // namespace cadenzo
