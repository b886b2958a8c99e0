// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/rtf_writer.h"

#include <array>
#include <cstdio>

#include "charset/cp1252.h"

namespace cadenzo {
namespace {

// The Windows-1252 byte of a code point from 0x80 on, or 0 when it has none.
unsigned char Cp1252Byte(char32_t cp) {
  for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
    if (Cp1252ToCodePoint(static_cast<unsigned char>(byte)) == cp) {
      return static_cast<unsigned char>(byte);
    }
  }
  return 0;
}

void AppendHex(std::string& out, unsigned char byte) {
  std::array<char, 8> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "\\'%02x", byte);
  out += buffer.data();
}

void AppendUnicodeUnit(std::string& out, char32_t unit) {
  // \uN takes a signed 16-bit number.
  const long value = unit > 0x7FFF ? static_cast<long>(unit) - 65536 : static_cast<long>(unit);
  out += "\\u" + std::to_string(value) + "?";
}

void AppendText(std::string& out, const std::u32string& text) {
  for (const char32_t ch : text) {
    if (ch == U'\\' || ch == U'{' || ch == U'}') {
      out.push_back('\\');
      out.push_back(static_cast<char>(ch));
    } else if (ch == U'\t') {
      out += "\\tab ";
    } else if (ch == 0x2028) {
      out += "\\line ";
    } else if (ch >= 0x20 && ch < 0x80) {
      out.push_back(static_cast<char>(ch));
    } else if (const unsigned char byte = Cp1252Byte(ch); byte != 0) {
      AppendHex(out, byte);
    } else if (ch > 0xFFFF && ch <= 0x10FFFF) {
      const char32_t v = ch - 0x10000;
      AppendUnicodeUnit(out, 0xD800 + (v >> 10));
      AppendUnicodeUnit(out, 0xDC00 + (v & 0x3FF));
    } else if (ch >= 0x20) {
      AppendUnicodeUnit(out, ch);
    }
    // Control characters other than the tab are not text.
  }
}

std::string ParagraphFormat(const RtfParagraphFormat& f) {
  std::string out = "\\pard";
  auto number = [&out](const char* word, int value) {
    if (value != 0) out += std::string("\\") + word + std::to_string(value);
  };
  number("li", f.leftIndent);
  number("ri", f.rightIndent);
  number("fi", f.firstIndent);
  number("sb", f.spaceBefore);
  number("sa", f.spaceAfter);
  switch (f.alignment) {
    case RtfAlignment::kLeft:
      break;
    case RtfAlignment::kCenter:
      out += "\\qc";
      break;
    case RtfAlignment::kRight:
      out += "\\qr";
      break;
    case RtfAlignment::kJustify:
      out += "\\qj";
      break;
  }
  return out;
}

std::string CharFormat(const RtfCharFormat& f) {
  std::string out;
  if (f.bold) out += "\\b";
  if (f.italic) out += "\\i";
  if (f.underline) out += "\\ul";
  out += "\\fs" + std::to_string(f.fontSize);
  return out;
}

}  // namespace

std::string WriteRtf(const RtfDocument& document) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Sans;}}\r\n";
  for (const RtfParagraph& paragraph : document.paragraphs) {
    out += ParagraphFormat(paragraph.format);
    for (const RtfRun& run : paragraph.runs) {
      out += "{" + CharFormat(run.format) + " ";
      AppendText(out, run.text);
      out += "}";
    }
    out += "\\par\r\n";
  }
  out += "}\r\n";
  return out;
}

}  // namespace cadenzo
