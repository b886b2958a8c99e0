// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Columns of the record list by index.
namespace cadenzo::col {
inline constexpr int kNumber = 0;
inline constexpr int kGenre = 1;
inline constexpr int kMusic = 2;
inline constexpr int kStyle = 3;
inline constexpr int kTimeSig = 4;
inline constexpr int kTempo = 5;
inline constexpr int kKeywords = 6;
inline constexpr int kFav = 7;
inline constexpr int kS1 = 8;
inline constexpr int kS2 = 9;
inline constexpr int kIntro = 10;
inline constexpr int kNext = 11;
inline constexpr int kFiller = 12;
inline constexpr int kCount = 13;
}  // namespace cadenzo::col
