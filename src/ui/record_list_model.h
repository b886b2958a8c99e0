// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include "rows/record_list.h"
#include "ui/auto_size_columns.h"

namespace cadenzo {

// The program's colour (red in the low byte) as a Qt colour.
QColor QtColour(Colour colour);

// The rows of the core's record list as a table for ListView1. The model holds no copy of the
// rows: it reads the cells on demand and writes only the check boxes back. The core changes the
// list; Refresh() tells the views.
class RecordListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RecordListModel(RecordList& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // For each column, the texts of these rows that may be its widest in these advances: a text's
  // width is taken as the sum of its characters' advances, and the few within a kerning's reach
  // of a column's largest are returned, for the caller to measure exactly.
  std::vector<QStringList> WidestTexts(const ByteAdvances& advances, const RowRanges& ranges) const;

  // Re-reads the list after the core changed it: every cell changed when the row count is the
  // same (column widths and scrolling stay), a reset when rows came or went.
  void Refresh();

 signals:
  // The user changed the check box of the row at this position.
  void CheckChanged(int position);

 private:
  const Row* RowAt(int position) const;

  RecordList& list_;
  int rows_ = 0;  // the row count the views know
};

}  // namespace cadenzo
