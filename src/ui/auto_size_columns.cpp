// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/auto_size_columns.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace cadenzo {

namespace {

// Row ranges [first, last) to measure: both ends of the list and the rows in view, merged.
std::vector<std::pair<int, int>> SampleRanges(const QTableView* view, int rows) {
  std::vector<std::pair<int, int>> ranges;
  if (rows <= 0) return ranges;
  ranges.emplace_back(0, std::min(rows, kAutoSizeSampleRows));
  ranges.emplace_back(std::max(0, rows - kAutoSizeSampleRows), rows);
  const int top = view->rowAt(0);
  if (top >= 0) {
    int bottom = view->rowAt(view->viewport()->height() - 1);
    if (bottom < 0) bottom = rows - 1;
    ranges.emplace_back(top, bottom + 1);
  }
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<int, int>> merged;
  for (const auto& r : ranges) {
    if (!merged.empty() && r.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, r.second);
    } else {
      merged.push_back(r);
    }
  }
  return merged;
}

// The widths of the texts measured so far, for the font they were measured in. A list is fitted
// after every command that changes texts, and most of its texts were measured the time before:
// shaping a text costs far more than looking it up.
class TextWidths {
 public:
  int Of(const QFontMetrics& metrics, const QString& text) {
    if (!metrics_ || !(*metrics_ == metrics) || widths_.size() > kMostTexts) {
      metrics_.emplace(metrics);
      widths_.clear();
    }
    const auto found = widths_.constFind(text);
    if (found != widths_.constEnd()) return found.value();
    const int width = metrics.horizontalAdvance(text);
    widths_.insert(text, width);
    return width;
  }

 private:
  static constexpr qsizetype kMostTexts = 100000;
  std::optional<QFontMetrics> metrics_;
  QHash<QString, int> widths_;
};

}  // namespace

void AutoSizeColumns(QTableView* view, bool headerMode) {
  const QAbstractItemModel* model = view->model();
  if (model == nullptr) return;
  QHeaderView* header = view->horizontalHeader();
  const int columns = model->columnCount();
  const int rows = model->rowCount();
  const QFontMetrics metrics(view->font());
  QStyle* style = view->style();
  const int padding = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 8;
  const int checkWidth = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, view) + 4;
  const auto ranges = SampleRanges(view, rows);
  static TextWidths widths;

  int used = 0;
  for (int c = 0; c < columns; ++c) {
    if (header->isSectionHidden(c)) continue;
    // Most columns repeat a few texts (flags, sections, genres, tempos): each distinct text is
    // shaped and measured once.
    QSet<QString> measured;
    int width = 0;
    for (const auto& [first, last] : ranges) {
      for (int r = first; r < last; ++r) {
        QString text = model->index(r, c).data(Qt::DisplayRole).toString();
        if (text.isEmpty() || measured.contains(text)) continue;
        width = std::max(width, widths.Of(metrics, text));
        measured.insert(std::move(text));
      }
    }
    const bool checkable =
        rows > 0 && model->flags(model->index(0, c)).testFlag(Qt::ItemIsUserCheckable);
    width += padding + (checkable ? checkWidth : 0);
    if (headerMode) width = std::max(width, header->sectionSizeHint(c));
    const bool last = c == columns - 1;
    if (headerMode && last) width = std::max(width, view->viewport()->width() - used);
    header->resizeSection(c, width);
    used += width;
  }
}

}  // namespace cadenzo
