// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <random>

#include "app/runtime_error.h"
#include "charset/cp1252.h"
#include "textio/file_identity.h"
#include "textio/write_calls.h"

namespace cadenzo {
namespace fs = std::filesystem;

FileWriteCalls SystemWriteCalls() {
  return FileWriteCalls{
      .makeTemp = [](char* pathTemplate, const char*) { return ::mkstemp(pathTemplate); },
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
  std::array<char, 65536> buffer{};
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
  std::array<std::uint8_t, 65536> buffer{};
  while (bytes.size() < most) {
    const ssize_t n = ::read(fd, buffer.data(), std::min(buffer.size(), most - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      throw RuntimeError(ErrorNumberFromErrno(e));
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + n);
  }
  ::close(fd);
  return bytes;
}

namespace {

// With progress to report, a write goes in pieces of this size.
constexpr std::size_t kProgressPiece = std::size_t{256} << 10;

// Temporary files of a save are named ".cadenzo-PID-XXXXXX": short, whatever the length of the
// target's name, hidden, and telling which process writes them.
constexpr std::string_view kTemporaryPrefix = ".cadenzo-";

// The process that writes a temporary file of ours, or 0 for any other name.
pid_t TemporaryWriter(std::string_view name) {
  if (!name.starts_with(kTemporaryPrefix)) return 0;
  name.remove_prefix(kTemporaryPrefix.size());
  const auto dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || name.size() - dash - 1 != 6) return 0;
  long long pid = 0;
  for (const char c : name.substr(0, dash)) {
    if (c < '0' || c > '9' || pid > 100000000) return 0;
    pid = pid * 10 + (c - '0');
  }
  for (const char c : name.substr(dash + 1)) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) return 0;
  }
  return static_cast<pid_t>(pid);
}

bool ProcessRunning(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// Removes the temporary files that saves killed before their end left in the folder: only ours,
// only the user's own, and only those whose process is gone and which no process holds locked
// (a save in another process space may carry a number that is free here).
void RemoveStaleTemporaries(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t pid = TemporaryWriter(it->path().filename().native());
    if (pid <= 0 || ProcessRunning(pid)) continue;
    const std::string path = it->path().string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
}

// The error of a failed write. A folder that vanished since it was checked is a path that does
// not exist, not a file; a name longer than the system takes is a bad name, not a read-only file.
RuntimeError WriteError(int e) {
  if (e == ENOENT) return RuntimeError(err::kPathNotFound);
  if (e == ENAMETOOLONG) return RuntimeError(ErrorNumberFromErrno(e), "File name too long");
  return RuntimeError(ErrorNumberFromErrno(e));
}

}  // namespace

bool IsSaveTemporaryName(std::string_view fileName) { return TemporaryWriter(fileName) > 0; }

void WriteFileAtomic(const fs::path& target, std::span<const std::uint8_t> bytes, Flush flush,
                     const WriteProgress& progress) {
  std::error_code ec;
  // A link is written through, as a plain write would: the link stays and its file is replaced,
  // or made when it does not exist yet.
  const fs::path path = ResolveLinks(target);
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  // Only regular files are replaced: never a folder, a device or a pipe.
  const auto status = fs::status(path, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) throw RuntimeError(err::kPathFileAccess);
  if (!fs::is_directory(folder, ec)) throw RuntimeError(err::kPathNotFound);
  if (path.filename().native().size() > NAME_MAX) throw WriteError(ENAMETOOLONG);
  // A file the user may not write stays as it is, as in an editor: a folder the user may write
  // does not make its files writable.
  struct stat old {};
  const bool replaces = ::stat(path.c_str(), &old) == 0;
  if (replaces && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
    const int e = errno;
    throw RuntimeError(e == EROFS || e == EACCES || e == EPERM ? err::kPathFileAccess
                                                               : ErrorNumberFromErrno(e));
  }

  RemoveStaleTemporaries(folder);
  const std::string name = std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-XXXXXX";
  std::string tmpl = (folder / name).string();
  const FileWriteCalls& calls = WriteCalls();
  const int fd = calls.makeTemp(tmpl.data(), path.c_str());
  if (fd < 0) throw WriteError(errno);
  // Held until the file is renamed or removed: a save in another process leaves it alone.
  ::flock(fd, LOCK_EX);
  auto fail = [&](int e) {
    calls.close(fd);
    ::unlink(tmpl.c_str());
    throw WriteError(e);
  };
  std::size_t done = 0;
  // With someone to tell, the bytes go in pieces, so that a slow disk shows its progress.
  const std::size_t piece = progress ? kProgressPiece : bytes.size();
  if (progress) progress(0, bytes.size());
  while (done < bytes.size()) {
    const ssize_t n = calls.write(fd, bytes.data() + done, std::min(piece, bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) fail(ENOSPC);  // no progress: the medium takes no more
    done += static_cast<std::size_t>(n);
    if (progress) progress(done, bytes.size());
  }
  if (replaces) {
    // The replaced file's owner and group where the user may set them (the owner only for the
    // administrator, the group for its members), then its mode, which a change of owner clears
    // of its set-id bits.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
      // Neither may be given: the new file is the user's, in the user's group.
    }
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    // A new file gets the usual 0666 under the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (flush == Flush::kToDisk && calls.fsync(fd) != 0) fail(errno);
  if (calls.close(fd) != 0) {
    const int e = errno;
    ::unlink(tmpl.c_str());
    throw WriteError(e);
  }
  if (calls.rename(tmpl.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(tmpl.c_str());
    throw WriteError(e);
  }
}

void WriteFileAtomic(const fs::path& path, std::string_view text, Flush flush,
                     const WriteProgress& progress) {
  WriteFileAtomic(path,
                  std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                text.size()),
                  flush, progress);
}

std::optional<std::string> WriteRefusalText(const RuntimeError& error, const fs::path& path) {
  const std::string name = path.filename().string();
  const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
  const std::string kept = " Nothing was written; a file of that name was left as it was.";
  if (error.Number() == err::kDiskFull) {
    return name + " could not be saved: the disk holding " + folder + " is full." + kept +
           " Free some space on it, or save to another disk.";
  }
  std::error_code ec;
  const auto status = fs::status(path, ec);
  const bool fileOrNone = !fs::exists(status) || fs::is_regular_file(status);
  if ((error.Number() == err::kPathFileAccess || error.Number() == err::kPermissionDenied) &&
      fileOrNone) {
    return name + " could not be saved: the file or its folder " + folder +
           " may not be written (it is read-only, or belongs to someone else)." + kept +
           " Save under another name or in another folder.";
  }
  return std::nullopt;
}

bool NoteWriteRefusal(Outcome& outcome, const RuntimeError& error, const std::string& path) {
  const auto text = WriteRefusalText(error, path);
  if (!text) return false;
  outcome.Fail(Problem::kCannotWrite, MessageRequest{.text = *text, .icon = Icon::kExclamation});
  outcome.file = path;
  outcome.errorNumber = error.Number();
  return true;
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

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  const std::size_t size = text.size();
  while (start < size) {
    // A plain scan: find_first_of looks each character up in the set of two.
    std::size_t end = start;
    while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
    if (end == size) {
      lines.push_back(text.substr(start));  // the last line, without a line end
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < size && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  pieces.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1);
  std::size_t start = 0;
  while (true) {
    const auto end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return pieces;
}

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF); nonAscii tells whether any character is beyond ASCII.
bool IsUtf8(std::string_view text, bool& nonAscii) {
  nonAscii = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    nonAscii = true;
    std::size_t len = 0;
    // The allowed range of the second byte.
    unsigned lowest = 0x80;
    unsigned highest = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      if (b == 0xE0) lowest = 0xA0;
      if (b == 0xED) highest = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      if (b == 0xF0) lowest = 0x90;
      if (b == 0xF4) highest = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < len) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (c < (k == 1 ? lowest : 0x80) || c > (k == 1 ? highest : 0xBF)) return false;
    }
    i += len;
  }
  return true;
}

// Text with zero bytes: UTF-16 when most of them fall on every other byte, otherwise no text.
std::string ZeroBytesProblem(std::string_view bytes) {
  std::size_t even = 0;
  std::size_t odd = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\0') ++(i % 2 == 0 ? even : odd);
  }
  const std::size_t half = bytes.size() / 2;
  const bool utf16 = half > 0 && (even * 5 >= half * 2 || odd * 5 >= half * 2) &&
                     std::min(even, odd) * 10 <= std::max(even, odd);
  return utf16 ? "is UTF-16 text; save it as UTF-8 or Windows-1252 text"
               : "is not a text file (it holds zero bytes)";
}

}  // namespace

TextFileContents DecodeTextFile(std::string bytes, TextEncodings encodings) {
  TextFileContents out;
  const std::string_view view = bytes;
  if (view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF")) {
    out.problem = "is UTF-16 text; save it as UTF-8 or Windows-1252 text";
    return out;
  }
  if (view.find('\0') != std::string_view::npos) {
    // A delimited text may hold a stray zero byte in a field; only UTF-16 is refused there.
    std::string problem = ZeroBytesProblem(view);
    if (encodings == TextEncodings::kUtf8Lists || problem.find("UTF-16") != std::string::npos) {
      out.problem = std::move(problem);
      return out;
    }
  }
  bool nonAscii = false;
  if (view.starts_with(kUtf8Mark)) {
    const std::string_view rest = view.substr(kUtf8Mark.size());
    if (!IsUtf8(rest, nonAscii)) {
      out.problem = "is marked as UTF-8 text but is not";
      return out;
    }
    out.text = Utf8ToCp1252(rest);
    return out;
  }
  if (encodings == TextEncodings::kUtf8Lists && IsUtf8(view, nonAscii) && nonAscii) {
    out.text = Utf8ToCp1252(view);
    return out;
  }
  out.text = std::move(bytes);  // single-byte text as it is
  return out;
}

TextFileContents ReadTextFile(const fs::path& path, std::size_t limit, TextEncodings encodings) {
  TextFileContents out;
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status) || fs::is_directory(status)) {
    out.missing = true;
    return out;
  }
  if (!fs::is_regular_file(status)) {
    out.problem = "is not a file";
    return out;
  }
  Bytes bytes;
  try {
    bytes = ReadFileBytes(path, limit);
  } catch (const RuntimeError&) {
    out.problem = "cannot be read";
    return out;
  }
  if (bytes.size() > limit) {
    const std::string size = limit >= (std::size_t{1} << 20) ? std::to_string(limit >> 20) + " MB"
                                                             : std::to_string(limit) + " bytes";
    out.problem = "is larger than " + size + ", far more than such a file holds";
    return out;
  }
  return DecodeTextFile(std::string(bytes.begin(), bytes.end()), encodings);
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
