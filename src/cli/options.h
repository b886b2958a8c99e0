// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace cadenzo::cli {

// A command line that cadenzo-cli cannot run; the message names what is wrong with it.
struct UsageError {
  std::string message;
};

// The parsed command line.
struct Options {
  std::string appDir, userDir, command, file, text, source, target, output, defaultStyle, log;
  bool styleNumbers = false, noUserStyles = false, overCapacity = false;
  bool hasDefaultStyle = false;
  bool songOnly = false;  // duplicates
  // convert: the inputs after the first (file), the folder that takes every output (-d), and
  // the dry run that writes nothing; merge: the files whose records follow those of FILE.mfd.
  std::vector<std::string> moreFiles;
  std::string outDir;
  bool dryRun = false;
  bool json = false;  // info, list, convert, duplicates: one JSON document on standard output

  bool operator==(const Options&) const = default;
};

// Reads the arguments after the program name: the global folders, one command, its FILE.mfd
// (and TEXT.txt for import) and the options that command accepts. Throws UsageError for anything
// else, for a missing value and for a missing required argument or option.
Options Parse(const std::vector<std::string>& args);

}  // namespace cadenzo::cli
