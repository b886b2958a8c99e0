// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "rows/record_list.h"

namespace cadenzo {

struct Document;

// The undo and redo of the commands that change records or rows. A step keeps only what its
// command changed: the 92-byte blocks of the file image that differ, the cells, colour and
// deletion mark of the rows that differ, and the rows added or removed. Check marks, the selection
// and the sort order are not part of a step.
class UndoHistory {
 public:
  // The history is bounded by the bytes its steps keep; the oldest steps are dropped first, and
  // the newest is always kept.
  static constexpr std::size_t kByteCap = std::size_t{64} << 20;

  // What a command may change, taken before it runs. The rows' texts are kept one after another
  // in one buffer, so that taking them costs a copy of their bytes rather than a string a cell.
  struct Snapshot {
    struct RowMark {
      std::uint32_t record = 0;
      Colour styleColor = kBlack;
      bool deleted = false;
    };
    std::vector<std::uint8_t> bytes;
    std::vector<RowMark> rows;
    std::string text;               // every cell of every row, in order
    std::vector<std::size_t> ends;  // where each cell ends in `text`, col::kCount a row
    std::vector<std::string> genres;
    bool fileSaved = true;

    std::string_view Cell(std::size_t row, int column) const;
  };
  static Snapshot Capture(const Document& doc);

  // Stores what changed between `before` and the document as a step named `name` (the command, as
  // the Edit menu shows it: "Undo " + name). Nothing is stored when nothing changed. A new step
  // ends the redo. Returns whether a step was stored.
  bool Record(std::string name, const Snapshot& before, const Document& after);

  bool CanUndo() const { return next_ > 0; }
  bool CanRedo() const { return next_ < steps_.size(); }
  // The command the next Undo / Redo takes back or does again; empty when there is none.
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  // Take the last step back / do the last undone step again. Return false when there is none.
  bool Undo(Document& doc);
  bool Redo(Document& doc);

  void Clear();
  std::size_t StepCount() const { return steps_.size(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  // A step keeps its bytes in `data` and its texts in `text`; the entries below point into them.
  struct Block {
    std::size_t offset = 0;  // in the file image
    std::size_t at = 0;      // in data: the bytes before, then the bytes after
    std::size_t beforeSize = 0, afterSize = 0;
  };
  struct CellChange {
    int column = 0;
    std::size_t at = 0;  // in text: the text before, then the text after
    std::size_t beforeSize = 0, afterSize = 0;
  };
  struct RowChange {
    std::uint32_t record = 0;
    std::size_t firstCell = 0, cellCount = 0;  // in cells
    Colour colorBefore = kBlack, colorAfter = kBlack;
    bool deletedBefore = false, deletedAfter = false;
  };
  struct PlacedRow {
    std::size_t position = 0;
    Snapshot::RowMark mark;
    std::size_t at = 0;  // in text: the cells one after another
    std::array<std::size_t, col::kCount> sizes{};
  };
  struct Step {
    std::string name;
    std::size_t sizeBefore = 0, sizeAfter = 0;
    std::vector<std::uint8_t> data;
    std::string text;
    std::vector<Block> blocks;
    std::vector<CellChange> cells;
    std::vector<RowChange> rows;
    std::vector<PlacedRow> removed;  // rows the command took out of the list, where they stood
    std::vector<PlacedRow> added;    // rows the command put in, where they stand after it
    std::vector<std::string> genresBefore, genresAfter;
    bool genresChanged = false;
    bool savedBefore = true, savedAfter = true;
    std::size_t bytes = 0;
  };

  static void Apply(const Step& step, Document& doc, bool forward);
  static std::size_t Weigh(const Step& step);
  void Trim();

  std::deque<Step> steps_;
  std::size_t next_ = 0;  // steps before this one are done; from it on they are undone
  std::size_t bytes_ = 0;
};

}  // namespace cadenzo
