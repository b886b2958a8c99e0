// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "mfd/record.h"
#include "rows/record_list.h"

namespace cadenzo::testing {

// One row of the main record list described by its cell texts.
struct MainRowBuilder {
  int number = 1;
  std::string genre = "Pop";
  std::string music = "Song";
  std::string style = "Cool 8Beat";
  std::string timeSig = " 4/ 4";
  std::string tempo = "120";
  std::string keywords;
  std::string fav = "No";
  std::string s1 = "No";
  std::string s2 = "No";
  std::string intro = "Intro 1";
  std::string next = "Main A";
  bool checked = false;
  bool deleted = false;
  // The record the row stands for; 0: the record whose position is `number`.
  std::uint32_t record = 0;

  Row Build() const {
    Row row;
    row.record = record != 0 ? record : static_cast<std::uint32_t>(number > 0 ? number : 0);
    row.deleted = deleted;
    row.SetCell(col::kNumber, NumberText(number));
    row.SetCell(col::kGenre, genre);
    row.SetCell(col::kMusic, music);
    row.SetCell(col::kStyle, style);
    row.SetCell(col::kTimeSig, timeSig);
    row.SetCell(col::kTempo, tempo);
    row.SetCell(col::kKeywords, keywords);
    row.SetCell(col::kFav, fav);
    row.SetCell(col::kS1, s1);
    row.SetCell(col::kS2, s2);
    row.SetCell(col::kIntro, intro);
    row.SetCell(col::kNext, next);
    row.checked = checked;
    return row;
  }
};

inline RecordList MakeList(const std::vector<MainRowBuilder>& rows) {
  RecordList list;
  for (const auto& r : rows) list.Add(r.Build());
  return list;
}

}  // namespace cadenzo::testing
