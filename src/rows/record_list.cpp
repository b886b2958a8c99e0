// SPDX-License-Identifier: GPL-3.0-or-later
#include "rows/record_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "charset/cp1252.h"

namespace cadenzo {

Row::Row() = default;

namespace {

// Copies a short text with fixed-size moves the compiler writes inline: a row's cells are a few
// bytes each, and a library call per cell would cost more than the copy.
char* CopyCell(char* out, std::string_view text) {
  const char* in = text.data();
  std::size_t n = text.size();
  for (; n >= 8; n -= 8, in += 8, out += 8) std::memcpy(out, in, 8);
  if ((n & 4) != 0) {
    std::memcpy(out, in, 4);
    in += 4;
    out += 4;
  }
  if ((n & 2) != 0) {
    std::memcpy(out, in, 2);
    in += 2;
    out += 2;
  }
  if ((n & 1) != 0) *out++ = *in;
  return out;
}

}  // namespace

RowCells::Buffer RowCells::NewBuffer(std::size_t size) {
  return std::make_unique_for_overwrite<char[]>(size);  // NOLINT(*-avoid-c-arrays)
}

RowCells::RowCells(const RowCells& other) : end_(other.end_) {
  if (Size() == 0) return;
  text_ = NewBuffer(Size());
  std::memcpy(text_.get(), other.text_.get(), Size());
}

RowCells& RowCells::operator=(const RowCells& other) {
  if (this != &other) *this = RowCells(other);
  return *this;
}

bool RowCells::operator==(const RowCells& other) const {
  return end_ == other.end_ &&
         (Size() == 0 || std::memcmp(text_.get(), other.text_.get(), Size()) == 0);
}

void RowCells::Set(int column, std::string_view text) {
  const auto c = static_cast<std::size_t>(column);
  const std::uint32_t begin = c == 0 ? 0 : end_[c - 1];
  const std::uint32_t oldSize = end_[c] - begin;
  const auto newSize = static_cast<std::uint32_t>(text.size());
  if (newSize == oldSize) {
    if (newSize > 0) std::memmove(text_.get() + begin, text.data(), newSize);
    return;
  }
  // A new buffer is filled before the old one goes, so `text` may be one of this row's texts.
  const std::size_t total = Size() - oldSize + newSize;
  Buffer fresh;
  if (total > 0) {
    fresh = NewBuffer(total);
    char* out = fresh.get();
    if (begin > 0) out = std::copy_n(text_.get(), begin, out);
    if (newSize > 0) out = std::copy_n(text.data(), newSize, out);
    const std::size_t after = Size() - end_[c];
    if (after > 0) std::copy_n(text_.get() + end_[c], after, out);
  }
  text_ = std::move(fresh);
  for (std::size_t k = c; k < end_.size(); ++k) end_[k] = end_[k] - oldSize + newSize;
}

void RowCells::Assign(const std::array<std::string, col::kCount>& texts) {
  std::array<std::string_view, col::kCount> views;
  std::copy(texts.begin(), texts.end(), views.begin());
  Assign(views);
}

void RowCells::Assign(const std::array<std::string_view, col::kCount>& texts) {
  std::uint32_t total = 0;
  for (std::size_t c = 0; c < texts.size(); ++c) {
    total += static_cast<std::uint32_t>(texts[c].size());
    end_[c] = total;
  }
  text_ = total > 0 ? NewBuffer(total) : nullptr;
  char* out = text_.get();
  for (const std::string_view t : texts) out = CopyCell(out, t);
}

Row& RecordList::Add(Row row) { return rows_.emplace_back(std::move(row)); }

void RecordList::Remove(std::size_t position) {
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

void RecordList::InsertAt(std::vector<std::pair<std::size_t, Row>> placed) {
  if (placed.empty()) return;
  std::vector<Row> merged;
  merged.reserve(rows_.size() + placed.size());
  auto next = placed.begin();
  for (Row& row : rows_) {
    while (next != placed.end() && next->first <= merged.size()) {
      merged.push_back(std::move(next->second));
      ++next;
    }
    merged.push_back(std::move(row));
  }
  for (; next != placed.end(); ++next) merged.push_back(std::move(next->second));
  rows_ = std::move(merged);
}

int RecordList::FindByRecord(std::uint32_t n) const {
  if (n == 0) return -1;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].record == n) return static_cast<int>(i);
  }
  return -1;
}

int RecordList::CheckedCount() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.checked; }));
}

namespace {

// Lower-case folding of every byte, for comparing without building folded copies.
struct FoldTable {
  std::array<unsigned char, 256> lower{};
  FoldTable() {
    for (int i = 0; i < 256; ++i) {
      lower[static_cast<std::size_t>(i)] =
          static_cast<unsigned char>(LowerCp1252(static_cast<char>(i)));
    }
  }
};
const FoldTable kFold;

}  // namespace

int RecordList::CompareTexts(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = kFold.lower[static_cast<unsigned char>(a[i])];
    const unsigned char cb = kFold.lower[static_cast<unsigned char>(b[i])];
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void RecordList::SetSort(int key, bool descending) {
  sortOn_ = true;
  sortKey_ = key;
  descending_ = descending;
  Resort();
}

void RecordList::SetSortKey(int key, bool descending) {
  sortKey_ = key;
  descending_ = descending;
  Resort();
}

void RecordList::SelectOnly(int position) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].selected = static_cast<int>(i) == position;
  }
}

void RecordList::SortPositions(std::vector<std::uint32_t>& positions, int key,
                               bool descending) const {
  // Each text is folded once, into one buffer; comparing two folded keys is then a plain byte
  // comparison (unsigned, shorter first on a common start), which orders as CompareTexts does.
  std::size_t total = 0;
  for (const Row& row : rows_) total += row.Cell(key).size();
  std::string folded(total, '\0');
  std::vector<std::string_view> keys(rows_.size());
  char* out = folded.data();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const std::string_view text = rows_[i].Cell(key);
    for (std::size_t k = 0; k < text.size(); ++k) {
      out[k] = static_cast<char>(kFold.lower[static_cast<unsigned char>(text[k])]);
    }
    keys[i] = std::string_view(out, text.size());
    out += text.size();
  }
  if (descending) {
    std::stable_sort(positions.begin(), positions.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return keys[b] < keys[a]; });
  } else {
    std::stable_sort(positions.begin(), positions.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  }
}

void RecordList::MoveRows(const std::vector<std::uint32_t>& positions) {
  // Rows are large to move: each moves once, and none when they are in place already.
  bool inPlace = true;
  for (std::size_t i = 0; i < positions.size() && inPlace; ++i) inPlace = positions[i] == i;
  if (inPlace) return;
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  for (const std::uint32_t i : positions) sorted.push_back(std::move(rows_[i]));
  rows_ = std::move(sorted);
}

void RecordList::Resort() {
  if (!sortOn_) return;
  const int key = sortKey_;
  const int sign = descending_ ? -1 : 1;
  const auto before = [&](const Row& a, const Row& b) {
    return sign * CompareTexts(a.Cell(key), b.Cell(key)) < 0;
  };
  // Most re-sorts find the list in order already.
  if (std::is_sorted(rows_.begin(), rows_.end(), before)) return;
  std::vector<std::uint32_t> positions(rows_.size());
  std::iota(positions.begin(), positions.end(), 0U);
  SortPositions(positions, key, descending_);
  MoveRows(positions);
}

std::vector<std::uint32_t> RecordList::OrderBy(int key) const {
  std::vector<std::uint32_t> positions(rows_.size());
  std::iota(positions.begin(), positions.end(), 0U);
  if (sortOn_) SortPositions(positions, key, false);
  return positions;
}

std::vector<std::uint32_t> RecordList::RecordOrder() const {
  std::vector<std::uint32_t> positions(rows_.size());
  std::iota(positions.begin(), positions.end(), 0U);
  // Rows are appended in record order and only sorting moves them: most lists are in order.
  const auto byRecord = [&](std::uint32_t a, std::uint32_t b) {
    return rows_[a].record < rows_[b].record;
  };
  if (!std::is_sorted(positions.begin(), positions.end(), byRecord)) {
    std::stable_sort(positions.begin(), positions.end(), byRecord);
  }
  return positions;
}

void RecordList::SetSortKeyAfter(std::vector<std::uint32_t> firstOrder, int key) {
  sortKey_ = key;
  descending_ = false;
  if (!sortOn_) return;
  // The two sorts leave the rows ordered by the key, and rows of equal keys in the first order.
  // After an earlier pass the rows are in that order already: one look along them tells.
  std::vector<std::uint32_t> rank(rows_.size());
  for (std::size_t i = 0; i < firstOrder.size(); ++i)
    rank[firstOrder[i]] = static_cast<std::uint32_t>(i);
  bool inOrder = true;
  for (std::size_t i = 1; i < rows_.size() && inOrder; ++i) {
    const int c = CompareTexts(rows_[i - 1].Cell(key), rows_[i].Cell(key));
    inOrder = c < 0 || (c == 0 && rank[i - 1] < rank[i]);
  }
  if (inOrder) return;
  SortPositions(firstOrder, key, false);
  MoveRows(firstOrder);
}

bool RecordList::ClickColumn(int column) {
  if (sortOn_ && sortKey_ == column) {
    descending_ = !descending_;
    Resort();
    return false;
  }
  SetSort(column, false);
  return true;
}

}  // namespace cadenzo
