// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "app/run_options.h"

namespace cadenzo {

// The command line as one text: the program's arguments joined with single blanks.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// The file path of a command line: a leading double quote drops the first and the last
// character; otherwise the whole text is the path. Nothing else is parsed.
std::string CommandLineFileFrom(const std::string& commandLine);

// Steps of start-up that set the shared state: folders empty, colour and option defaults.
void ResetStartState(RunOptions& state);

// The caption for a file name alone: "Cadenzo   " followed by the name.
std::string FileCaption(const std::string& fileName);

}  // namespace cadenzo
