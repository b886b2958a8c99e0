// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/record.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "mfd/byte_io.h"

namespace cadenzo {
namespace {

constexpr std::array<std::string_view, 11> kSectionTexts = {
    "Off",    "Intro 1", "Intro 2",  "Intro 3",  "Main A",  "Main B",
    "Main C", "Main D",  "Ending 1", "Ending 2", "Ending 3"};

// The decoders below write each text into an existing string with one assignment, so that the
// reader can fill a row's cells where they stay; the Decode functions return fresh strings.

// Replaces the text with n chars. clear and append take the short road through the string;
// assign goes through the general replace, a cost that shows when the reader fills every cell of
// tens of thousands of rows.
void SetText(std::string& text, const char* chars, std::size_t n) {
  text.clear();
  text.append(chars, n);
}

void SetText(std::string& text, std::string_view chars) {
  SetText(text, chars.data(), chars.size());
}

void AssignNumberText(std::string& text, int number, int width) {
  const unsigned magnitude =
      number < 0 ? 0U - static_cast<unsigned>(number) : static_cast<unsigned>(number);
  std::array<char, 16> digits{};
  const char* const end =
      std::to_chars(digits.data(), digits.data() + digits.size(), magnitude).ptr;
  const auto length = static_cast<std::size_t>(end - digits.data());
  text.clear();
  if (number < 0) text.push_back('-');
  if (width > 0 && length < static_cast<std::size_t>(width)) {
    text.append(static_cast<std::size_t>(width) - length, '0');
  }
  text.append(digits.data(), length);
}

// A text field up to its first zero byte (Music, Keywords).
static_assert(mfd::kKeywordsLength <= mfd::kMusicLength);
void AssignUpToZero(std::string& text, std::span<const std::uint8_t> bytes, std::size_t offset,
                    std::size_t length) {
  CheckRange(bytes.size(), offset, length);
  const std::uint8_t* field = bytes.data() + offset;
  const std::size_t limit = std::min(length, mfd::kMusicLength);
  const void* zero = std::memchr(field, 0, limit);
  const std::size_t n =
      zero != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - field)
                      : limit;
  // Sized first, then filled with the bytes as they are.
  text.resize(n);
  std::memcpy(text.data(), field, n);
}

// Genre: every byte of the field that is not zero.
void AssignGenre(std::string& text, std::span<const std::uint8_t> bytes, std::size_t r) {
  CheckRange(bytes.size(), r + mfd::kGenre, mfd::kGenreLength);
  std::array<char, mfd::kGenreLength> chars{};
  std::size_t n = 0;
  for (const std::uint8_t b : bytes.subspan(r + mfd::kGenre, mfd::kGenreLength)) {
    if (b != 0) chars[n++] = static_cast<char>(b);
  }
  SetText(text, chars.data(), n);
}

// Numerator and denominator, each with a leading blank, joined by "/": " 4/ 4".
void AssignTimeSig(std::string& text, std::span<const std::uint8_t> bytes, std::size_t r) {
  const unsigned numerator = ReadU8(bytes, r + mfd::kTimeSigNumerator);
  const unsigned denominator = ReadU8(bytes, r + mfd::kTimeSigDenominator);
  if (numerator == 255) {
    text.clear();
    return;
  }
  std::array<char, 16> chars{};
  char* p = chars.data();
  *p++ = ' ';
  p = std::to_chars(p, chars.data() + chars.size(), numerator).ptr;
  *p++ = '/';
  *p++ = ' ';
  p = std::to_chars(p, chars.data() + chars.size(), denominator).ptr;
  SetText(text, chars.data(), static_cast<std::size_t>(p - chars.data()));
}

// A tempo below 100 gets a leading blank: " 96".
void AssignTempo(std::string& text, int tempo) {
  std::array<char, 16> chars{};
  char* p = chars.data();
  if (tempo < 100) *p++ = ' ';
  p = std::to_chars(p, chars.data() + chars.size(), tempo).ptr;
  SetText(text, chars.data(), static_cast<std::size_t>(p - chars.data()));
}

void AssignTempo(std::string& text, std::span<const std::uint8_t> bytes, std::size_t r) {
  if (ReadU8(bytes, r + mfd::kTempo) == 255) {
    text.clear();
  } else {
    AssignTempo(text, ReadU16(bytes, r + mfd::kTempo));
  }
}

std::string_view YesNo(std::uint8_t flags, std::uint8_t bit) {
  return flags <= 7 && (flags & bit) != 0 ? "Yes" : "No";
}

std::string_view SectionView(int digit) {
  return kSectionTexts[digit >= 1 && digit <= 10 ? static_cast<std::size_t>(digit) : 0];
}

}  // namespace

std::string NumberText(int number, int width) {
  std::string text;
  AssignNumberText(text, number, width);
  return text;
}

std::string DecodeNumberText(std::span<const std::uint8_t> bytes, std::size_t r) {
  return NumberText(ReadU16(bytes, r + mfd::kNumber) + 1);
}

std::string DecodeGenre(std::span<const std::uint8_t> bytes, std::size_t r) {
  std::string text;
  AssignGenre(text, bytes, r);
  return text;
}

std::string DecodeMusic(std::span<const std::uint8_t> bytes, std::size_t r) {
  std::string text;
  AssignUpToZero(text, bytes, r + mfd::kMusic, mfd::kMusicLength);
  return text;
}

std::string DecodeKeywords(std::span<const std::uint8_t> bytes, std::size_t r) {
  std::string text;
  AssignUpToZero(text, bytes, r + mfd::kKeywords, mfd::kKeywordsLength);
  return text;
}

std::string DecodeTimeSig(std::span<const std::uint8_t> bytes, std::size_t r) {
  std::string text;
  AssignTimeSig(text, bytes, r);
  return text;
}

std::string TempoText(int tempo) {
  std::string text;
  AssignTempo(text, tempo);
  return text;
}

std::string DecodeTempo(std::span<const std::uint8_t> bytes, std::size_t r) {
  std::string text;
  AssignTempo(text, bytes, r);
  return text;
}

FlagTexts DecodeFlags(std::uint8_t flags) {
  return {std::string(YesNo(flags, mfd::kFavorite)), std::string(YesNo(flags, mfd::kSearch1)),
          std::string(YesNo(flags, mfd::kSearch2))};
}

std::string SectionText(int digit) { return std::string(SectionView(digit)); }

int SectionDigit(std::string_view text) {
  for (std::size_t i = 1; i < kSectionTexts.size(); ++i) {
    if (text == kSectionTexts[i]) return static_cast<int>(i);
  }
  return 0;
}

int SectionCode(std::string_view text) {
  const int digit = SectionDigit(text);
  if (digit >= 1 && digit <= 3) return digit - 1;        // Intro 1 to 3
  if (digit >= 4 && digit <= 7) return digit - 4 + 8;    // Main A to D
  if (digit >= 8 && digit <= 10) return digit - 8 + 32;  // Ending 1 to 3
  return -1;
}

std::string DecodeIntro(std::span<const std::uint8_t> bytes, std::size_t r) {
  return SectionText(ReadU8(bytes, r + mfd::kSections) >> 4);
}

std::string DecodeNextSection(std::span<const std::uint8_t> bytes, std::size_t r) {
  return SectionText(ReadU8(bytes, r + mfd::kSections) & 0x0F);
}

void DecodeRecordCells(std::span<const std::uint8_t> bytes, std::size_t r,
                       std::array<std::string, col::kCount>& cells) {
  CheckRange(bytes.size(), r, mfd::kRecordSize);
  const auto cell = [&](int column) -> std::string& {
    return cells[static_cast<std::size_t>(column)];
  };
  AssignNumberText(cell(col::kNumber), ReadU16(bytes, r + mfd::kNumber) + 1, 4);
  AssignGenre(cell(col::kGenre), bytes, r);
  AssignUpToZero(cell(col::kMusic), bytes, r + mfd::kMusic, mfd::kMusicLength);
  AssignTimeSig(cell(col::kTimeSig), bytes, r);
  AssignTempo(cell(col::kTempo), bytes, r);
  AssignUpToZero(cell(col::kKeywords), bytes, r + mfd::kKeywords, mfd::kKeywordsLength);
  const std::uint8_t flags = bytes[r + mfd::kFlags];
  SetText(cell(col::kFav), YesNo(flags, mfd::kFavorite));
  SetText(cell(col::kS1), YesNo(flags, mfd::kSearch1));
  SetText(cell(col::kS2), YesNo(flags, mfd::kSearch2));
  const std::uint8_t sections = bytes[r + mfd::kSections];
  SetText(cell(col::kIntro), SectionView(sections >> 4));
  SetText(cell(col::kNext), SectionView(sections & 0x0F));
}

void EncodeText(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t length,
                std::string_view text) {
  CheckRange(bytes.size(), offset, length);
  const std::size_t n = std::min(length, text.size());
  for (std::size_t i = 0; i < n; ++i) bytes[offset + i] = static_cast<std::uint8_t>(text[i]);
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(offset + n),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + length), std::uint8_t{0});
}

void EncodeTimeSig(std::span<std::uint8_t> bytes, std::size_t r, int numerator, int denominator) {
  WriteU8(bytes, r + mfd::kTimeSigNumerator, static_cast<std::uint8_t>(numerator));
  WriteU8(bytes, r + mfd::kTimeSigDenominator, static_cast<std::uint8_t>(denominator));
}

void EncodeNoTimeSig(std::span<std::uint8_t> bytes, std::size_t r) {
  WriteU8(bytes, r + mfd::kTimeSigNumerator, 255);
  WriteU8(bytes, r + mfd::kTimeSigDenominator, 255);
}

void EncodeTempo(std::span<std::uint8_t> bytes, std::size_t r, int tempo) {
  WriteU16(bytes, r + mfd::kTempo, static_cast<std::uint16_t>(tempo));
}

void EncodeNoTempo(std::span<std::uint8_t> bytes, std::size_t r) {
  WriteU8(bytes, r + mfd::kTempo, 255);
  WriteU8(bytes, r + mfd::kTempo + 1, 255);
}

void EncodeSections(std::span<std::uint8_t> bytes, std::size_t r, int introDigit, int nextDigit) {
  WriteU8(bytes, r + mfd::kSections,
          static_cast<std::uint8_t>(((introDigit & 0x0F) << 4) | (nextDigit & 0x0F)));
}

void SetFlag(std::span<std::uint8_t> bytes, std::size_t r, std::uint8_t flag, bool on) {
  const std::uint8_t old = ReadU8(bytes, r + mfd::kFlags);
  WriteU8(bytes, r + mfd::kFlags, static_cast<std::uint8_t>(on ? (old | flag) : (old & ~flag)));
}

std::size_t CheckedRecordOffset(std::span<const std::uint8_t> bytes, std::uint32_t n) {
  if (n < 1 || n > HeaderCount(bytes)) throw RuntimeError(err::kSubscriptOutOfRange);
  const std::size_t r = mfd::RecordOffset(n);
  CheckRange(bytes.size(), r, mfd::kRecordSize);
  return r;
}

std::uint16_t HeaderCount(std::span<const std::uint8_t> bytes) {
  return ReadU16(bytes, mfd::kCountOffset);
}

void SetHeaderCount(std::span<std::uint8_t> bytes, std::uint16_t count) {
  WriteU16(bytes, mfd::kCountOffset, count);
}

std::size_t AppendRecord(std::vector<std::uint8_t>& bytes) {
  const std::size_t count = static_cast<std::size_t>(HeaderCount(bytes)) + 1;
  if (count > 0xFFFF) throw RuntimeError(err::kOverflow);
  const std::size_t r = mfd::RecordOffset(count);
  bytes.resize(std::max(bytes.size() + mfd::kRecordSize, r + mfd::kRecordSize), 0);
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(r),
            bytes.begin() + static_cast<std::ptrdiff_t>(r + mfd::kRecordSize), std::uint8_t{0});
  SetHeaderCount(bytes, static_cast<std::uint16_t>(count));
  return r;
}

int HeaderRecordCount(const Document& doc) {
  if (doc.FileBytes.size() < mfd::kHeaderSize) return 0;
  return HeaderCount(doc.FileBytes);
}

}  // namespace cadenzo
