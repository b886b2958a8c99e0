// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace cadenzo {

// The system calls through which WriteFileAtomic replaces a file. The program always uses the
// system's own; fault-injection tests swap single entries for failing ones and put them back.
struct FileWriteCalls {
  // Makes the temporary file from a mkstemp template, for the file it is to replace.
  int (*makeTemp)(char* pathTemplate, const char* target);
  ssize_t (*write)(int fd, const void* data, std::size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls in use (the system's own unless a test changed them).
FileWriteCalls& WriteCalls();
// The system's own calls.
FileWriteCalls SystemWriteCalls();

}  // namespace cadenzo
