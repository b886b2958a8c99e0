// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/instrument_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cadenzo {
namespace {

// A 32-byte header whose bytes 16 on hold the given model bytes, the rest padded.
std::vector<std::uint8_t> Header(const std::string& model, std::uint8_t pad = 0x20) {
  std::vector<std::uint8_t> h(32, pad);
  const std::string start = "MFD header start";
  std::copy(start.begin(), start.end(), h.begin());
  for (std::size_t i = 0; i < model.size() && 16 + i < h.size(); ++i) {
    h[16 + i] = static_cast<std::uint8_t>(model[i]);
  }
  return h;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

struct DetectCase {
  const char* what;
  std::vector<std::uint8_t> header;
  std::optional<std::string> expected;
  friend void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.what; }
};

class Detection : public ::testing::TestWithParam<DetectCase> {};

TEST_P(Detection, MapsTheHeaderModelText) {
  const auto& c = GetParam();
  EXPECT_EQ(DetectSourceInstrument(c.header), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, Detection,
    ::testing::Values(
        DetectCase{"plain name", Header("PSR-S970"), "PSR-S970"},
        DetectCase{"name with a blank", Header("TYROS 4"), "TYROS 4"},
        DetectCase{"versioned Tyros 4 text", Header("Tyros4 version 2"), "TYROS 4"},
        DetectCase{"versioned Tyros 3 text", Header("Tyros3 v1.0"), "TYROS 3"},
        DetectCase{"versioned Tyros 5 text", Header("TYROS5 v1.10"), "TYROS 5"},
        DetectCase{"lower case is not the model", Header("tyros 5"), std::nullopt},
        DetectCase{"leading blanks", Header("   GENOS"), "GENOS"},
        DetectCase{"control bytes read as blanks", Header(std::string("\x01\x09\x1f") + "CVP-303"),
                   "CVP-303"},
        DetectCase{"zero padding after the model", Header("TYROS", 0x00), "TYROS"},
        DetectCase{"bytes above 123 read as blanks", Header("PSR-S670", 0xFF), "PSR-S670"},
        DetectCase{"nine-character name cut to eight", Header("NetCommon"), "NetCommon"},
        DetectCase{"the eight characters alone", Header("NetCommo"), "NetCommon"},
        DetectCase{"PSR-SX600 by its first eight", Header("PSR-SX600"), "PSR-SX600"},
        DetectCase{"PSR-SX900 by its first eight", Header("PSR-SX90"), "PSR-SX900"},
        DetectCase{"extra text after eight characters", Header("PSR-S970 Ver2"), "PSR-S970"},
        DetectCase{"a model text that is a prefix", Header("PSR-S97"), std::nullopt},
        DetectCase{"a byte above 123 inside the name", Header("PSR|S970"), std::nullopt},
        DetectCase{"unknown model", Header("PSR-E333"), std::nullopt},
        DetectCase{"empty model field", Header(""), std::nullopt},
        DetectCase{"header cut inside the model", Cut(Header("TYROS 2"), 23), "TYROS 2"},
        DetectCase{"header shorter than the model field", std::vector<std::uint8_t>(10, 'A'),
                   std::nullopt},
        DetectCase{"no bytes at all", {}, std::nullopt}));

TEST(HeaderModelField, TrimsCutsToEightAndTrimsAgain) {
  EXPECT_EQ(HeaderModelField(Header("  TYROS 5 x")), "TYROS 5");
  EXPECT_EQ(HeaderModelField(Header("\x7f\x7e"
                                    "CVP-409 ")),
            "CVP-409");
}

TEST(InstrumentTable, HasTheFortyOneModelsInTheirListOrder) {
  const auto table = InstrumentTable();
  ASSERT_EQ(table.size(), 41u);
  EXPECT_EQ(table.front().name, "NetCommon");
  EXPECT_EQ(table[10].name, "CVP-307");
  EXPECT_EQ(table[11].name, "CVP-303");  // after CVP-307, as the list shows it
  EXPECT_EQ(table[16].name, "GENOS");
  EXPECT_EQ(table[36].name, "TYROS");
  EXPECT_EQ(table.back().name, "TYROS 5");
  for (const auto& row : table) {
    EXPECT_EQ(FindInstrument(row.name), &row) << row.name;  // names are unique
  }
}

struct PropertyCase {
  const char* model;
  char generation;
  int capacity;
  bool keepsReferences;
  bool media;
  friend void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.model; }
};

class Properties : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(Properties, MatchTheModel) {
  const auto& c = GetParam();
  EXPECT_EQ(FileGeneration(c.model), c.generation);
  EXPECT_EQ(RecordCapacity(c.model), c.capacity);
  EXPECT_EQ(KeepsFileReferences(c.model), c.keepsReferences);
  EXPECT_EQ(IsMediaModel(c.model), c.media);
}

INSTANTIATE_TEST_SUITE_P(
    Models, Properties,
    ::testing::Values(PropertyCase{"NetCommon", '2', 2500, false, false},
                      PropertyCase{"CVP-203", '1', 0, false, false},
                      PropertyCase{"CVP-303", '2', 0, false, false},
                      PropertyCase{"CVP-409", '2', 2500, false, false},
                      PropertyCase{"CVP-505", '2', 2500, true, true},
                      PropertyCase{"GENOS", '3', 2500, true, true},
                      PropertyCase{"PSR-1000", '1', 1200, false, false},
                      PropertyCase{"PSR-1500", '2', 1200, false, false},
                      PropertyCase{"PSR-S670", '3', 1200, true, false},
                      PropertyCase{"PSR-S770", '3', 1200, true, true},
                      PropertyCase{"PSR-S900", '2', 2500, false, false},
                      PropertyCase{"PSR-SX900", '3', 2500, true, true},
                      PropertyCase{"TYROS", '1', 2500, false, false},
                      PropertyCase{"TYROS 3", '2', 2500, false, false},
                      PropertyCase{"TYROS 4", '3', 2500, true, true},
                      // Names compare exactly; an unknown model has no properties.
                      PropertyCase{"tyros 4", '1', 0, false, false},
                      PropertyCase{"", '1', 0, false, false}));

TEST(InstrumentTable, OnlyPsrS670DiffersBetweenReferencesAndMedia) {
  std::vector<std::string> differing;
  for (const auto& row : InstrumentTable()) {
    if (row.keepsFileReferences != row.mediaModel) differing.emplace_back(row.name);
  }
  EXPECT_EQ(differing, std::vector<std::string>{"PSR-S670"});
}

TEST(StyleListPath, IsTheAppFolderModelAndDat) {
  EXPECT_EQ(StyleListPath("/opt/cadenzo/", "TYROS 5"), "/opt/cadenzo/TYROS 5.dat");
  EXPECT_EQ(StyleListPath("/opt/cadenzo/", "NetCommon"), "/opt/cadenzo/NetCommon.dat");
}

}  // namespace
}  // namespace cadenzo
