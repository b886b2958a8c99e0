// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "mfd/record.h"
#include "support/builders.h"
#include "support/list_rows.h"
#include "support/scripted_dialogs.h"

namespace cadenzo::testing {

// A state whose list shows the given rows in the given order and whose store holds one record for
// every Number the rows name, with the flags and keywords the row cells show.
struct RowsFixture {
  ScriptedDialogs dialogs;
  AppState state;

  void Load(const std::vector<MainRowBuilder>& rows) {
    int count = 0;
    for (const auto& r : rows) count = std::max(count, r.number);
    FileBuilder file;
    file.records.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) file.records[static_cast<std::size_t>(i)].number = i;
    for (const auto& r : rows) {
      RecordBuilder& rec = file.records[static_cast<std::size_t>(r.number - 1)];
      rec.flags = static_cast<std::uint8_t>((r.fav == "Yes" ? 1 : 0) | (r.s1 == "Yes" ? 2 : 0) |
                                            (r.s2 == "Yes" ? 4 : 0));
      rec.keywords = r.keywords;
      rec.music = r.music;
    }
    state.FileBytes = file.Build();
    state.FileName = "test.mfd";
    state.List = MakeList(rows);
  }

  std::size_t Offset(int n) const { return mfd::RecordOffset(static_cast<std::size_t>(n)); }
  std::uint8_t& Flags(int n) { return state.FileBytes[Offset(n) + mfd::kFlags]; }
  // The 32 bytes of record n's keyword field.
  std::string KeywordField(int n) const {
    const auto begin =
        state.FileBytes.begin() + static_cast<std::ptrdiff_t>(Offset(n) + mfd::kKeywords);
    return std::string(begin, begin + static_cast<std::ptrdiff_t>(mfd::kKeywordsLength));
  }
  const Row& RowNumbered(int n) const {
    return state.List[static_cast<std::size_t>(state.List.FindByRecord(n))];
  }
};

}  // namespace cadenzo::testing
