// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <streambuf>
#include <string>

namespace cadenzo::cli {

// An output stream buffer over a file descriptor that checks every write: the first failure is
// kept (its errno) and the stream goes bad, so that nothing after it is taken for written.
class CheckedOutput : public std::streambuf {
 public:
  explicit CheckedOutput(int fd);
  CheckedOutput(const CheckedOutput&) = delete;
  CheckedOutput& operator=(const CheckedOutput&) = delete;

  // Writes what is buffered and closes the descriptor; the errno of the first failure of any
  // write, of the flush or of the close, 0 when everything reached the file.
  int Close();
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int sync() override;

 private:
  bool WriteAll(const char* data, std::size_t size);
  bool Drain();

  int fd_;
  int error_ = 0;
  bool closed_ = false;
  std::array<char, 65536> buffer_{};
};

// The text of a failed write for the user: "Disk is full." or the system's reason.
std::string WriteFailureText(int errnoValue);

}  // namespace cadenzo::cli
