// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "playlist/play_list.h"

namespace cadenzo {

// What the list printer is handed: the page settings and the list's columns and cell texts.
struct ListPrintJob {
  std::string fontName = "arial";
  int fontSize = 8;
  int rowsPerPage = 41;
  bool portrait = true;
  double marginInches = 0.2;
  std::string title;           // printed at the top of every page
  std::string previewCaption;  // caption of the preview window
  std::string iconPath;        // icon of the preview window
  std::vector<PlayListColumn> columns;
  std::vector<std::vector<std::string>> rows;  // cell texts in display order
};

// The print job of the play list with its fixed settings; the icon is "styles256.ico" in the
// application folder.
ListPrintJob PlayListPrintJob(const PlayList& list, const std::string& appPath);

// The rows printed on each page: page p (from 0) holds rows [first, first + count).
struct PageRange {
  std::size_t first = 0;
  std::size_t count = 0;
};
std::vector<PageRange> PaginateRows(std::size_t rowCount, int rowsPerPage);

// The message of a failed print: "Error ", the number, ";" and the description. Nothing for the
// user's cancel of the print dialog.
std::optional<std::string> PrintErrorMessage(const RuntimeError& error);

}  // namespace cadenzo
