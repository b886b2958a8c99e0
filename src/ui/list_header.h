// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QHeaderView>
#include <QSize>
#include <QString>

namespace cadenzo {

// The column header of the record list. Qt measures every section's header text whenever it lays
// out the list (its height is the tallest section), which is a good part of the window's
// start-up; the sizes are kept until a section's text, the font, the style or the sort indicator
// change.
class ListHeader : public QHeaderView {
 public:
  explicit ListHeader(QWidget* parent = nullptr);

 protected:
  QSize sectionSizeFromContents(int logicalIndex) const override;
  bool event(QEvent* event) override;

 private:
  struct Kept {
    QString text;
    QString fontKey;
    bool sortIndicatorShown = false;
    QSize size;
  };
  mutable QHash<int, Kept> kept_;
};

}  // namespace cadenzo
