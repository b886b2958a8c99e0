#include "mfd/record.h"

#include <algorithm>
#include <array>

#include "mfd/byte_io.h"

namespace cadenzo {
namespace {

std::string FieldUpToZero(std::span<const std::uint8_t> bytes, std::size_t offset,
                          std::size_t length) {
  CheckRange(bytes.size(), offset, length);
  std::string text;
  for (std::size_t i = 0; i < length && bytes[offset + i] != 0; ++i) {
    text.push_back(static_cast<char>(bytes[offset + i]));
  }
  return text;
}

// A number with the leading blank the program writes before positive numbers.
std::string Blanked(int value) { return " " + std::to_string(value); }

constexpr std::array<const char*, 11> kSectionTexts = {"Off",      "Intro 1",  "Intro 2", "Intro 3",
                                                       "Main A",   "Main B",   "Main C",  "Main D",
                                                       "Ending 1", "Ending 2", "Ending 3"};

}  // namespace

std::string NumberText(int number, int width) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  return number < 0 ? "-" + digits : digits;
}

std::string DecodeNumberText(std::span<const std::uint8_t> bytes, std::size_t r) {
  return NumberText(ReadU16(bytes, r + mfd::kNumber) + 1);
}

std::string DecodeGenre(std::span<const std::uint8_t> bytes, std::size_t r) {
  CheckRange(bytes.size(), r + mfd::kGenre, mfd::kGenreLength);
  std::string text;
  for (std::size_t i = 0; i < mfd::kGenreLength; ++i) {
    const auto b = bytes[r + mfd::kGenre + i];
    if (b != 0) text.push_back(static_cast<char>(b));
  }
  return text;
}

std::string DecodeMusic(std::span<const std::uint8_t> bytes, std::size_t r) {
  return FieldUpToZero(bytes, r + mfd::kMusic, mfd::kMusicLength);
}

std::string DecodeKeywords(std::span<const std::uint8_t> bytes, std::size_t r) {
  return FieldUpToZero(bytes, r + mfd::kKeywords, mfd::kKeywordsLength);
}

std::string DecodeTimeSig(std::span<const std::uint8_t> bytes, std::size_t r) {
  const int numerator = ReadU8(bytes, r + mfd::kTimeSigNumerator);
  const int denominator = ReadU8(bytes, r + mfd::kTimeSigDenominator);
  if (numerator == 255) return {};
  return Blanked(numerator) + "/" + Blanked(denominator);
}

std::string TempoText(int tempo) { return tempo < 100 ? Blanked(tempo) : std::to_string(tempo); }

std::string DecodeTempo(std::span<const std::uint8_t> bytes, std::size_t r) {
  if (ReadU8(bytes, r + mfd::kTempo) == 255) return {};
  return TempoText(ReadU16(bytes, r + mfd::kTempo));
}

FlagTexts DecodeFlags(std::uint8_t flags) {
  auto yesNo = [&](std::uint8_t bit) { return flags <= 7 && (flags & bit) ? "Yes" : "No"; };
  return {yesNo(mfd::kFavorite), yesNo(mfd::kSearch1), yesNo(mfd::kSearch2)};
}

std::string SectionText(int digit) {
  if (digit >= 1 && digit <= 10) return kSectionTexts[static_cast<std::size_t>(digit)];
  return kSectionTexts[0];
}

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

}  // namespace cadenzo
