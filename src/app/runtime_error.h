// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace cadenzo {

// The program's established run-time error numbers.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kDiskNotReady = 71;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kCannotMoveMinimized = 384;
inline constexpr int kDuplicateKey = 457;
inline constexpr int kCancel = 32755;
inline constexpr int kListIndexOutOfBounds = 35600;
}  // namespace err

// Description of an error number as the general message shows it.
std::string ErrorDescription(int number);

// An unexpected failure, carrying the program's error number and its description.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, std::string description);

  int Number() const { return number_; }
  const std::string& Description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// Maps an operating-system error to the program's error number.
int ErrorNumberFromErrno(int errnoValue);
RuntimeError FromErrorCode(const std::error_code& code);

}  // namespace cadenzo
