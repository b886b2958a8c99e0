#include "list/record_list.h"

#include <algorithm>
#include <charconv>

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

int RecordList::CompareTexts(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(LowerCp1252(a[i]));
    const auto cb = static_cast<unsigned char>(LowerCp1252(b[i]));
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
  if (descending_) {
    std::stable_sort(rows_.begin(), rows_.end(), [key](const Row& a, const Row& b) {
      return CompareTexts(a.Cell(key), b.Cell(key)) > 0;
    });
  } else {
    std::stable_sort(rows_.begin(), rows_.end(), [key](const Row& a, const Row& b) {
      return CompareTexts(a.Cell(key), b.Cell(key)) < 0;
    });
  }
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
