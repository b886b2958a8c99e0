#pragma once

#include <string>
#include <string_view>

namespace cadenzo {

// Windows-1252 text, the single-byte encoding of every text the files and records hold.
// Decoding maps the five undefined bytes to the C1 controls of the same value, so every byte
// round-trips. Encoding turns characters that Windows-1252 cannot hold into "?".
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view utf8);
char32_t Cp1252ToCodePoint(unsigned char byte);

// Case folding of ASCII and the Windows-1252 letters.
char LowerCp1252(char c);
char UpperCp1252(char c);
std::string LowerCp1252(std::string_view text);
std::string UpperCp1252(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Trims blanks (the character " " only) at both ends, as the program's trims do.
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimLeftBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);

}  // namespace cadenzo
