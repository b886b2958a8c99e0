// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/instrument_table.h"

#include <algorithm>
#include <array>

#include "charset/cp1252.h"

namespace cadenzo {
namespace {

// The order is the order of the target list, not alphabetical.
constexpr std::array<Instrument, 41> kInstruments{{
    {"NetCommon", '2', 2500, false, false}, {"CVP-203", '1', 0, false, false},
    {"CVP-204", '1', 0, false, false},      {"CVP-205", '1', 0, false, false},
    {"CVP-206", '1', 0, false, false},      {"CVP-207", '1', 0, false, false},
    {"CVP-208", '1', 0, false, false},      {"CVP-209", '1', 0, false, false},
    {"CVP-210", '1', 0, false, false},      {"CVP-305", '2', 0, false, false},
    {"CVP-307", '2', 0, false, false},      {"CVP-303", '2', 0, false, false},
    {"CVP-409", '2', 2500, false, false},   {"CVP-505", '2', 2500, true, true},
    {"CVP-605", '2', 2500, true, true},     {"CVP-609", '2', 2500, true, true},
    {"GENOS", '3', 2500, true, true},       {"PSR-1000", '1', 1200, false, false},
    {"PSR-1100", '1', 1200, false, false},  {"PSR-1500", '2', 1200, false, false},
    {"PSR-2000", '1', 2500, false, false},  {"PSR-2100", '1', 2500, false, false},
    {"PSR-3000", '2', 2500, false, false},  {"PSR-S670", '3', 1200, true, false},
    {"PSR-S700", '2', 2500, false, false},  {"PSR-S710", '3', 2500, true, true},
    {"PSR-S750", '3', 2500, true, true},    {"PSR-S770", '3', 1200, true, true},
    {"PSR-S900", '2', 2500, false, false},  {"PSR-S910", '3', 2500, true, true},
    {"PSR-S950", '3', 2500, true, true},    {"PSR-S970", '3', 2500, true, true},
    {"PSR-S975", '3', 2500, true, true},    {"PSR-SX600", '3', 2500, true, true},
    {"PSR-SX700", '3', 2500, true, true},   {"PSR-SX900", '3', 2500, true, true},
    {"TYROS", '1', 2500, false, false},     {"TYROS 2", '2', 2500, false, false},
    {"TYROS 3", '2', 2500, false, false},   {"TYROS 4", '3', 2500, true, true},
    {"TYROS 5", '3', 2500, true, true},
}};

// Header texts of the models whose own name is not what their files carry.
struct HeaderAlias {
  std::string_view field;
  std::string_view model;
};
constexpr std::array<HeaderAlias, 3> kHeaderAliases{{
    {"Tyros3 v", "TYROS 3"},
    {"Tyros4 v", "TYROS 4"},
    {"TYROS5 v", "TYROS 5"},
}};

constexpr std::size_t kModelFieldStart = 16;
constexpr std::size_t kHeaderLength = 32;
constexpr std::size_t kModelFieldLength = 8;

}  // namespace

std::span<const Instrument> InstrumentTable() { return kInstruments; }

const Instrument* FindInstrument(std::string_view name) {
  for (const auto& instrument : kInstruments) {
    if (instrument.name == name) return &instrument;
  }
  return nullptr;
}

char FileGeneration(std::string_view model) {
  const auto* instrument = FindInstrument(model);
  return instrument != nullptr ? instrument->fileGeneration : '1';
}

int RecordCapacity(std::string_view model) {
  const auto* instrument = FindInstrument(model);
  return instrument != nullptr ? instrument->recordCapacity : 0;
}

bool KeepsFileReferences(std::string_view model) {
  const auto* instrument = FindInstrument(model);
  return instrument != nullptr && instrument->keepsFileReferences;
}

bool IsMediaModel(std::string_view model) {
  const auto* instrument = FindInstrument(model);
  return instrument != nullptr && instrument->mediaModel;
}

std::string StyleListFileName(std::string_view model) {
  std::string name(model);
  name += ".dat";
  return name;
}

std::string StyleListPath(const StyleFolders& folders, std::string_view model) {
  return FindStyleFile(folders, StyleListFileName(model));
}

std::string HeaderModelField(std::span<const std::uint8_t> header) {
  const std::size_t end = std::min(header.size(), kHeaderLength);
  std::string text;
  for (std::size_t i = kModelFieldStart; i < end; ++i) {
    const std::uint8_t b = header[i];
    text.push_back(b < 33 || b > 123 ? ' ' : static_cast<char>(b));
  }
  std::string_view field = TrimBlanks(text);
  field = TrimBlanks(field.substr(0, std::min(field.size(), kModelFieldLength)));
  return std::string(field);
}

std::optional<std::string> DetectSourceInstrument(std::span<const std::uint8_t> header) {
  const std::string field = HeaderModelField(header);
  if (field.empty()) return std::nullopt;
  for (const auto& alias : kHeaderAliases) {
    if (field == alias.field) return std::string(alias.model);
  }
  for (const auto& instrument : kInstruments) {
    const std::string_view name = instrument.name;
    if (name.size() <= kModelFieldLength ? field == name
                                         : field == name.substr(0, kModelFieldLength)) {
      return std::string(name);
    }
  }
  return std::nullopt;
}

}  // namespace cadenzo
