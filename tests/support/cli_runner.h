// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/builders.h"

namespace cadenzo::testing {

// What a run of the built command line gave: its exit code and both output streams.
struct RunResult {
  int code = -1;
  std::string out;
  std::string err;
};

// s as one word for the shell.
inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs `program --app-dir FOLDER/app --user-dir FOLDER/user ARGS` with no input; the output
// streams pass through files in folder.
inline RunResult RunCli(const std::string& program, const std::filesystem::path& folder,
                        const std::string& args) {
  const std::string outPath = (folder / "stdout").string();
  const std::string errPath = (folder / "stderr").string();
  const std::string cmd = Quote(program) + " --app-dir " + Quote((folder / "app").string()) +
                          " --user-dir " + Quote((folder / "user").string()) + " " + args + " >" +
                          Quote(outPath) + " 2>" + Quote(errPath) + " </dev/null";
  const int status = std::system(cmd.c_str());
  RunResult r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadText(outPath);
  r.err = ReadText(errPath);
  return r;
}

}  // namespace cadenzo::testing
