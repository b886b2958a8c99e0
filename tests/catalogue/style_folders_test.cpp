// SPDX-License-Identifier: GPL-3.0-or-later
// Style lists and the replacement table are looked up in the user's styles folder first, then in
// the application folder; a target with a list in neither is said so and not saved without user
// styles.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/replacement_table.h"
#include "catalogue/style_list.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/target_change.h"
#include "support/app_fixture.h"
#include "support/list_rows.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::AppFixture;

struct LookupCase {
  const char* name;
  const char* userEntry;  // what the user's styles folder holds as GENOS.dat: "", "file", "dir"
  bool appFile;
  const char* expectedFirstStyle;  // "" when no list is read
};

class StyleLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(StyleLookupTest, TheUsersCopyComesFirst) {
  const LookupCase& c = GetParam();
  AppFixture fx;
  const std::string user = std::string(c.userEntry);
  if (user == "file") fx.dir.Write("user/styles/GENOS.dat", std::string("User Beat;0001\r\n"));
  if (user == "dir") fs::create_directories(fx.dir.Path() / "user/styles/GENOS.dat");
  if (c.appFile) fx.dir.Write("app/GENOS.dat", std::string("App Beat;0001\r\n"));
  const StyleFolders folders = StyleFoldersOf(fx.state);
  EXPECT_EQ(folders.user, fx.dir.Str() + "user/styles/");

  const auto styles = ReadStyleList(folders, "GENOS");
  EXPECT_EQ(styles.empty() ? std::string() : styles.front().name, c.expectedFirstStyle);
  const auto missing = MissingStyleList(folders, "GENOS");
  EXPECT_EQ(missing.has_value(), std::string(c.expectedFirstStyle).empty());
  if (missing) {
    EXPECT_EQ(*missing,
              "No style list for GENOS: styles are kept as user styles while 'Allow User or "
              "Unknown Styles' is on. Add GENOS.dat to " +
                  fx.dir.Str() + "user/styles/.");
  }
  // The replacement table follows the same order.
  if (user == "file") {
    fx.dir.Write("user/styles/StyleReplacementTable.txt", std::string("App Beat;User Beat\r\n"));
  }
  if (c.appFile) {
    fx.dir.Write("app/StyleReplacementTable.txt", std::string("App Beat;Shipped Beat\r\n"));
  }
  fx.state.List = testing::MakeList({{.style = "App Beat"}});
  cboStyle_setup(fx.state, fx.dialogs);
  EXPECT_EQ(fx.state.List[0].Cell(col::kStyle),
            user == "file" ? "User Beat" : (c.appFile ? "Shipped Beat" : "App Beat"));
}

INSTANTIATE_TEST_SUITE_P(Folders, StyleLookupTest,
                         ::testing::Values(LookupCase{"userOnly", "file", false, "User Beat"},
                                           LookupCase{"appOnly", "", true, "App Beat"},
                                           LookupCase{"both", "file", true, "User Beat"},
                                           LookupCase{"neither", "", false, ""},
                                           LookupCase{"userFolderEntryIsAFolder", "dir", true,
                                                      "App Beat"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Choosing a target without a list says so in the status line; a save for it without user
// styles is refused with that message and writes nothing; with user styles it keeps them.
TEST(TargetWithoutList, SaysSoAndRefusesTheSaveWithoutUserStyles) {
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "0291"}});
  fx.PutFile("in.mfd", testing::FileBuilder{.records = {{.number = 0, .style = 291}}}.Build());
  ASSERT_TRUE(OpenMusicFinderFile(fx.state, fx.dialogs).Ok());
  const Outcome chosen = ChooseTarget(fx.state, fx.dialogs, "GENOS");
  const auto note = TargetStyleListNote(fx.state);
  ASSERT_TRUE(note.has_value());
  EXPECT_EQ(chosen.status, *note);
  EXPECT_TRUE(chosen.messages.empty());
  EXPECT_NE(ChooseTarget(fx.state, fx.dialogs, "PSR-S970").status, *note);

  fx.state.TargetInstrument = "GENOS";
  fx.state.AllowUserStyles = false;
  const std::string out = fx.dir.Str() + "out.mfd";
  fx.dialogs.QueueFile(out);
  const PassResult refused =
      SaveMusicFinderx(fx.state, fx.dialogs, "GENOS", false, PassMode::kSave);
  EXPECT_EQ(refused.outcome.problem, Problem::kStyleList);
  ASSERT_EQ(refused.outcome.messages.size(), 1u);
  EXPECT_EQ(refused.outcome.messages[0].text, *note);
  EXPECT_FALSE(refused.saved);
  EXPECT_FALSE(fs::exists(out));

  fx.state.AllowUserStyles = true;
  fx.dialogs.QueueFile(out);
  const PassResult kept = SaveMusicFinderx(fx.state, fx.dialogs, "GENOS", false, PassMode::kSave);
  EXPECT_TRUE(kept.outcome.Ok());
  EXPECT_EQ(kept.written, 1);
  EXPECT_TRUE(fs::exists(out));
}

}  // namespace
}  // namespace cadenzo
