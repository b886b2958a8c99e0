// SPDX-License-Identifier: GPL-3.0-or-later
#include "playlist/play_list_print.h"

#include <algorithm>

namespace cadenzo {

ListPrintJob PlayListPrintJob(const PlayList& list, const std::string& appPath) {
  ListPrintJob job;
  job.title = "Cadenzo Play List";
  job.previewCaption = "Cadenzo Play List Print Preview";
  job.iconPath = appPath + "styles256.ico";
  job.columns = list.Columns();
  job.rows.reserve(list.Size());
  for (const PlayListRow& row : list.Rows()) job.rows.push_back(row.cells);
  return job;
}

std::vector<PageRange> PaginateRows(std::size_t rowCount, int rowsPerPage) {
  const std::size_t perPage = rowsPerPage > 0 ? static_cast<std::size_t>(rowsPerPage) : 1;
  std::vector<PageRange> pages;
  // An empty list still prints one page with its title and headers.
  if (rowCount == 0) return {PageRange{}};
  for (std::size_t first = 0; first < rowCount; first += perPage) {
    pages.push_back({first, std::min(perPage, rowCount - first)});
  }
  return pages;
}

std::optional<std::string> PrintErrorMessage(const RuntimeError& error) {
  if (error.Number() == err::kCancel) return std::nullopt;
  return "Error " + std::to_string(error.Number()) + ";" + error.Description();
}

}  // namespace cadenzo
