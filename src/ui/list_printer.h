// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "app/dialogs.h"
#include "playlist/play_list_print.h"

class QPainter;
class QPrinter;
class QTreeView;
class QWidget;

namespace cadenzo {

// Prints a list with its column headers, widths and cell texts: a title on every page, a fixed
// number of rows a page, page numbers in the footer. Text is drawn as text, so a PDF keeps it
// searchable. Column widths are in twips; columns wider than the page together are scaled down.
class ListPrinter {
 public:
  explicit ListPrinter(ListPrintJob job);

  // Shows the print preview; the user prints from it. Failures show "Error <n>;<description>";
  // cancelling the printer dialog shows nothing.
  void Preview(QWidget* parent, Dialogs& dialogs);
  // Prints to a PDF file. Throws RuntimeError when the file cannot be written.
  void PrintToPdf(const QString& path);
  // Lays the pages out on a printer the caller prepared. Throws RuntimeError when the printer
  // cannot be painted on.
  void Render(QPrinter& printer);

  const ListPrintJob& Job() const { return job_; }

 private:
  void Prepare(QPrinter& printer) const;
  void PaintPage(QPainter& painter, const QPrinter& printer, const PageRange& page, int pageNumber,
                 int pageCount) const;

  ListPrintJob job_;
};

// The job's columns take the widths the list view shows, in twips.
void TakeColumnWidths(ListPrintJob& job, const QTreeView& view);

}  // namespace cadenzo
