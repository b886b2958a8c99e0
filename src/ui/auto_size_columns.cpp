// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/auto_size_columns.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <memory>
#include <utility>

#include "charset/cp1252.h"

namespace cadenzo {

namespace {

// Row ranges to measure: perEnd rows at both ends of the list and the rows in view, merged.
RowRanges SampleRanges(const QTableView* view, int rows, int perEnd) {
  RowRanges ranges;
  if (rows <= 0) return ranges;
  ranges.emplace_back(0, std::min(rows, perEnd));
  ranges.emplace_back(std::max(0, rows - perEnd), rows);
  const int top = view->rowAt(0);
  if (top >= 0) {
    int bottom = view->rowAt(view->viewport()->height() - 1);
    if (bottom < 0) bottom = rows - 1;
    ranges.emplace_back(top, bottom + 1);
  }
  std::sort(ranges.begin(), ranges.end());
  RowRanges merged;
  for (const auto& r : ranges) {
    if (!merged.empty() && r.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, r.second);
    } else {
      merged.push_back(r);
    }
  }
  return merged;
}

// The widest text among the sampled rows of a column.
int WidestSampledText(const QAbstractItemModel* model, int column, const RowRanges& ranges,
                      const QFontMetrics& metrics) {
  // Most columns repeat a few texts (flags, sections, genres, tempos): each distinct text is
  // shaped and measured once.
  QSet<QString> measured;
  int width = 0;
  for (const auto& [first, last] : ranges) {
    for (int r = first; r < last; ++r) {
      QString text = model->index(r, column).data(Qt::DisplayRole).toString();
      if (text.isEmpty() || measured.contains(text)) continue;
      width = std::max(width, metrics.horizontalAdvance(text));
      measured.insert(std::move(text));
    }
  }
  return width;
}

}  // namespace

ByteAdvances::ByteAdvances(const QFont& font) : metrics_(font) { advances_.fill(-1); }

double ByteAdvances::Measure(unsigned char byte) const {
  return metrics_.horizontalAdvance(QChar(static_cast<char16_t>(Cp1252ToCodePoint(byte))));
}

const ByteAdvances& AdvancesOf(const QFont& font) {
  // A handful of fonts in a run (the list's, one for each size the user picks).
  static QHash<QString, std::shared_ptr<const ByteAdvances>> tables;
  const QString key = font.key();
  if (const auto found = tables.constFind(key); found != tables.constEnd()) return **found;
  return **tables.insert(key, std::make_shared<const ByteAdvances>(font));
}

std::vector<int> MeasureColumns(QTableView* view, bool headerMode, const WidestTexts& widestTexts) {
  const QAbstractItemModel* model = view->model();
  if (model == nullptr) return {};
  QHeaderView* header = view->horizontalHeader();
  const int columns = model->columnCount();
  const int rows = model->rowCount();
  const QFontMetrics metrics(view->font());
  QStyle* style = view->style();
  const int padding = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 8;
  const int checkWidth = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, view) + 4;
  const RowRanges ranges =
      SampleRanges(view, rows, widestTexts ? kWidestTextsRows : kAutoSizeSampleRows);
  const std::vector<QStringList> widest = widestTexts && rows > 0
                                              ? widestTexts(AdvancesOf(view->font()), ranges)
                                              : std::vector<QStringList>{};

  std::vector<int> widths(static_cast<std::size_t>(std::max(columns, 0)), 0);
  for (int c = 0; c < columns; ++c) {
    if (header->isSectionHidden(c)) continue;
    int width = 0;
    if (widestTexts) {
      if (static_cast<std::size_t>(c) < widest.size()) {
        for (const QString& text : widest[static_cast<std::size_t>(c)]) {
          width = std::max(width, metrics.horizontalAdvance(text));
        }
      }
    } else {
      width = WidestSampledText(model, c, ranges, metrics);
    }
    const bool checkable =
        rows > 0 && model->flags(model->index(0, c)).testFlag(Qt::ItemIsUserCheckable);
    width += padding + (checkable ? checkWidth : 0);
    if (headerMode) width = std::max(width, header->sectionSizeHint(c));
    widths[static_cast<std::size_t>(c)] = width;
  }
  return widths;
}

void ApplyColumnWidths(QTableView* view, const std::vector<int>& widths, bool headerMode) {
  QHeaderView* header = view->horizontalHeader();
  const int columns = std::min(static_cast<int>(widths.size()), header->count());
  int used = 0;
  for (int c = 0; c < columns; ++c) {
    if (header->isSectionHidden(c)) continue;
    int width = widths[static_cast<std::size_t>(c)];
    const bool last = c == columns - 1;
    if (headerMode && last) width = std::max(width, view->viewport()->width() - used);
    header->resizeSection(c, width);
    used += width;
  }
}

void AutoSizeColumns(QTableView* view, bool headerMode, const WidestTexts& widestTexts) {
  ApplyColumnWidths(view, MeasureColumns(view, headerMode, widestTexts), headerMode);
}

}  // namespace cadenzo
