// SPDX-License-Identifier: GPL-3.0-or-later
#include "playlist/play_list.h"

#include <algorithm>
#include <limits>

#include "app/outcome.h"
#include "app/runtime_error.h"
#include "mfd/record.h"

namespace cadenzo {
namespace {

// Play positions and the count are 16-bit in the window's state.
constexpr int kMaxPosition = std::numeric_limits<std::int16_t>::max();

int NumberValue(const std::string& text) {
  const long long v = WholeNumberValue(text);
  return v > kMaxPosition ? kMaxPosition : static_cast<int>(std::max(v, 0LL));
}

}  // namespace

bool IsDeletedRow(const Row& row) { return row.deleted; }

namespace {}  // namespace

const std::vector<PlayListColumn>& PlayListColumns(PlayListLayout layout) {
  static const std::vector<PlayListColumn> kDefault = {
      {"Number", 2000},
      {"CdzIndex", 1000},
      {"Music", 2000},
      {"Style", 2000},
      {"TimeSig", 2000, ColumnAlignment::kCentre},
      {"Tempo", 2000, ColumnAlignment::kCentre},
      {"Comments", 4000},
  };
  static const std::vector<PlayListColumn> kSongGenre = {
      {"Number", 2000}, {"CdzIndex", 1000}, {"Genre", 2000}, {"Music", 2000}, {"Style", 2000},
  };
  return layout == PlayListLayout::kDefault ? kDefault : kSongGenre;
}

int PlayListRow::Number() const { return NumberValue(Cell(plcol::kNumber)); }
int PlayListRow::CdzIndex() const { return NumberValue(Cell(plcol::kCdzIndex)); }

long long WholeNumberValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  constexpr long long kLimit = 1'000'000'000'000LL;  // far beyond any position; no overflow
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::optional<std::size_t> PlayList::SelectedIndex() const {
  if (selectedIndex_ && *selectedIndex_ < rows_.size()) return selectedIndex_;
  return std::nullopt;
}

void PlayList::AddFromMain(const Row& main) {
  PlayListRow row;
  row.cells.resize(Columns().size());
  row.cells[plcol::kCdzIndex] = std::to_string(main.record);
  if (layout_ == PlayListLayout::kDefault) {
    row.cells[plcol::kMusic] = main.Cell(col::kMusic);
    row.cells[plcol::kStyle] = main.Cell(col::kStyle);
    row.cells[plcol::kTimeSig] = main.Cell(col::kTimeSig);
    row.cells[plcol::kTempo] = main.Cell(col::kTempo);
    row.cells[plcol::kComments] = " ";
  } else {
    row.cells[plcol::kSgGenre] = main.Cell(col::kGenre);
    row.cells[plcol::kSgMusic] = main.Cell(col::kMusic);
    row.cells[plcol::kSgStyle] = main.Cell(col::kStyle);
  }
  if (count_ >= kMaxPosition) throw RuntimeError(err::kOverflow);
  ++count_;
  row.cells[plcol::kNumber] = NumberText(count_, 5);
  rows_.push_back(std::move(row));
}

void PlayList::AppendChecked(const RecordList& main) {
  const int music = layout_ == PlayListLayout::kDefault ? plcol::kMusic : plcol::kSgMusic;
  const int style = layout_ == PlayListLayout::kDefault ? plcol::kStyle : plcol::kSgStyle;
  bool added = false;
  for (const Row& m : main) {
    // A row deleted since the file was read is no song any more.
    if (!m.checked || IsDeletedRow(m)) continue;
    const bool present = std::any_of(rows_.begin(), rows_.end(), [&](const PlayListRow& p) {
      return p.Cell(music) == m.Cell(col::kMusic) && p.Cell(style) == m.Cell(col::kStyle);
    });
    if (present) continue;
    AddFromMain(m);
    added = true;
  }
  if (added) Resort();
  SelectFirst();
}

bool PlayList::ChooseLayout(PlayListLayout layout, const RecordList& main) {
  if (layout == layout_) return false;
  layout_ = layout;
  rows_.clear();
  count_ = 0;
  if (sortKey_ >= ColumnCount()) {
    sortKey_ = plcol::kNumber;
    descending_ = false;
  }
  AppendChecked(main);
  return true;
}

void PlayList::ClickColumn(int column) {
  if (column < 0 || column >= ColumnCount()) return;
  if (sortOn_ && sortKey_ == column) {
    descending_ = !descending_;
  } else {
    sortOn_ = true;
    sortKey_ = column;
    descending_ = false;
  }
  // The highlighted row stays the same row after the sort.
  const std::optional<std::size_t> before = SelectedIndex();
  const int number = before ? rows_[*before].Number() : 0;
  Resort();
  if (before) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].Number() == number) selectedIndex_ = i;
    }
  }
}

void PlayList::ClickRow(std::size_t index) {
  if (index >= rows_.size()) return;
  selectedIndex_ = index;
  selected_ = rows_[index].Number();
}

std::optional<std::size_t> PlayList::AddressedRow() const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].Number() == selected_) return i;
  }
  return std::nullopt;
}

void PlayList::MoveRow(std::size_t index, int newPosition) {
  if (index >= rows_.size()) throw RuntimeError(err::kListIndexOutOfBounds);
  if (newPosition < 1 || newPosition > static_cast<int>(rows_.size())) {
    throw RuntimeError(err::kInvalidCall);
  }
  const int old = rows_[index].Number();
  for (PlayListRow& row : rows_) {
    const int v = row.Number();
    if (newPosition < old && v >= newPosition && v < old) {
      row.cells[plcol::kNumber] = NumberText(v + 1, 5);
    } else if (newPosition > old && v > old && v <= newPosition) {
      row.cells[plcol::kNumber] = NumberText(v - 1, 5);
    }
  }
  rows_[index].cells[plcol::kNumber] = NumberText(newPosition, 5);
  // Shown in the new play order, whatever column was sorted before.
  sortOn_ = true;
  sortKey_ = plcol::kNumber;
  descending_ = false;
  Resort();
  SelectFirst();
}

void PlayList::SetComment(std::size_t index, std::string comment) {
  if (layout_ != PlayListLayout::kDefault || index >= rows_.size()) {
    throw RuntimeError(err::kListIndexOutOfBounds);
  }
  rows_[index].cells[plcol::kComments] = std::move(comment);
  SelectFirst();
}

void PlayList::Resort() {
  if (!sortOn_) return;
  const auto key = static_cast<std::size_t>(sortKey_);
  const bool descending = descending_;
  std::stable_sort(rows_.begin(), rows_.end(), [&](const PlayListRow& a, const PlayListRow& b) {
    const int c = RecordList::CompareTexts(a.cells[key], b.cells[key]);
    return descending ? c > 0 : c < 0;
  });
}

void PlayList::SelectFirst() {
  if (rows_.empty()) {
    selectedIndex_.reset();
    selected_ = 1;
    return;
  }
  selectedIndex_ = 0;
  selected_ = rows_.front().Number();
}

Result<bool> PreparePlayList(Document& state) {
  Result<bool> open;
  open.outcome = RunGuarded("Playlist", [&](Outcome& outcome) {
    // An empty list or one without a checked row leaves the play list closed.
    const bool anyChecked = state.List.CheckedCount() > 0;
    state.CheckCommands.playListWithoutMarks = anyChecked;
    if (anyChecked) {
      open.value = true;
    } else {
      outcome.Fail(Problem::kRefused, "At least one record must be checked to go to PlayList");
    }
  });
  return open;
}

Outcome FillPlayList(PlayList& list, const RecordList& main) {
  return RunGuarded("FormActivate", [&](Outcome&) { list.AppendChecked(main); });
}

Outcome ChoosePlayListLayout(PlayList& list, PlayListLayout layout, const RecordList& main) {
  return RunGuarded("CreateList", [&](Outcome&) { list.ChooseLayout(layout, main); });
}

Outcome SortPlayList(PlayList& list, int column) {
  return RunGuarded("Column sort", [&](Outcome&) { list.ClickColumn(column); });
}

Outcome ChangePlayListPosition(PlayList& list, Dialogs& dialogs) {
  return RunGuarded("Order", [&](Outcome& outcome) {
    const auto r = list.AddressedRow();
    if (!r) return;
    const auto answer = dialogs.Input("Enter new position", list[*r].Cell(plcol::kCdzIndex), "");
    if (!answer || answer->empty()) return;
    const long long position = WholeNumberValue(*answer);
    const auto n = static_cast<long long>(list.Size());
    if (position > n || position < 1) {
      outcome.Fail(Problem::kRefused,
                   std::string("Keep your choices within ") + "1 and " + std::to_string(n));
      return;
    }
    list.MoveRow(*r, static_cast<int>(position));
  });
}

Outcome EnterPlayListComment(PlayList& list, Dialogs& dialogs) {
  return RunGuarded("Notes", [&](Outcome&) {
    // The Song-Genre layout has no Comments column (the window disables the button there): no
    // comment is asked for that could not be kept.
    if (list.Layout() != PlayListLayout::kDefault) return;
    const auto r = list.AddressedRow();
    if (!r) return;
    const auto answer = dialogs.Input("Enter Comments", list[*r].Cell(plcol::kCdzIndex), "");
    list.SetComment(*r, answer.value_or(std::string{}));
  });
}

}  // namespace cadenzo
