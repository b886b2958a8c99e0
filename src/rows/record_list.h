// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rows/columns.h"

namespace cadenzo {

// The answer to a row command given with no row selected.
inline constexpr const char* kSelectItemFirst = "Please select an item in the list first.";

using Colour = std::uint32_t;  // RGB with red in the low byte
inline constexpr Colour kBlack = 0;
inline constexpr Colour kRed = 255;
inline constexpr Colour kBlue = 16711680;

// The thirteen cell texts of a row, kept back to back in one buffer: a row costs one allocation,
// and copying or moving it copies one block instead of thirteen strings.
class RowCells {
  // Texts of a size known only at run time, with no terminator: an owned array is the buffer.
  using Buffer = std::unique_ptr<char[]>;  // NOLINT(*-avoid-c-arrays)

 public:
  RowCells() = default;
  RowCells(const RowCells& other);
  RowCells& operator=(const RowCells& other);
  RowCells(RowCells&&) noexcept = default;
  RowCells& operator=(RowCells&&) noexcept = default;
  ~RowCells() = default;

  std::string_view operator[](int column) const {
    const auto c = static_cast<std::size_t>(column);
    const std::uint32_t begin = c == 0 ? 0 : end_[c - 1];
    return {text_.get() + begin, end_[c] - begin};
  }
  void Set(int column, std::string_view text);
  // Replaces every text at once, in column order.
  void Assign(const std::array<std::string_view, col::kCount>& texts);
  void Assign(const std::array<std::string, col::kCount>& texts);
  // The bytes the texts take, for accounting.
  std::size_t Bytes() const { return Size() + sizeof(*this); }

  bool operator==(const RowCells& other) const;

 private:
  std::size_t Size() const { return end_.back(); }

  static Buffer NewBuffer(std::size_t size);

  Buffer text_;                                   // the texts, no terminator; null when all empty
  std::array<std::uint32_t, col::kCount> end_{};  // where each text ends in text_
};

// One row of the record list: the thirteen cell texts, the check box, the colour of the
// "Style or File" cell, the selection mark, the record the row stands for and its deletion mark.
struct Row {
  // Defined out of line, so that a new row in the list is not zero-filled before its members are
  // constructed.
  Row();

  RowCells cells;
  bool checked = false;
  Colour styleColor = kBlack;
  bool selected = false;
  // The record the row was read from or added as: its position in the file image, counted from 1
  // (0: none). The Number text is only a label; a file may number its records in any way.
  std::uint32_t record = 0;
  // Deleted rows stay in the list until the file is saved without them; a genre that reads
  // "deleted" is an ordinary genre.
  bool deleted = false;

  std::string_view Cell(int column) const { return cells[column]; }
  void SetCell(int column, std::string_view text) { cells.Set(column, text); }
};

// The rows of the main list in display order, with the list control's sort state.
class RecordList {
 public:
  std::size_t Size() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  const Row& operator[](std::size_t i) const { return rows_[i]; }
  Row& operator[](std::size_t i) { return rows_[i]; }
  auto begin() { return rows_.begin(); }
  auto end() { return rows_.end(); }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

  void Clear() { rows_.clear(); }
  void Reserve(std::size_t n) { rows_.reserve(n); }
  // Appends a row. Callers that add many rows while sorting is on call Resort afterwards.
  Row& Add(Row row);
  // Appends an empty row, to be filled in place.
  Row& Add() { return rows_.emplace_back(); }
  void Remove(std::size_t position);
  // Removes every row for which pred(row) holds, keeping the order of the others.
  template <typename Pred>
  void RemoveIf(Pred pred) {
    std::erase_if(rows_, pred);
  }
  // Puts rows in at the given positions: ascending, each the position the row has once all are
  // in (positions past the end append).
  void InsertAt(std::vector<std::pair<std::size_t, Row>> placed);

  // Position of the row that stands for record n (counted from 1), or -1.
  int FindByRecord(std::uint32_t n) const;
  int CheckedCount() const;

  // Sort state as the list control keeps it.
  bool SortOn() const { return sortOn_; }
  int SortKey() const { return sortKey_; }
  bool SortDescending() const { return descending_; }
  // Turns sorting on with the given key and order and sorts.
  void SetSort(int key, bool descending = false);
  // Sets the key and order without turning sorting on; re-sorts when sorting is on.
  void SetSortKey(int key, bool descending);
  // Marks one row selected and every other row not (position -1: none).
  void SelectOnly(int position);
  // Sorts by the current state if sorting is on.
  void Resort();
  // The positions of the rows in the order an ascending sort by `key` would show them, without
  // moving a row; every position in turn when sorting is off.
  std::vector<std::uint32_t> OrderBy(int key) const;
  // The positions of the rows in the order of their records in the file.
  std::vector<std::uint32_t> RecordOrder() const;
  // Leaves the list as SetSortKey(first) and then SetSortKey(key) (both ascending) would, given
  // `firstOrder` = OrderBy(first) (or RecordOrder()) of the rows as they are: the rows move at
  // most once, and not at all when they are in that order already.
  void SetSortKeyAfter(std::vector<std::uint32_t> firstOrder, int key);
  // A click on a column header: same column reverses the order; another starts ascending.
  // Returns true when a new column became the key (the caller stores it in SortColumn).
  bool ClickColumn(int column);

  // The list control's text ordering: case-insensitive, empty texts first.
  static int CompareTexts(std::string_view a, std::string_view b);

 private:
  // Sorts positions stably by the key in the given order; moves the rows to match them.
  void SortPositions(std::vector<std::uint32_t>& positions, int key, bool descending) const;
  void MoveRows(const std::vector<std::uint32_t>& positions);

  std::vector<Row> rows_;
  bool sortOn_ = false;
  int sortKey_ = 0;
  bool descending_ = false;
};

}  // namespace cadenzo
