// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/runtime_error.h"

#include <cerrno>

namespace cadenzo {
namespace {
// A name the system does not take (too long for it).
constexpr int kBadFileName = 52;
}  // namespace

std::string ErrorDescription(int number) {
  switch (number) {
    case err::kInvalidCall:
      return "Invalid procedure call or argument";
    case err::kOverflow:
      return "Overflow";
    case err::kSubscriptOutOfRange:
      return "Subscript out of range";
    case err::kTypeMismatch:
      return "Type mismatch";
    case err::kObjectNotSet:
      return "Object variable or With block variable not set";
    case kBadFileName:
      return "Bad file name or number";
    case err::kFileNotFound:
      return "File not found";
    case err::kBadFileMode:
      return "Bad file mode";
    case err::kDeviceIo:
      return "Device I/O error";
    case err::kDiskFull:
      return "Disk full";
    case err::kInputPastEnd:
      return "Input past end of file";
    case err::kDeviceUnavailable:
      return "Device unavailable";
    case err::kPermissionDenied:
      return "Permission denied";
    case err::kDiskNotReady:
      return "Disk not ready";
    case err::kPathFileAccess:
      return "Path/File access error";
    case err::kPathNotFound:
      return "Path not found";
    case err::kCannotMoveMinimized:
      return "A form can't be moved or sized while minimized or maximized";
    case err::kDuplicateKey:
      return "This key is already associated with an element of this collection";
    case err::kCancel:
      return "Cancel was selected";
    case err::kListIndexOutOfBounds:
      return "Index out of bounds";
    default:
      return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, ErrorDescription(number)) {}

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

int ErrorNumberFromErrno(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case ETXTBSY:
      return err::kPermissionDenied;
    case EROFS:
    case EISDIR:
    case EEXIST:
      return err::kPathFileAccess;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::kDiskFull;
    case EIO:
      return err::kDeviceIo;
    case ENXIO:
    case ENODEV:
      return err::kDeviceUnavailable;
    case EAGAIN:
      return err::kDiskNotReady;
    case ENAMETOOLONG:
      return kBadFileName;
    default:
      return err::kBadFileMode;
  }
}

RuntimeError FromErrorCode(const std::error_code& code) {
  if (code.category() == std::generic_category() || code.category() == std::system_category()) {
    return RuntimeError(ErrorNumberFromErrno(code.value()));
  }
  return RuntimeError(err::kBadFileMode);
}

}  // namespace cadenzo
