// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/record_list_model.h"

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
