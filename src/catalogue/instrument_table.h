// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/paths.h"

namespace cadenzo {

// One keyboard model and the properties that conversion and saving need.
struct Instrument {
  std::string_view name;
  char fileGeneration;       // '1', '2' or '3', written at header byte 12
  int recordCapacity;        // 0 = no limit
  bool keepsFileReferences;  // media references survive a save
  bool mediaModel;           // the record editor offers media browsing
};

// The 41 supported models in the order the target list shows them.
std::span<const Instrument> InstrumentTable();
const Instrument* FindInstrument(std::string_view name);

char FileGeneration(std::string_view model);  // '1' when the model is unknown
int RecordCapacity(std::string_view model);   // 0 = none
bool KeepsFileReferences(std::string_view model);
bool IsMediaModel(std::string_view model);
// model & ".dat"
std::string StyleListFileName(std::string_view model);
// The model's style list: the user's styles folder's copy when there is one, else the
// application folder's (which may be missing too). Every reader of a style list finds it here.
std::string StyleListPath(const StyleFolders& folders, std::string_view model);

// The model text of a file header (bytes 16 to 31, bytes outside "!" to "{" read as blanks),
// trimmed, cut to eight characters and trimmed again. A short header gives what it has.
std::string HeaderModelField(std::span<const std::uint8_t> header);

// The model a file header names (bytes 16 to 31), or nothing when it is not recognised.
std::optional<std::string> DetectSourceInstrument(std::span<const std::uint8_t> header);

}  // namespace cadenzo
