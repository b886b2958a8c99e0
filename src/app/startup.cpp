// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

namespace cadenzo {

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const auto& arg : arguments) {
    if (!line.empty()) line.push_back(' ');
    line += arg;
  }
  return line;
}

std::string CommandLineFileFrom(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine.front() == '"') {
    return commandLine.size() < 2 ? std::string{} : commandLine.substr(1, commandLine.size() - 2);
  }
  return commandLine;
}

void ResetStartState(RunOptions& state) {
  state.OpenFolder.clear();
  state.SaveFolder.clear();
  state.ExportFolder.clear();
  state.ImportFolder.clear();
  state.UnknownStyleColor = kRed;
  state.AllowUserStyles = true;
}

std::string FileCaption(const std::string& fileName) { return "Cadenzo   " + fileName; }

}  // namespace cadenzo
