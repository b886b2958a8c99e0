// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/undo_history.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <utility>

#include "app/document.h"

namespace cadenzo {

namespace {

// The blocks a file image is compared in: the header, then one block a record.
constexpr std::size_t kHeaderBlock = 38;
constexpr std::size_t kRecordBlock = 92;

// The one place a step writes a cell back.
void SetCellText(Row& row, int column, std::string_view text) { row.SetCell(column, text); }

// Position of each row by its record. Rows that share a record, or have none, cannot be matched:
// Unique() is then false and the caller compares the lists whole. Records are positions in the
// file image, so a table indexed by them is small; far larger numbers go to a hash map.
class RecordIndex {
 public:
  template <typename RecordAt>
  RecordIndex(std::size_t count, RecordAt recordAt) {
    std::uint32_t highest = 0;
    for (std::size_t i = 0; i < count; ++i) highest = std::max(highest, recordAt(i));
    dense_ = highest <= 4 * count + 65536;
    if (dense_) {
      table_.assign(std::size_t{highest} + 1, kNone);
    } else {
      map_.reserve(count);
    }
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t record = recordAt(i);
      if (record == 0 || Find(record) != kNone) {
        unique_ = false;
        return;
      }
      if (dense_) {
        table_[record] = i;
      } else {
        map_.emplace(record, i);
      }
    }
  }

  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  bool Unique() const { return unique_; }
  // The position of the row of this record, or kNone; always kNone unless Unique().
  std::size_t Find(std::uint32_t record) const {
    if (dense_) return record < table_.size() && unique_ ? table_[record] : kNone;
    if (!unique_) return kNone;
    const auto found = map_.find(record);
    return found == map_.end() ? kNone : found->second;
  }

 private:
  bool unique_ = true;
  bool dense_ = true;
  std::vector<std::size_t> table_;
  std::unordered_map<std::uint32_t, std::size_t> map_;
};

}  // namespace

std::string_view UndoHistory::Snapshot::Cell(std::size_t row, int column) const {
  const std::size_t k = row * col::kCount + static_cast<std::size_t>(column);
  const std::size_t start = k == 0 ? 0 : ends[k - 1];
  return std::string_view(text).substr(start, ends[k] - start);
}

UndoHistory::Snapshot UndoHistory::Capture(const Document& doc) {
  Snapshot s;
  s.bytes = doc.FileBytes;
  std::size_t total = 0;
  for (const Row& row : doc.List) {
    for (int c = 0; c < col::kCount; ++c) total += row.Cell(c).size();
  }
  s.text.reserve(total);
  s.rows.reserve(doc.List.Size());
  s.ends.reserve(doc.List.Size() * col::kCount);
  for (const Row& row : doc.List) {
    s.rows.push_back({.record = row.record, .styleColor = row.styleColor, .deleted = row.deleted});
    for (int c = 0; c < col::kCount; ++c) {
      s.text.append(row.Cell(c));
      s.ends.push_back(s.text.size());
    }
  }
  s.genres = doc.GenreList;
  s.fileSaved = doc.FileSaved;
  return s;
}

bool UndoHistory::Record(std::string name, const Snapshot& before, const Document& after) {
  Step step;
  step.name = std::move(name);

  // The file image, block by block over the length both share, and the tail of the longer one.
  const std::vector<std::uint8_t>& a = before.bytes;
  const std::vector<std::uint8_t>& b = after.FileBytes;
  step.sizeBefore = a.size();
  step.sizeAfter = b.size();
  const auto keepBlock = [&](std::size_t offset, std::size_t aEnd, std::size_t bEnd) {
    step.blocks.push_back(Block{.offset = offset,
                                .at = step.data.size(),
                                .beforeSize = aEnd - offset,
                                .afterSize = bEnd - offset});
    step.data.insert(step.data.end(), a.begin() + static_cast<std::ptrdiff_t>(offset),
                     a.begin() + static_cast<std::ptrdiff_t>(aEnd));
    step.data.insert(step.data.end(), b.begin() + static_cast<std::ptrdiff_t>(offset),
                     b.begin() + static_cast<std::ptrdiff_t>(bEnd));
  };
  const std::size_t shared = std::min(a.size(), b.size());
  for (std::size_t from = 0; from < shared;) {
    const std::size_t to = std::min(from == 0 ? kHeaderBlock : from + kRecordBlock, shared);
    if (std::memcmp(a.data() + from, b.data() + from, to - from) != 0) keepBlock(from, to, to);
    from = to;
  }
  if (a.size() != b.size()) keepBlock(shared, a.size(), b.size());

  // The rows, matched by their records.
  const auto placeBefore = [&](std::size_t i) {
    PlacedRow placed{.position = i, .mark = before.rows[i], .at = step.text.size()};
    for (int c = 0; c < col::kCount; ++c) {
      const std::string_view cell = before.Cell(i, c);
      placed.sizes[static_cast<std::size_t>(c)] = cell.size();
      step.text.append(cell);
    }
    step.removed.push_back(placed);
  };
  const auto placeAfter = [&](std::size_t i) {
    const Row& row = after.List[i];
    PlacedRow placed{
        .position = i,
        .mark = {.record = row.record, .styleColor = row.styleColor, .deleted = row.deleted},
        .at = step.text.size()};
    for (int c = 0; c < col::kCount; ++c) {
      const std::string_view cell = row.Cell(c);
      placed.sizes[static_cast<std::size_t>(c)] = cell.size();
      step.text.append(cell);
    }
    step.added.push_back(placed);
  };
  const std::size_t beforeCount = before.rows.size();
  const std::size_t afterCount = after.List.Size();
  const RecordIndex beforeIndex(beforeCount, [&](std::size_t i) { return before.rows[i].record; });
  const RecordIndex afterIndex(afterCount, [&](std::size_t i) { return after.List[i].record; });
  const bool matched =
      (beforeIndex.Unique() || beforeCount == 0) && (afterIndex.Unique() || afterCount == 0);
  if (!matched) {
    // Rows without a record of their own cannot be matched: the step replaces the list whole.
    for (std::size_t i = 0; i < beforeCount; ++i) placeBefore(i);
    for (std::size_t i = 0; i < afterCount; ++i) placeAfter(i);
  } else {
    for (std::size_t i = 0; i < beforeCount; ++i) {
      const Snapshot::RowMark& old = before.rows[i];
      const std::size_t found = afterIndex.Find(old.record);
      if (found == RecordIndex::kNone) {
        placeBefore(i);
        continue;
      }
      const Row& now = after.List[found];
      RowChange change{.record = old.record,
                       .firstCell = step.cells.size(),
                       .colorBefore = old.styleColor,
                       .colorAfter = now.styleColor,
                       .deletedBefore = old.deleted,
                       .deletedAfter = now.deleted};
      for (int c = 0; c < col::kCount; ++c) {
        const std::string_view was = before.Cell(i, c);
        const std::string_view is = now.Cell(c);
        if (was == is) continue;
        step.cells.push_back(CellChange{
            .column = c, .at = step.text.size(), .beforeSize = was.size(), .afterSize = is.size()});
        step.text.append(was);
        step.text.append(is);
      }
      change.cellCount = step.cells.size() - change.firstCell;
      if (change.cellCount > 0 || change.colorBefore != change.colorAfter ||
          change.deletedBefore != change.deletedAfter) {
        step.rows.push_back(change);
      }
    }
    for (std::size_t i = 0; i < afterCount; ++i) {
      if (beforeIndex.Find(after.List[i].record) == RecordIndex::kNone) placeAfter(i);
    }
  }

  step.genresChanged = before.genres != after.GenreList;
  if (step.genresChanged) {
    step.genresBefore = before.genres;
    step.genresAfter = after.GenreList;
  }
  step.savedBefore = before.fileSaved;
  step.savedAfter = after.FileSaved;

  if (step.blocks.empty() && step.rows.empty() && step.removed.empty() && step.added.empty() &&
      !step.genresChanged) {
    return false;
  }
  step.data.shrink_to_fit();
  step.text.shrink_to_fit();
  step.bytes = Weigh(step);
  // A new step ends the redo.
  while (steps_.size() > next_) {
    bytes_ -= steps_.back().bytes;
    steps_.pop_back();
  }
  bytes_ += step.bytes;
  steps_.push_back(std::move(step));
  next_ = steps_.size();
  Trim();
  return true;
}

const std::string& UndoHistory::UndoName() const {
  static const std::string none;
  return CanUndo() ? steps_[next_ - 1].name : none;
}

const std::string& UndoHistory::RedoName() const {
  static const std::string none;
  return CanRedo() ? steps_[next_].name : none;
}

bool UndoHistory::Undo(Document& doc) {
  if (!CanUndo()) return false;
  --next_;
  Apply(steps_[next_], doc, false);
  return true;
}

bool UndoHistory::Redo(Document& doc) {
  if (!CanRedo()) return false;
  Apply(steps_[next_], doc, true);
  ++next_;
  return true;
}

void UndoHistory::Clear() {
  steps_.clear();
  next_ = 0;
  bytes_ = 0;
}

void UndoHistory::Apply(const Step& step, Document& doc, bool forward) {
  // The file image.
  doc.FileBytes.resize(forward ? step.sizeAfter : step.sizeBefore);
  for (const Block& block : step.blocks) {
    const std::size_t from = block.at + (forward ? block.beforeSize : 0);
    const std::size_t size = forward ? block.afterSize : block.beforeSize;
    std::copy_n(step.data.begin() + static_cast<std::ptrdiff_t>(from), size,
                doc.FileBytes.begin() + static_cast<std::ptrdiff_t>(block.offset));
  }

  // The rows: out go the ones the other side lacks, the changed ones take their other texts, in
  // come the ones the other side had, where they stood.
  const std::string_view text = step.text;
  const std::vector<PlacedRow>& goOut = forward ? step.removed : step.added;
  const std::vector<PlacedRow>& comeIn = forward ? step.added : step.removed;
  if (!goOut.empty()) {
    std::unordered_map<std::uint32_t, int> out;
    for (const PlacedRow& p : goOut) ++out[p.mark.record];
    doc.List.RemoveIf([&](const Row& row) {
      const auto found = out.find(row.record);
      if (found == out.end() || found->second == 0) return false;
      --found->second;
      return true;
    });
  }
  if (!step.rows.empty()) {
    const RecordIndex index(doc.List.Size(), [&](std::size_t i) { return doc.List[i].record; });
    for (const RowChange& change : step.rows) {
      const std::size_t found = index.Find(change.record);
      if (found == RecordIndex::kNone) continue;
      Row& row = doc.List[found];
      for (std::size_t k = change.firstCell; k < change.firstCell + change.cellCount; ++k) {
        const CellChange& cell = step.cells[k];
        SetCellText(row, cell.column,
                    forward ? text.substr(cell.at + cell.beforeSize, cell.afterSize)
                            : text.substr(cell.at, cell.beforeSize));
      }
      row.styleColor = forward ? change.colorAfter : change.colorBefore;
      row.deleted = forward ? change.deletedAfter : change.deletedBefore;
    }
  }
  if (!comeIn.empty()) {
    std::vector<std::pair<std::size_t, Row>> placed;
    placed.reserve(comeIn.size());
    for (const PlacedRow& p : comeIn) {
      Row row;
      row.record = p.mark.record;
      row.styleColor = p.mark.styleColor;
      row.deleted = p.mark.deleted;
      std::size_t at = p.at;
      std::array<std::string_view, col::kCount> cells;
      for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c] = text.substr(at, p.sizes[c]);
        at += p.sizes[c];
      }
      row.cells.Assign(cells);
      placed.emplace_back(p.position, std::move(row));
    }
    doc.List.InsertAt(std::move(placed));
  }
  doc.List.Resort();

  if (step.genresChanged) doc.GenreList = forward ? step.genresAfter : step.genresBefore;
  doc.FileSaved = forward ? step.savedAfter : step.savedBefore;
}

std::size_t UndoHistory::Weigh(const Step& step) {
  std::size_t n = sizeof(Step) + step.name.capacity() + step.data.capacity() +
                  step.text.capacity() + step.blocks.capacity() * sizeof(Block) +
                  step.cells.capacity() * sizeof(CellChange) +
                  step.rows.capacity() * sizeof(RowChange) +
                  (step.removed.capacity() + step.added.capacity()) * sizeof(PlacedRow);
  for (const std::string& g : step.genresBefore) n += sizeof(std::string) + g.capacity();
  for (const std::string& g : step.genresAfter) n += sizeof(std::string) + g.capacity();
  return n;
}

void UndoHistory::Trim() {
  while (bytes_ > kByteCap && steps_.size() > 1) {
    bytes_ -= steps_.front().bytes;
    steps_.pop_front();
    if (next_ > 0) --next_;
  }
}

}  // namespace cadenzo
