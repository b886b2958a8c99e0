// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/checked_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cadenzo::cli {

CheckedOutput::CheckedOutput(int fd) : fd_(fd) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool CheckedOutput::WriteAll(const char* data, std::size_t size) {
  if (error_ != 0) return false;
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    if (n == 0) {  // no progress: the medium takes no more
      error_ = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CheckedOutput::Drain() {
  const auto size = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return WriteAll(buffer_.data(), size);
}

CheckedOutput::int_type CheckedOutput::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize CheckedOutput::xsputn(const char* data, std::streamsize size) {
  const auto n = static_cast<std::size_t>(size);
  if (n <= static_cast<std::size_t>(epptr() - pptr())) {
    std::memcpy(pptr(), data, n);
    pbump(static_cast<int>(n));
    return size;
  }
  // A large piece goes straight to the file after what is buffered.
  if (!Drain() || !WriteAll(data, n)) return 0;
  return size;
}

int CheckedOutput::sync() { return Drain() ? 0 : -1; }

int CheckedOutput::Close() {
  Drain();
  if (!closed_) {
    closed_ = true;
    if (::close(fd_) != 0 && error_ == 0 && errno != EINTR) error_ = errno;
  }
  return error_;
}

std::string WriteFailureText(int errnoValue) {
  if (errnoValue == ENOSPC || errnoValue == EDQUOT) return "Disk is full.";
  return std::strerror(errnoValue);
}

}  // namespace cadenzo::cli
