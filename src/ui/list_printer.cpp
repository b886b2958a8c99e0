// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/list_printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "app/runtime_error.h"
#include "ui/qt_text.h"

namespace cadenzo {
namespace {

constexpr double kTwipsPerInch = 1440.0;

Qt::Alignment AlignmentOf(ColumnAlignment alignment) {
  switch (alignment) {
    case ColumnAlignment::kCentre:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlignment::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

ListPrinter::ListPrinter(ListPrintJob job) : job_(std::move(job)) {}

void ListPrinter::Prepare(QPrinter& printer) const {
  printer.setPageOrientation(job_.portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
  const double m = job_.marginInches;
  printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Inch);
  printer.setDocName(ToQt(job_.title));
}

void ListPrinter::Render(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) throw RuntimeError(err::kDeviceUnavailable);
  const auto pages = PaginateRows(job_.rows.size(), job_.rowsPerPage);
  const int pageCount = static_cast<int>(pages.size());
  for (int i = 0; i < pageCount; ++i) {
    if (i > 0 && !printer.newPage()) {
      painter.end();
      throw RuntimeError(err::kDeviceIo);
    }
    PaintPage(painter, printer, pages[static_cast<std::size_t>(i)], i + 1, pageCount);
  }
  if (!painter.end()) throw RuntimeError(err::kDeviceIo);
}

void ListPrinter::PaintPage(QPainter& painter, const QPrinter& printer, const PageRange& page,
                            int pageNumber, int pageCount) const {
  const int resolution = printer.resolution();
  const QRect area(QPoint(0, 0), printer.pageLayout().paintRectPixels(resolution).size());
  const int padding = std::max(1, resolution / 24);

  QFont body(ToQt(job_.fontName));
  body.setPointSizeF(job_.fontSize);
  QFont bold = body;
  bold.setBold(true);
  QFont titleFont = bold;
  titleFont.setPointSizeF(job_.fontSize + 4);
  const QFontMetrics bodyMetrics(body, &printer);
  const QFontMetrics titleMetrics(titleFont, &printer);

  // Column widths in device pixels, scaled down together when they do not fit the page.
  std::vector<int> widths;
  double total = 0;
  for (const auto& column : job_.columns) total += column.width * resolution / kTwipsPerInch;
  const double scale = total > area.width() ? area.width() / total : 1.0;
  for (const auto& column : job_.columns) {
    widths.push_back(static_cast<int>(column.width * resolution / kTwipsPerInch * scale));
  }

  const int titleHeight = titleMetrics.height() * 3 / 2;
  const int footerHeight = bodyMetrics.height() * 2;
  const int natural = bodyMetrics.height() * 5 / 4;
  const int rowsPerPage = std::max(1, job_.rowsPerPage);
  const int available = area.height() - titleHeight - natural - footerHeight;
  const int rowHeight = std::max(1, std::min(natural, available / rowsPerPage));

  painter.setPen(Qt::black);
  painter.setFont(titleFont);
  painter.drawText(QRect(area.left(), area.top(), area.width(), titleHeight),
                   Qt::AlignLeft | Qt::AlignTop, ToQt(job_.title));

  auto drawRow = [&](int y, int height, auto&& textOf) {
    int x = area.left();
    for (std::size_t c = 0; c < job_.columns.size(); ++c) {
      const QRect cell(x + padding, y, std::max(0, widths[c] - 2 * padding), height);
      const QString text =
          painter.fontMetrics().elidedText(textOf(c), Qt::ElideRight, cell.width());
      painter.drawText(cell, static_cast<int>(AlignmentOf(job_.columns[c].alignment)), text);
      x += widths[c];
    }
  };

  int y = area.top() + titleHeight;
  painter.setFont(bold);
  drawRow(y, natural, [&](std::size_t c) { return ToQt(std::string(job_.columns[c].header)); });
  y += natural;
  const int tableWidth = std::min(area.width(), static_cast<int>(total * scale));
  painter.drawLine(area.left(), y, area.left() + tableWidth, y);

  painter.setFont(body);
  for (std::size_t r = page.first; r < page.first + page.count; ++r) {
    const auto& cells = job_.rows[r];
    drawRow(y, rowHeight,
            [&](std::size_t c) { return c < cells.size() ? ToQt(cells[c]) : QString(); });
    y += rowHeight;
  }

  painter.drawText(QRect(area.left(), area.bottom() - footerHeight, area.width(), footerHeight),
                   Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("Page %1 of %2").arg(pageNumber).arg(pageCount));
}

void ListPrinter::PrintToPdf(const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  Prepare(printer);
  Render(printer);
}

void ListPrinter::Preview(QWidget* parent, Dialogs& dialogs) {
  // The wait pointer shows until the preview has drawn its pages for the first time.
  bool busy = true;
  dialogs.SetBusy(true);
  auto endBusy = [&] {
    if (std::exchange(busy, false)) dialogs.SetBusy(false);
  };
  QPrinter printer(QPrinter::HighResolution);
  Prepare(printer);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(ToQt(job_.previewCaption));
  const QString icon = PathToQt(job_.iconPath);
  if (QFile::exists(icon)) preview.setWindowIcon(QIcon(icon));
  // Painting happens inside Qt's event handling: no exception may leave the slot.
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [this, &dialogs, &endBusy](QPrinter* target) {
                     try {
                       Render(*target);
                       endBusy();
                     } catch (const RuntimeError& e) {
                       endBusy();
                       if (auto text = PrintErrorMessage(e)) dialogs.Show(*text);
                     } catch (const std::exception& e) {
                       endBusy();
                       dialogs.Show(*PrintErrorMessage(RuntimeError(51, e.what())));
                     }
                   });
  preview.exec();
  endBusy();
}

void TakeColumnWidths(ListPrintJob& job, const QTreeView& view) {
  const QHeaderView& header = *view.header();
  const double dpi = view.logicalDpiX() > 0 ? view.logicalDpiX() : 96;
  const int count = std::min(static_cast<int>(job.columns.size()), header.count());
  for (int i = 0; i < count; ++i) {
    int pixels = header.sectionSize(i);
    // The last column stretches to the window's edge; print it as wide as its texts need.
    if (i == count - 1) {
      pixels = std::min(pixels,
                        std::max(static_cast<const QAbstractItemView&>(view).sizeHintForColumn(i),
                                 header.sectionSizeHint(i)));
    }
    job.columns[static_cast<std::size_t>(i)].width =
        static_cast<int>(pixels * kTwipsPerInch / dpi + 0.5);
  }
}

}  // namespace cadenzo
