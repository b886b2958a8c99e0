// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/record_list_model.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "list/list_view_rules.h"
#include "ui/qt_text.h"

namespace cadenzo {

namespace {

Qt::Alignment AlignmentOf(int column) {
  switch (ListColumns()[static_cast<std::size_t>(column)].align) {
    case ColumnAlign::kCentre:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlign::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlign::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// Texts whose sum of advances comes this close to the largest are measured: kerning and the
// rounding of a shaped text stay well inside it.
constexpr double kKerningReach = 0.05;
constexpr double kKerningReachMin = 2.0;
// At most this many texts of a column are measured.
constexpr std::size_t kMaxWidestTexts = 16;

double SumOfAdvances(std::string_view text, const ByteAdvances& advances) {
  double sum = 0;
  for (const char c : text) sum += advances[static_cast<unsigned char>(c)];
  return sum;
}

// The texts of one column that may be its widest: those whose sum of advances is within the
// kerning's reach of the largest, at most kMaxWidestTexts of them.
struct WidestOfColumn {
  struct Candidate {
    double width;
    std::string_view text;
  };
  std::vector<Candidate> candidates;
  double widest = 0;
  // Below this a text cannot be kept: out of reach, or narrower than every one of a full list.
  double floor = 0;

  double Reach() const { return std::max(widest * kKerningReach, kKerningReachMin); }

  void Offer(std::string_view text, const ByteAdvances& advances) {
    const double width = SumOfAdvances(text, advances);
    if (width < floor) return;
    for (const Candidate& c : candidates) {
      if (c.width == width && c.text == text) return;
    }
    if (width > widest) {
      widest = width;
      std::erase_if(candidates, [&](const Candidate& c) { return c.width < widest - Reach(); });
    }
    candidates.push_back({width, text});
    const auto narrower = [](const Candidate& a, const Candidate& b) { return a.width < b.width; };
    if (candidates.size() > kMaxWidestTexts) {
      // The narrowest goes: the measured width can be off by no more than the reach.
      candidates.erase(std::min_element(candidates.begin(), candidates.end(), narrower));
    }
    floor = widest - Reach();
    if (candidates.size() == kMaxWidestTexts) {
      floor =
          std::max(floor, std::min_element(candidates.begin(), candidates.end(), narrower)->width);
    }
  }
};

}  // namespace

QColor QtColour(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

RecordListModel::RecordListModel(RecordList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list), rows_(static_cast<int>(list.Size())) {}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : col::kCount;
}

const Row* RecordListModel::RowAt(int position) const {
  // The core may have removed rows since the last Refresh; such positions show nothing.
  if (position < 0 || static_cast<std::size_t>(position) >= list_.Size()) return nullptr;
  return &list_[static_cast<std::size_t>(position)];
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Row* row = RowAt(index.row());
  if (row == nullptr) return {};
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return ToQt(row->Cell(column));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(AlignmentOf(column));
    case Qt::CheckStateRole:
      if (column == col::kNumber) return row->checked ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ForegroundRole:
      // Black is the list's own text colour.
      if (column == col::kStyle && row->styleColor != kBlack) return QtColour(row->styleColor);
      return {};
    default:
      return {};
  }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= col::kCount) return {};
  if (role == Qt::DisplayRole) {
    const std::string_view header = ListColumns()[static_cast<std::size_t>(section)].header;
    return QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(section));
  return {};
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == col::kNumber) f |= Qt::ItemIsUserCheckable;
  return f;
}

bool RecordListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.column() != col::kNumber) {
    return false;
  }
  if (RowAt(index.row()) == nullptr) return false;
  list_[static_cast<std::size_t>(index.row())].checked =
      static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  emit CheckChanged(index.row());
  return true;
}

std::vector<QStringList> RecordListModel::WidestTexts(const ByteAdvances& advances,
                                                      const RowRanges& ranges) const {
  std::vector<WidestOfColumn> columns(col::kCount);
  const int rows = std::min(rows_, static_cast<int>(list_.Size()));
  for (const auto& [first, last] : ranges) {
    // Row by row, so that each row is read from memory once.
    for (int r = std::max(first, 0); r < std::min(last, rows); ++r) {
      const Row& row = list_[static_cast<std::size_t>(r)];
      for (int c = 0; c < col::kCount; ++c) {
        const std::string_view text = row.Cell(c);
        if (!text.empty()) columns[static_cast<std::size_t>(c)].Offer(text, advances);
      }
    }
  }
  std::vector<QStringList> texts(col::kCount);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    for (const auto& candidate : columns[c].candidates) texts[c] << ToQt(candidate.text);
  }
  return texts;
}

void RecordListModel::Refresh() {
  const int rows = static_cast<int>(list_.Size());
  if (rows == rows_) {
    // The same rows with other texts, checks or order: one repaint of the view. A layout change
    // would also lay the view out again after that paint, and so paint it twice.
    if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, col::kCount - 1));
    return;
  }
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

}  // namespace cadenzo
