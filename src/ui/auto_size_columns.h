// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTableView;

namespace cadenzo {

// Fits every column of a list to its widest cell text. Header mode fits header and cells and lets
// the last column take the width left over. Long lists are measured on a sample: the rows in
// view and the first and last rows (see kAutoSizeSampleRows).
void AutoSizeColumns(QTableView* view, bool headerMode);

// Rows measured at each end of a long list.
inline constexpr int kAutoSizeSampleRows = 500;

}  // namespace cadenzo
