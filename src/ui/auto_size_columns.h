// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFontMetricsF>
#include <QStringList>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class QFont;
class QTableView;

namespace cadenzo {

// The advance of the character of each Windows-1252 byte in a font, in pixels with their
// fractions: the sum over a text is the text's width but for kerning. Each byte's advance is
// asked of the font the first time the byte is met; a character the font lacks costs a search
// of the fallback fonts, which most bytes never need.
class ByteAdvances {
 public:
  explicit ByteAdvances(const QFont& font);
  double operator[](unsigned char byte) const {
    double& advance = advances_[byte];
    if (advance < 0) advance = Measure(byte);
    return advance;
  }

 private:
  double Measure(unsigned char byte) const;

  QFontMetricsF metrics_;
  mutable std::array<double, 256> advances_;
};
// The table of a font, kept for the run: one for each font the list is shown in.
const ByteAdvances& AdvancesOf(const QFont& font);

// Row ranges [first, last) of a list, in order.
using RowRanges = std::vector<std::pair<int, int>>;

// For each column, the texts of the given rows that may be its widest in the given advances, for
// a model that finds them faster than by being asked for every cell; an empty list for a column
// without text.
using WidestTexts =
    std::function<std::vector<QStringList>(const ByteAdvances& advances, const RowRanges& rows)>;

// The width each column of a list needs for its widest cell text (and in header mode its header),
// before the last column takes the width left over. Long lists are measured on a sample: the rows
// in view and the first and last rows, kAutoSizeSampleRows at each end, or kWidestTextsRows
// with widestTexts.
std::vector<int> MeasureColumns(QTableView* view, bool headerMode,
                                const WidestTexts& widestTexts = {});
// Gives the columns those widths; header mode lets the last column take the width left over.
void ApplyColumnWidths(QTableView* view, const std::vector<int>& widths, bool headerMode);

// Fits every column of a list to its widest cell text: MeasureColumns, then ApplyColumnWidths.
void AutoSizeColumns(QTableView* view, bool headerMode, const WidestTexts& widestTexts = {});

// Rows measured at each end of a long list.
inline constexpr int kAutoSizeSampleRows = 500;
// Rows looked at by widestTexts at each end of a long list: every row of the lists most people
// keep, and a bounded time on the largest.
inline constexpr int kWidestTextsRows = 4000;

}  // namespace cadenzo
