// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/target_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/builders.h"
#include "support/scripted_dialogs.h"

namespace cadenzo {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;

std::vector<std::string> StyleTexts(const AppState& state) {
  std::vector<std::string> out;
  for (const auto& e : state.Editor.styles) out.push_back(e.text + "=" + std::to_string(e.data));
  return out;
}

class SetupCboStyle : public ::testing::Test {
 protected:
  SetupCboStyle() {
    state_.AppPath = dir_.Str();
    state_.TargetInstrument = "TYROS 5";
    state_.DefaultStyle = "Before";
    state_.Editor.styles = {{"Old", 1}, {"0777", 777}};  // user styles from an earlier read
  }
  TempDir dir_;
  AppState state_;
  ScriptedDialogs dialogs_;
};

TEST_F(SetupCboStyle, RefillsTheStylesAndTakesTheLastAsDefault) {
  dir_.Write("TYROS 5.dat", std::string("# list\r\nCool 8Beat;0012\r\n  Jazz Club ;45\r\n"));
  Presented(setupCboStyle(state_), dialogs_);
  EXPECT_EQ(StyleTexts(state_), (std::vector<std::string>{"Cool 8Beat=12", "Jazz Club=45"}));
  EXPECT_EQ(state_.DefaultStyle, "Jazz Club");
  EXPECT_EQ(state_.Editor.styleDropHeight, 525);
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(SetupCboStyle, LastLineWithoutLineEndIsTheDefault) {
  dir_.Write("TYROS 5.dat", std::string("Pop;1\nRock;2\r\nSwing;3"));
  Presented(setupCboStyle(state_), dialogs_);
  EXPECT_EQ(state_.DefaultStyle, "Swing");
  EXPECT_EQ(state_.Editor.styles.size(), 3u);
}

TEST_F(SetupCboStyle, MissingListEmptiesStylesAndDefault) {
  Presented(setupCboStyle(state_), dialogs_);
  EXPECT_TRUE(state_.Editor.styles.empty());
  EXPECT_EQ(state_.DefaultStyle, "");
  EXPECT_TRUE(dialogs_.messages.empty());

  state_.TargetInstrument.clear();
  state_.DefaultStyle = "Before";
  dir_.Write(".dat", std::string("Hidden;1\r\n"));
  Presented(setupCboStyle(state_), dialogs_);
  EXPECT_EQ(state_.DefaultStyle, "");
}

TEST_F(SetupCboStyle, ReportsABadLineAndKeepsTheDefault) {
  struct Case {
    std::string list;
    std::vector<std::string> styles;
    std::string message;
  };
  const Case cases[] = {
      {"Pop;7\r\n Ballad ;0040\r\nno semicolon\r\nRock;9\r\n",
       {"Pop=7", "Ballad=40"},
       "Error #: 5, Invalid procedure call or argument, encountered in Function    setupCboStyle  "
       "Ballad  0040. If the solution is not obvious, please report this to the author."},
      {"Pop;7\r\nRock;nine\r\n",
       {"Pop=7"},
       "Error #: 13, Type mismatch, encountered in Function    setupCboStyle  Pop  7. If the "
       "solution is not obvious, please report this to the author."},
      {"broken\r\n",
       {},
       "Error #: 5, Invalid procedure call or argument, encountered in Function    setupCboStyle"
       "    . If the solution is not obvious, please report this to the author."},
  };
  for (const auto& c : cases) {
    dir_.Write("TYROS 5.dat", c.list);
    ScriptedDialogs dialogs;
    state_.DefaultStyle = "Before";
    Presented(setupCboStyle(state_), dialogs);
    EXPECT_EQ(StyleTexts(state_), c.styles) << c.list;
    EXPECT_EQ(state_.DefaultStyle, "Before") << c.list;
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
  }
}

TEST(TargetCaption, NamesTheSourceOnlyWhenKnown) {
  AppState state;
  state.FileName = "Songs.mfd";
  state.DefaultStyle = "Cool 8Beat";
  EXPECT_EQ(TargetCaption(state), "Cadenzo   Songs.mfd   Default Style = Cool 8Beat");
  state.SourceInstrument = "PSR-S970";
  EXPECT_EQ(TargetCaption(state),
            "Cadenzo   Songs.mfd  Source Instrument = PSR-S970   Default Style = Cool 8Beat");
}

}  // namespace
}  // namespace cadenzo
