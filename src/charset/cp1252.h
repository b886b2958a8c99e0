// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace cadenzo {

// Windows-1252 text, the single-byte encoding of every text the files and records hold.
// Decoding maps the five undefined bytes to the C1 controls of the same value, so every byte
// round-trips. Encoding turns characters that Windows-1252 cannot hold into "?".
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view utf8);
char32_t Cp1252ToCodePoint(unsigned char byte);

namespace detail {
// Lower case of every byte, as a table: folding is on the path of every keyed lookup and sort.
constexpr std::array<char, 256> MakeLowerCp1252Table() {
  std::array<char, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    unsigned lower = b;
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
      lower = b + 32;
    } else if (b == 0x8A || b == 0x8C || b == 0x8E) {
      lower = b + 0x10;  // S, OE and Z with caron or ligature
    } else if (b == 0x9F) {
      lower = 0xFF;  // Y with diaeresis
    }
    table[b] = static_cast<char>(lower);
  }
  return table;
}
inline constexpr std::array<char, 256> kLowerCp1252 = MakeLowerCp1252Table();
}  // namespace detail

// Case folding of ASCII and the Windows-1252 letters.
inline char LowerCp1252(char c) { return detail::kLowerCp1252[static_cast<unsigned char>(c)]; }
char UpperCp1252(char c);
std::string LowerCp1252(std::string_view text);
std::string UpperCp1252(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Trims blanks (the character " " only) at both ends, as the program's trims do.
inline std::string_view TrimLeftBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}
inline std::string_view TrimRightBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}
inline std::string_view TrimBlanks(std::string_view text) {
  return TrimRightBlanks(TrimLeftBlanks(text));
}

}  // namespace cadenzo
