// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/scripted_dialogs.h"

namespace cadenzo {
namespace {

struct MessageCase {
  int number;
  const char* errorName;
  const char* expected;  // nullptr: no message
};

class ErrorMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ErrorMessages, MatchTheProgramTable) {
  const auto& c = GetParam();
  testing::ScriptedDialogs dialogs;
  ReportError(dialogs, RuntimeError(c.number), c.errorName);
  if (c.expected == nullptr) {
    EXPECT_TRUE(dialogs.messages.empty());
  } else {
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, c.expected);
    EXPECT_EQ(dialogs.messages[0].buttons, Buttons::kOk);
    EXPECT_TRUE(dialogs.messages[0].title.empty());  // the program's title
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorMessages,
    ::testing::Values(
        MessageCase{53, "Entry", "This file is Not found."},
        MessageCase{54, "Entry", "Can't open your file"},
        MessageCase{57, "SaveFile", "Internal disk error."},
        MessageCase{61, "SaveFile", "Disk is full."},
        MessageCase{62, "List1", "There was a problem With this file"},
        MessageCase{68, "SaveFile", "That device appears unavailable."},
        MessageCase{70, "SaveFile",
                    "Error writing to file- make sure it is not being used by another program and "
                    "that the media is available."},
        MessageCase{71, "SaveFile", "Insert a disk in the drive "},
        MessageCase{75, "SaveFile",
                    "File may have read-only attribute. Change attribute or choose another name.   "
                    "-  SaveFile"},
        MessageCase{76, "SaveFile", "That path doesn't exist."}, MessageCase{384, "Main", nullptr},
        MessageCase{9, "SaveMusicFinderx",
                    "Error #: 9, Subscript out of range, encountered in Function SaveMusicFinderx. "
                    "If the solution is not obvious, please report this to the author."},
        MessageCase{5, "EditCommandOK ",
                    "Error #: 5, Invalid procedure call or argument, encountered in Function "
                    "EditCommandOK . If the solution is not obvious, please report this to the "
                    "author."}));

TEST(ErrorNumbers, ErrnoMapsToTheProgramNumbers) {
  EXPECT_EQ(ErrorNumberFromErrno(ENOENT), err::kFileNotFound);
  EXPECT_EQ(ErrorNumberFromErrno(EACCES), err::kPermissionDenied);
  EXPECT_EQ(ErrorNumberFromErrno(ENOSPC), err::kDiskFull);
  EXPECT_EQ(ErrorNumberFromErrno(EROFS), err::kPathFileAccess);
  EXPECT_EQ(ErrorNumberFromErrno(ENOTDIR), err::kPathNotFound);
  EXPECT_EQ(ErrorNumberFromErrno(EIO), err::kDeviceIo);
}

TEST(RunReported, CatchesEveryFailureAndNamesTheHandler) {
  testing::ScriptedDialogs dialogs;
  EXPECT_TRUE(RunReported(dialogs, "Main", [] {}));
  EXPECT_FALSE(RunReported(dialogs, "List1", [] { throw RuntimeError(err::kInputPastEnd); }));
  EXPECT_FALSE(RunReported(dialogs, "Find", [] { throw std::out_of_range("x"); }));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, "There was a problem With this file");
  EXPECT_NE(dialogs.messages[1].text.find("encountered in Function Find."), std::string::npos);
}

}  // namespace
}  // namespace cadenzo
