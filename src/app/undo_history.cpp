// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/undo_history.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "app/document.h"

namespace cadenzo {

namespace {

// The blocks a file image is compared in: the header, then one block a record.
constexpr std::size_t kHeaderBlock = 38;
constexpr std::size_t kRecordBlock = 92;

using RowText = UndoHistory::Snapshot::RowText;

RowText TextOf(const Row& row) {
  return RowText{.record = row.record,
                 .cells = row.cells,
                 .styleColor = row.styleColor,
                 .deleted = row.deleted};
}

Row RowOf(const RowText& text) {
  Row row;
  row.record = text.record;
  row.cells = text.cells;
  row.styleColor = text.styleColor;
  row.deleted = text.deleted;
  return row;
}

// Position of each row by its record; empty when two rows share a record or one has none, and
// the caller then compares the lists whole.
template <typename Rows>
std::unordered_map<std::uint32_t, std::size_t> IndexByRecord(const Rows& rows, std::size_t count) {
  std::unordered_map<std::uint32_t, std::size_t> index;
  index.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t record = rows[i].record;
    if (record == 0 || !index.emplace(record, i).second) return {};
  }
  return index;
}

std::size_t TextBytes(const std::string& s) { return sizeof(std::string) + s.capacity(); }

std::size_t RowBytes(const RowText& row) {
  return sizeof(RowText) - sizeof(RowCells) + row.cells.Bytes();
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from,
                                std::size_t to) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
          bytes.begin() + static_cast<std::ptrdiff_t>(to)};
}

}  // namespace

UndoHistory::Snapshot UndoHistory::Capture(const Document& doc) {
  Snapshot s;
  s.bytes = doc.FileBytes;
  s.rows.reserve(doc.List.Size());
  for (const Row& row : doc.List) s.rows.push_back(TextOf(row));
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
  const std::size_t shared = std::min(a.size(), b.size());
  for (std::size_t from = 0; from < shared;) {
    const std::size_t to = std::min(from == 0 ? kHeaderBlock : from + kRecordBlock, shared);
    if (std::memcmp(a.data() + from, b.data() + from, to - from) != 0) {
      step.blocks.push_back(
          Block{.offset = from, .before = Slice(a, from, to), .after = Slice(b, from, to)});
    }
    from = to;
  }
  if (a.size() != b.size()) {
    step.blocks.push_back(Block{.offset = shared,
                                .before = Slice(a, shared, a.size()),
                                .after = Slice(b, shared, b.size())});
  }

  // The rows, matched by their records.
  const auto beforeIndex = IndexByRecord(before.rows, before.rows.size());
  const auto afterIndex = IndexByRecord(after.List, after.List.Size());
  const bool matched = (beforeIndex.size() == before.rows.size() || before.rows.empty()) &&
                       (afterIndex.size() == after.List.Size() || after.List.Empty());
  if (!matched) {
    // Rows without a record of their own cannot be matched: the step replaces the list whole.
    for (std::size_t i = 0; i < before.rows.size(); ++i)
      step.removed.push_back({i, before.rows[i]});
    for (std::size_t i = 0; i < after.List.Size(); ++i)
      step.added.push_back({i, TextOf(after.List[i])});
  } else {
    for (std::size_t i = 0; i < before.rows.size(); ++i) {
      const RowText& old = before.rows[i];
      const auto found = afterIndex.find(old.record);
      if (found == afterIndex.end()) {
        step.removed.push_back({i, old});
        continue;
      }
      const Row& now = after.List[found->second];
      RowChange change{.record = old.record,
                       .colorBefore = old.styleColor,
                       .colorAfter = now.styleColor,
                       .deletedBefore = old.deleted,
                       .deletedAfter = now.deleted};
      for (int c = 0; c < col::kCount; ++c) {
        const std::string_view was = old.cells[c];
        if (was != now.Cell(c))
          change.cells.push_back({c, std::string(was), std::string(now.Cell(c))});
      }
      if (!change.cells.empty() || change.colorBefore != change.colorAfter ||
          change.deletedBefore != change.deletedAfter) {
        step.rows.push_back(std::move(change));
      }
    }
    for (std::size_t i = 0; i < after.List.Size(); ++i) {
      if (!beforeIndex.contains(after.List[i].record))
        step.added.push_back({i, TextOf(after.List[i])});
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
    const std::vector<std::uint8_t>& data = forward ? block.after : block.before;
    std::copy(data.begin(), data.end(),
              doc.FileBytes.begin() + static_cast<std::ptrdiff_t>(block.offset));
  }

  // The rows: out go the ones the other side lacks, the changed ones take their other texts, in
  // come the ones the other side had, where they stood.
  const std::vector<PlacedRow>& goOut = forward ? step.removed : step.added;
  const std::vector<PlacedRow>& comeIn = forward ? step.added : step.removed;
  if (!goOut.empty()) {
    std::unordered_map<std::uint32_t, int> out;
    for (const PlacedRow& p : goOut) ++out[p.row.record];
    doc.List.RemoveIf([&](const Row& row) {
      const auto found = out.find(row.record);
      if (found == out.end() || found->second == 0) return false;
      --found->second;
      return true;
    });
  }
  if (!step.rows.empty()) {
    const auto index = IndexByRecord(doc.List, doc.List.Size());
    for (const RowChange& change : step.rows) {
      const auto found = index.find(change.record);
      if (found == index.end()) continue;
      Row& row = doc.List[found->second];
      for (const CellChange& cell : change.cells)
        row.SetCell(cell.column, forward ? cell.after : cell.before);
      row.styleColor = forward ? change.colorAfter : change.colorBefore;
      row.deleted = forward ? change.deletedAfter : change.deletedBefore;
    }
  }
  if (!comeIn.empty()) {
    std::vector<std::pair<std::size_t, Row>> placed;
    placed.reserve(comeIn.size());
    for (const PlacedRow& p : comeIn) placed.emplace_back(p.position, RowOf(p.row));
    doc.List.InsertAt(std::move(placed));
  }
  doc.List.Resort();

  if (step.genresChanged) doc.GenreList = forward ? step.genresAfter : step.genresBefore;
  doc.FileSaved = forward ? step.savedAfter : step.savedBefore;
}

std::size_t UndoHistory::Weigh(const Step& step) {
  std::size_t n = sizeof(Step) + TextBytes(step.name);
  for (const Block& b : step.blocks) n += sizeof(Block) + b.before.capacity() + b.after.capacity();
  for (const RowChange& r : step.rows) {
    n += sizeof(RowChange);
    for (const CellChange& c : r.cells)
      n += sizeof(CellChange) + c.before.capacity() + c.after.capacity();
  }
  for (const PlacedRow& p : step.removed) n += sizeof(PlacedRow) + RowBytes(p.row);
  for (const PlacedRow& p : step.added) n += sizeof(PlacedRow) + RowBytes(p.row);
  for (const std::string& g : step.genresBefore) n += TextBytes(g);
  for (const std::string& g : step.genresAfter) n += TextBytes(g);
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
