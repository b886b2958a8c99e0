// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"

namespace cadenzo::fuzz {

// Dialogs that answer every question with its safe choice and count what was shown.
class QuietDialogs : public Dialogs {
 public:
  Answer Message(const MessageRequest& request) override {
    ++shown;
    return request.buttons == Buttons::kOk      ? Answer::kOk
           : request.buttons == Buttons::kYesNo ? Answer::kNo
                                                : Answer::kCancel;
  }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileRequest&) override { return std::nullopt; }
  void SetBusy(bool) override {}
  int shown = 0;
};

// A scratch folder (in memory when /dev/shm exists) with example style lists, made once.
const std::string& ScratchFolder();

// A state whose application and user folders are the scratch folder.
AppState FreshState();

// Seeds of the other targets, by target name.
std::vector<std::pair<std::string, std::vector<std::string>>> ExtraSeeds();

// Small valid Music Finder files used as seeds.
std::vector<std::vector<std::uint8_t>> SampleFiles();

}  // namespace cadenzo::fuzz
