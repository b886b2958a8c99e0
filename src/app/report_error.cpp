// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_error.h"

namespace cadenzo {

std::optional<std::string> ErrorMessage(int number, const std::string& description,
                                        const std::string& errorName) {
  switch (number) {
    case err::kFileNotFound:
      return "This file is Not found.";
    case err::kBadFileMode:
      return "Can't open your file";
    case err::kDeviceIo:
      return "Internal disk error.";
    case err::kDiskFull:
      return "Disk is full.";
    case err::kInputPastEnd:
      return "There was a problem With this file";
    case err::kDeviceUnavailable:
      return "That device appears unavailable.";
    case err::kPermissionDenied:
      return "Error writing to file- make sure it is not being used by another program and that "
             "the media is available.";
    case err::kDiskNotReady:
      return "Insert a disk in the drive ";
    case err::kPathFileAccess:
      return "File may have read-only attribute. Change attribute or choose another name.   -  " +
             errorName;
    case err::kPathNotFound:
      return "That path doesn't exist.";
    case err::kCannotMoveMinimized:
      return std::nullopt;
    default:
      return "Error #: " + std::to_string(number) + ", " + description +
             ", encountered in Function " + errorName +
             ". If the solution is not obvious, please report this to the author.";
  }
}

void ReportError(Dialogs& dialogs, const RuntimeError& error, const std::string& errorName) {
  if (auto text = ErrorMessage(error.Number(), error.Description(), errorName)) {
    dialogs.Message(MessageRequest{.text = *text});
  }
}

}  // namespace cadenzo
