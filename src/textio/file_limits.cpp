// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/file_limits.h"

#include <system_error>

namespace cadenzo {

FileTooLarge::FileTooLarge(const std::string& name, std::size_t limit)
    : RuntimeError(kFileTooLargeError, TooLargeText(name, limit)) {}

std::string SizeText(std::size_t bytes) {
  if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0) {
    return std::to_string(bytes >> 20) + " MiB";
  }
  if (bytes >= (std::size_t{1} << 10) && bytes % (std::size_t{1} << 10) == 0) {
    return std::to_string(bytes >> 10) + " KiB";
  }
  return std::to_string(bytes) + " bytes";
}

std::string TooLargeText(const std::string& name, std::size_t limit) {
  return name + " is larger than " + SizeText(limit);
}

Bytes ReadFileWithin(const std::filesystem::path& path, std::size_t limit) {
  const std::string name = path.filename().string();
  // A regular file is measured first, so that a huge one is not read at all.
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > limit) throw FileTooLarge(name, limit);
  Bytes bytes = ReadFileBytes(path, limit);
  if (bytes.size() > limit) throw FileTooLarge(name, limit);
  return bytes;
}

}  // namespace cadenzo
