// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "app/document.h"
#include "app/outcome.h"
#include "rows/record_list.h"

namespace cadenzo {

enum class PlayListLayout { kDefault, kSongGenre };
enum class ColumnAlignment { kLeft, kCentre, kRight };

// A column of the play list: header text, initial width in twips, alignment.
struct PlayListColumn {
  std::string_view header;
  int width = 0;
  ColumnAlignment alignment = ColumnAlignment::kLeft;
};

// Column indices of the play list. Number and CdzIndex lead both layouts.
namespace plcol {
inline constexpr int kNumber = 0;
inline constexpr int kCdzIndex = 1;
// Default layout.
inline constexpr int kMusic = 2;
inline constexpr int kStyle = 3;
inline constexpr int kTimeSig = 4;
inline constexpr int kTempo = 5;
inline constexpr int kComments = 6;
// Song-Genre layout.
inline constexpr int kSgGenre = 2;
inline constexpr int kSgMusic = 3;
inline constexpr int kSgStyle = 4;
}  // namespace plcol

const std::vector<PlayListColumn>& PlayListColumns(PlayListLayout layout);

// One play-list row: the cell texts of the current layout.
struct PlayListRow {
  std::vector<std::string> cells;

  const std::string& Cell(int column) const { return cells.at(static_cast<std::size_t>(column)); }
  // The play position: the whole-number value of the Number text.
  int Number() const;
  // The record number of the main row the song was taken from.
  int CdzIndex() const;
};

// A main row deleted since the file was read: its Genre cell holds the deletion marker.
bool IsDeletedRow(const Row& row);

// The whole-number value of a typed answer: leading blanks, a sign and digits; anything else
// ends the number, and an answer without digits counts as 0.
long long WholeNumberValue(std::string_view text);

// The play list of the frmPlayList window: an ordered selection of songs taken from the checked
// rows of the main list, with its own sort state and selection.
class PlayList {
 public:
  PlayListLayout Layout() const { return layout_; }
  const std::vector<PlayListColumn>& Columns() const { return PlayListColumns(layout_); }
  int ColumnCount() const { return static_cast<int>(Columns().size()); }

  std::size_t Size() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  const PlayListRow& operator[](std::size_t i) const { return rows_.at(i); }
  const std::vector<PlayListRow>& Rows() const { return rows_; }

  // Rows added since the last rebuild; the next row gets PlayListCount + 1 as its Number.
  int PlayListCount() const { return count_; }
  // Number value of the row last clicked (or selected by a command).
  int PlayListSelected() const { return selected_; }
  // Display index of the highlighted row, if any.
  std::optional<std::size_t> SelectedIndex() const;

  bool SortOn() const { return sortOn_; }
  int SortKey() const { return sortKey_; }
  bool SortDescending() const { return descending_; }

  // Appends every checked main row that is not deleted, in the main list's display order, whose
  // Music and Style are not in the play list yet; then selects the first row. Throws on more rows
  // than a position can count.
  void AppendChecked(const RecordList& main);
  // Switches the layout: empties the list and rebuilds it from the checked main rows, numbered
  // from 1 in main-list order. Choosing the current layout changes nothing (returns false).
  bool ChooseLayout(PlayListLayout layout, const RecordList& main);
  // A click on a column header: the same column reverses the order, another sorts ascending.
  void ClickColumn(int column);
  // A click on a row: it becomes the selected row.
  void ClickRow(std::size_t index);

  // The row the position and comment commands act on: the row whose Number value is
  // PlayListSelected, which is the row the user clicked also when the list is sorted otherwise.
  std::optional<std::size_t> AddressedRow() const;
  // Moves the row at index to newPosition (1 to Size()), renumbering the rows between, and shows
  // the list in position order with the first row selected.
  void MoveRow(std::size_t index, int newPosition);
  // Sets the comment of the row at index and selects the first row. Throws in the Song-Genre
  // layout, which has no Comments column.
  void SetComment(std::size_t index, std::string comment);

 private:
  void AddFromMain(const Row& main);
  void Resort();
  void SelectFirst();

  PlayListLayout layout_ = PlayListLayout::kDefault;
  std::vector<PlayListRow> rows_;
  int count_ = 0;
  int selected_ = 0;
  std::optional<std::size_t> selectedIndex_;
  bool sortOn_ = false;
  int sortKey_ = 0;
  bool descending_ = false;
};

// Opening the play list (cmdPlayList, "&Add to Play List", the search window's "Open in
// PlayList"): scans the main rows for a checked one, leaves cmdPlayList enabled only if there is
// one, and shows the message when none is checked. True: the window may open. Errors are
// reported with "Playlist".
Result<bool> PreparePlayList(Document& state);

// The window's events, each reporting its errors under its own name.
Outcome FillPlayList(PlayList& list, const RecordList& main);
Outcome ChoosePlayListLayout(PlayList& list, PlayListLayout layout, const RecordList& main);
Outcome SortPlayList(PlayList& list, int column);
// "Change Position in List".
Outcome ChangePlayListPosition(PlayList& list, Dialogs& dialogs);
// "Enter Comments"; nothing in the Song-Genre layout, which has no Comments column.
Outcome EnterPlayListComment(PlayList& list, Dialogs& dialogs);

}  // namespace cadenzo
