// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/list_header.h"

#include <QAbstractItemModel>
#include <QEvent>

namespace cadenzo {

ListHeader::ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

QSize ListHeader::sectionSizeFromContents(int logicalIndex) const {
  const QAbstractItemModel* headerModel = model();
  // The size depends on more than the text when the model gives a font or an icon of its own.
  if (headerModel == nullptr ||
      headerModel->headerData(logicalIndex, orientation(), Qt::FontRole).isValid() ||
      headerModel->headerData(logicalIndex, orientation(), Qt::DecorationRole).isValid()) {
    return QHeaderView::sectionSizeFromContents(logicalIndex);
  }
  const QString text = headerModel->headerData(logicalIndex, orientation()).toString();
  const QString fontKey = font().key();
  const auto found = kept_.constFind(logicalIndex);
  if (found != kept_.constEnd() && found->text == text && found->fontKey == fontKey &&
      found->sortIndicatorShown == isSortIndicatorShown()) {
    return found->size;
  }
  const QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
  kept_.insert(logicalIndex, Kept{text, fontKey, isSortIndicatorShown(), size});
  return size;
}

bool ListHeader::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::LayoutDirectionChange:
      kept_.clear();
      break;
    default:
      break;
  }
  return QHeaderView::event(event);
}

}  // namespace cadenzo
