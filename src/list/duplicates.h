// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/document.h"
#include "app/outcome.h"
#include "rows/record_list.h"

namespace cadenzo {

struct DuplicateOptions {
  // Compare the song names (Music) only, not the "Style or File" texts too.
  bool songOnly = false;
};

// A record that repeats an earlier one, and the first record it repeats. Rows are list positions;
// the running numbers count the rows in the order of their records in the file, from 1.
struct Duplicate {
  std::uint32_t keptRow = 0;
  std::uint32_t repeatRow = 0;
  std::size_t keptNumber = 0;
  std::size_t repeatNumber = 0;
};

// Every row that repeats an earlier one in file order (by Row::record, whatever the list's sort):
// the same song name and the same "Style or File" text, both compared without case and without
// surrounding blanks. Deleted rows are neither kept nor repeats. In file order of the repeats.
std::vector<Duplicate> ListDuplicates(const RecordList& list, const DuplicateOptions& options);

// Actions > Find Duplicates: unchecks every row, checks every repeat and sets the check
// commands so that Del Chk'd removes them. The status line says how many; the value is the
// list position of the first checked row, -1 when none.
Result<int> FindDuplicates(Document& state, const DuplicateOptions& options);

}  // namespace cadenzo
