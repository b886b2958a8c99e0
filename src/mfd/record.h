// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "rows/columns.h"

namespace cadenzo {

// Layout of a Music Finder file and of its 92-byte records.
namespace mfd {
inline constexpr std::size_t kHeaderSize = 38;
inline constexpr std::size_t kRecordSize = 92;
inline constexpr std::size_t kCountOffset = 34;
inline constexpr std::size_t kModelOffset = 16;
inline constexpr std::size_t kGenerationOffset = 12;

inline constexpr std::size_t kNumber = 0;
inline constexpr std::size_t kStyle = 2;
inline constexpr std::size_t kTimeSigNumerator = 4;
inline constexpr std::size_t kTimeSigDenominator = 5;
inline constexpr std::size_t kTempo = 6;
inline constexpr std::size_t kFlags = 8;
inline constexpr std::size_t kMusic = 9;
inline constexpr std::size_t kMusicLength = 32;
inline constexpr std::size_t kGenre = 41;
inline constexpr std::size_t kGenreLength = 16;
inline constexpr std::size_t kKeywords = 57;
inline constexpr std::size_t kKeywordsLength = 32;
inline constexpr std::size_t kSections = 89;
// Bytes 90 and 91 of a record are never read: a record is whole up to here.
inline constexpr std::size_t kLastReadByte = 90;

inline constexpr std::uint16_t kMediaStyle = 0xFFFD;

inline constexpr std::uint8_t kFavorite = 1;
inline constexpr std::uint8_t kSearch1 = 2;
inline constexpr std::uint8_t kSearch2 = 4;

// Byte offset of record n (counted from 1).
constexpr std::size_t RecordOffset(std::size_t n) { return kHeaderSize + kRecordSize * (n - 1); }
}  // namespace mfd

// Decoding of the list texts of one record. Every function takes the whole image and the
// record's offset and checks its bounds.
std::string NumberText(int number, int width = 4);  // zero-padded to at least width digits
std::string DecodeNumberText(std::span<const std::uint8_t> bytes, std::size_t r);
std::string DecodeGenre(std::span<const std::uint8_t> bytes, std::size_t r);
std::string DecodeMusic(std::span<const std::uint8_t> bytes, std::size_t r);
std::string DecodeKeywords(std::span<const std::uint8_t> bytes, std::size_t r);
std::string DecodeTimeSig(std::span<const std::uint8_t> bytes, std::size_t r);
std::string DecodeTempo(std::span<const std::uint8_t> bytes, std::size_t r);
std::string TempoText(int tempo);

struct FlagTexts {
  std::string fav, s1, s2;
};
FlagTexts DecodeFlags(std::uint8_t flags);

// Text of a section digit ("Intro 1" … "Ending 3", "Off").
std::string SectionText(int digit);
// The section digit of a text; 0 ("Off") for any other text.
int SectionDigit(std::string_view text);
// The keyboard's numbering of a section text for the messages that start a style: Intro 1 to 3
// are 0 to 2, Main A to D 8 to 11, Ending 1 to 3 32 to 34; any other text ("Off") has none, -1.
int SectionCode(std::string_view text);

std::string DecodeIntro(std::span<const std::uint8_t> bytes, std::size_t r);
std::string DecodeNextSection(std::span<const std::uint8_t> bytes, std::size_t r);

// Every list text of one record at once, written into the cells of its row where they are: all
// but "Style or File", which follows the source instrument's rules, and the filler column.
void DecodeRecordCells(std::span<const std::uint8_t> bytes, std::size_t r,
                       std::array<std::string, col::kCount>& cells);

// Encoding. Text fields are written one byte per character (the core's text is already
// Windows-1252), cut at the field length, the rest filled with zero bytes.
void EncodeText(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t length,
                std::string_view text);
void EncodeTimeSig(std::span<std::uint8_t> bytes, std::size_t r, int numerator, int denominator);
void EncodeNoTimeSig(std::span<std::uint8_t> bytes, std::size_t r);
void EncodeTempo(std::span<std::uint8_t> bytes, std::size_t r, int tempo);
void EncodeNoTempo(std::span<std::uint8_t> bytes, std::size_t r);
void EncodeSections(std::span<std::uint8_t> bytes, std::size_t r, int introDigit, int nextDigit);
void SetFlag(std::span<std::uint8_t> bytes, std::size_t r, std::uint8_t flag, bool on);

// Offset of record n (counted from 1) of the image; n must be one of the header's records and
// the record whole in the bytes, or RuntimeError 9 is thrown.
std::size_t CheckedRecordOffset(std::span<const std::uint8_t> bytes, std::uint32_t n);

// Record count of the header (bytes 34 and 35).
std::uint16_t HeaderCount(std::span<const std::uint8_t> bytes);
// The number of records the document's header counts (0 for an image shorter than its header).
int HeaderRecordCount(const Document& doc);
void SetHeaderCount(std::span<std::uint8_t> bytes, std::uint16_t count);

// Appends one zero-filled record to the image: it grows by 92 bytes, the header count becomes
// the new count N, and the offset of the new record 38 + 92 (N - 1) is returned.
std::size_t AppendRecord(std::vector<std::uint8_t>& bytes);

}  // namespace cadenzo
