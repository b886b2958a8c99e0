// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/sysex_messages.h"

#include <gtest/gtest.h>

#include "app/runtime_error.h"

namespace cadenzo {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SectionCodeTest, MapsEverySectionTextAndNothingElse) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"Intro 1", 0},   {"Intro 2", 1}, {"Intro 3", 2},   {"Main A", 8},    {"Main B", 9},
      {"Main C", 10},   {"Main D", 11}, {"Ending 1", 32}, {"Ending 2", 33}, {"Ending 3", 34},
      {"Off", -1},      {"", -1},       {"intro 1", -1},  {"Intro 1 ", -1}, {"Main E", -1},
      {"Ending 4", -1}, {"Intro1", -1}};
  for (const auto& [text, code] : cases) EXPECT_EQ(SectionCode(text), code) << text;
}

TEST(StyleSelectTest, GroupsAreTheListedModelsCompiledExactly) {
  for (const char* model :
       {"PSR-1000", "PSR-1100", "PSR-2000", "PSR-2100", "TYROS", "CVP-200", "CVP-203", "CVP-204",
        "CVP-205", "CVP-206", "CVP-207", "CVP-208", "CVP-210"}) {
    EXPECT_TRUE(UsesShortStyleSelect(model)) << model;
    EXPECT_EQ(StyleSelectMessage(model, 1).size(), 10u) << model;
  }
  for (const char* model : {"PSR-S970", "TYROS 5", "Tyros", "tyros", "TYROS2", "CVP-209",
                            "PSR-3000", "psr-1000", " PSR-1000", "", "NetCommon"}) {
    EXPECT_FALSE(UsesShortStyleSelect(model)) << model;
    EXPECT_EQ(StyleSelectMessage(model, 1).size(), 14u) << model;
  }
}

TEST(StyleSelectTest, SplitsTheNumberIntoSevenBitHalves) {
  struct Case {
    int number;
    std::uint8_t hi, lo;
  };
  for (const Case& c : {Case{300, 0x02, 0x2C}, Case{0, 0, 0}, Case{127, 0, 0x7F}, Case{128, 1, 0},
                        Case{16383, 0x7F, 0x7F}}) {
    EXPECT_EQ(StyleSelectMessage("TYROS", c.number),
              (Bytes{0xF0, 0x43, 0x73, 0x01, 0x11, 0x00, 0x16, c.hi, c.lo, 0xF7}))
        << c.number;
    EXPECT_EQ(
        StyleSelectMessage("PSR-S970", c.number),
        (Bytes{0xF0, 0x43, 0x73, 0x01, 0x51, 0x05, 0x00, 0x03, 0x04, 0x00, 0x00, c.hi, c.lo, 0xF7}))
        << c.number;
  }
}

TEST(StyleSelectTest, NumbersThatDoNotFitSevenBitHalvesAreRefused) {
  for (const int number : {16384, 65535, -1}) {
    try {
      StyleSelectMessage("PSR-S970", number);
      ADD_FAILURE() << number;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), err::kOverflow);
    }
  }
}

TEST(SectionMessageTest, OffAndOn) {
  EXPECT_EQ(SectionMessage(0x22, false), (Bytes{0xF0, 0x43, 0x7E, 0x00, 0x22, 0x00, 0xF7}));
  EXPECT_EQ(SectionMessage(9, true), (Bytes{0xF0, 0x43, 0x7E, 0x00, 0x09, 0x7F, 0xF7}));
  EXPECT_THROW(SectionMessage(128, true), RuntimeError);
  EXPECT_THROW(SectionMessage(-1, true), RuntimeError);
}

TEST(TempoMessageTest, MicrosecondsPerQuarterInSevenBitGroups) {
  struct Case {
    int tempo;
    std::uint8_t t3, t2, t1;
  };
  // 120: 500000 = 30*16384 + 66*128 + 32. 29: 2068965 = 126*16384 + 35*128 + 101.
  // 32767: 1831 = 0*16384 + 14*128 + 39. 60: 1000000 = 61*16384 + 4*128 + 64.
  for (const Case& c : {Case{120, 0x1E, 0x42, 0x20}, Case{29, 126, 35, 101}, Case{32767, 0, 14, 39},
                        Case{60, 61, 4, 64}}) {
    EXPECT_EQ(TempoMessage(c.tempo), (Bytes{0xF0, 0x43, 0x7E, 0x01, 0x00, c.t3, c.t2, c.t1, 0xF7}))
        << c.tempo;
  }
}

TEST(TempoMessageTest, TemposWithoutAMessageAreErrors) {
  struct Case {
    int tempo;
    int number;
  };
  // Below 29 the microseconds need more than 21 bits and the first group would exceed 7F.
  for (const Case& c : {Case{0, 11}, Case{28, err::kOverflow}, Case{1, err::kOverflow},
                        Case{-120, err::kOverflow}}) {
    try {
      TempoMessage(c.tempo);
      ADD_FAILURE() << c.tempo;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), c.number) << c.tempo;
    }
  }
}

}  // namespace
}  // namespace cadenzo
