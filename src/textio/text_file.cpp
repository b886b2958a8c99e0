#include "textio/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <random>

#include "app/runtime_error.h"
#include "textio/write_calls.h"

namespace cadenzo {
namespace fs = std::filesystem;

FileWriteCalls SystemWriteCalls() {
  return FileWriteCalls{
      .makeTemp = [](char* pathTemplate) { return ::mkstemp(pathTemplate); },
      .write = [](int fd, const void* data, std::size_t size) { return ::write(fd, data, size); },
      .fsync = [](int fd) { return ::fsync(fd); },
      .close = [](int fd) { return ::close(fd); },
      .rename = [](const char* from, const char* to) { return ::rename(from, to); }};
}

FileWriteCalls& WriteCalls() {
  static FileWriteCalls calls = SystemWriteCalls();
  return calls;
}

std::string ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return {};
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) text.reserve(static_cast<std::size_t>(st.st_size));
  std::array<char, 65536> buffer;
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the end, or a read error: what was read so far
    text.append(buffer.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

Bytes ReadFileBytes(const fs::path& path, std::size_t limit) {
  // Opened without waiting, so that a named pipe nobody writes to cannot stop the program.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw RuntimeError(ErrorNumberFromErrno(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw RuntimeError(err::kPathFileAccess);
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  Bytes bytes;
  const std::size_t most = limit + 1;
  if (S_ISREG(st.st_mode)) {
    bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), most));
  }
  std::uint8_t buffer[65536];
  while (bytes.size() < most) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, most - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      throw RuntimeError(ErrorNumberFromErrno(e));
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  return bytes;
}

void WriteFileAtomic(const fs::path& target, std::span<const std::uint8_t> bytes, Flush flush) {
  std::error_code ec;
  // A link is written through, as a plain write would: the link stays, its file is replaced.
  fs::path path = target;
  if (fs::is_symlink(target, ec)) {
    path = fs::weakly_canonical(target, ec);
    if (ec) throw FromErrorCode(ec);
  }
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  // Only regular files are replaced: never a folder, a device or a pipe.
  const auto status = fs::status(path, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) throw RuntimeError(err::kPathFileAccess);
  if (!fs::is_directory(folder, ec)) throw RuntimeError(err::kPathNotFound);

  std::string tmpl = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const FileWriteCalls& calls = WriteCalls();
  // A folder that vanished since it was checked is a path that does not exist, not a file.
  const auto writeError = [](int e) {
    return RuntimeError(e == ENOENT ? err::kPathNotFound : ErrorNumberFromErrno(e));
  };
  const int fd = calls.makeTemp(tmpl.data());
  if (fd < 0) throw writeError(errno);
  auto fail = [&](int e) {
    calls.close(fd);
    ::unlink(tmpl.c_str());
    throw writeError(e);
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = calls.write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) fail(ENOSPC);  // no progress: the medium takes no more
    done += static_cast<std::size_t>(n);
  }
  // Keep the permissions of a file being replaced; a new file gets the usual 0644 under umask.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (flush == Flush::kToDisk && calls.fsync(fd) != 0) fail(errno);
  if (calls.close(fd) != 0) {
    const int e = errno;
    ::unlink(tmpl.c_str());
    throw writeError(e);
  }
  if (calls.rename(tmpl.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(tmpl.c_str());
    throw writeError(e);
  }
}

void WriteFileAtomic(const fs::path& path, std::string_view text, Flush flush) {
  WriteFileAtomic(path,
                  std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                text.size()),
                  flush);
}

std::vector<std::string_view> SplitCrLfLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (;;) {
    const auto pos = text.find("\r\n", start);
    if (pos == std::string_view::npos) break;
    lines.push_back(text.substr(start, pos - start));
    start = pos + 2;
  }
  return lines;
}

std::string FolderOf(const std::string& path) {
  const auto pos = path.find_last_of('/');
  return pos == std::string::npos ? std::string{} : path.substr(0, pos + 1);
}

std::string NamePartOf(const std::string& path) {
  const auto pos = path.find_last_of('/');
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

}  // namespace cadenzo
