#include "list/record_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "textio/cp1252.h"

namespace cadenzo {

int Row::RecordNumber() const {
  const std::string_view text = TrimBlanks(Cell(col::kNumber));
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() ? value : 0;
}

Row& RecordList::Add(Row row) { return rows_.emplace_back(std::move(row)); }

void RecordList::Remove(std::size_t position) {
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

int RecordList::FindByNumber(int n) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].RecordNumber() == n) return static_cast<int>(i);
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

void RecordList::Resort() {
  if (!sortOn_) return;
  const int key = sortKey_;
  const int sign = descending_ ? -1 : 1;
  const auto before = [&](const Row& a, const Row& b) {
    return sign * CompareTexts(a.Cell(key), b.Cell(key)) < 0;
  };
  // Most re-sorts find the list in order already (the processing pass sorts by Number twice).
  if (std::is_sorted(rows_.begin(), rows_.end(), before)) return;
  // Sort positions, then move each row once: rows are large to move.
  std::vector<std::uint32_t> order(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return before(rows_[a], rows_[b]); });
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  for (const std::uint32_t i : order) sorted.push_back(std::move(rows_[i]));
  rows_ = std::move(sorted);
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
