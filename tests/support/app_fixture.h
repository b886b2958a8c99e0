// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"

namespace cadenzo::testing {

// An application folder and a user folder in a temporary directory, a state pointing at them,
// and scripted dialogs.
struct AppFixture {
  TempDir dir;
  ScriptedDialogs dialogs;
  AppState state;

  AppFixture() {
    state.AppPath = dir.Str() + "app/";
    state.UserFolder = dir.Str() + "user/";
    dir.Write("app/.keep", std::string());
    dir.Write("user/.keep", std::string());
  }

  // Writes "<model>.dat" with one "name;number" line per entry, each ending in CR LF.
  void WriteStyleList(const std::string& model,
                      const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text = "# test list\r\n";
    for (const auto& [name, number] : entries) text += name + ";" + number + "\r\n";
    dir.Write("app/" + model + ".dat", text);
  }

  // Writes a file and makes it the current file, as the open dialog would.
  std::string PutFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = dir.Write("files/" + name, bytes).string();
    state.CurrentFilePath = path;
    state.FileName = name;
    return path;
  }
};

}  // namespace cadenzo::testing
