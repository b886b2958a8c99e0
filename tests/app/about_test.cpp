// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about.h"

#include <gtest/gtest.h>

namespace cadenzo {
namespace {

struct VersionCase {
  std::string version;
  std::string text;
};

class Version : public ::testing::TestWithParam<VersionCase> {};

TEST_P(Version, MajorMinorRevision) { EXPECT_EQ(VersionText(GetParam().version), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Version,
    ::testing::Values(VersionCase{"3.2.0", "Version 3.2.0"}, VersionCase{"0.1.0", "Version 0.1.0"},
                      VersionCase{"3.2", "Version 3.2.0"}, VersionCase{"12", "Version 12.0.0"},
                      VersionCase{"1.2.3.4", "Version 1.2.3"},
                      VersionCase{"2.10.7-rc1", "Version 2.10.7"}, VersionCase{"", "Version 0.0.0"},
                      VersionCase{"x.1", "Version 0.0.0"}));

TEST(About, CaptionAndProgramVersion) {
  EXPECT_EQ(AboutCaption(), "About Cadenzo");
  // The build's own version reads as three numbers.
  EXPECT_EQ(VersionText(ProgramVersion()), "Version " + ProgramVersion());
}

}  // namespace
}  // namespace cadenzo
