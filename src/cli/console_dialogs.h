// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/dialogs.h"

namespace cadenzo::cli {

// Dialogs for headless use: messages go to the error stream, questions are answered by the
// command's options, the open dialog answers with the input path and the save dialog with the
// output path.
class ConsoleDialogs : public Dialogs {
 public:
  explicit ConsoleDialogs(std::ostream& err) : err_(err) {}

  Answer Message(const MessageRequest& request) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileRequest& request) override;
  std::optional<std::string> SaveFile(const FileRequest& request) override;
  void SetBusy(bool /*busy*/) override {}
  // Nothing here asks to be asked again: the question is answered Yes.
  Answer MessageWithCheckBox(const MessageRequest& /*request*/, const std::string& /*checkBox*/,
                             bool& /*ticked*/) override {
    return Answer::kYes;
  }

  void SetOpenPath(std::string path) { openPath_ = std::move(path); }
  void SetSavePath(std::string path) { savePath_ = std::move(path); }
  void SetAcceptOverCapacity(bool accept) { acceptOverCapacity_ = accept; }

  bool RefusedCapacity() const { return refusedCapacity_; }

 private:
  std::ostream& err_;
  std::optional<std::string> openPath_;
  std::optional<std::string> savePath_;
  bool acceptOverCapacity_ = false;
  bool refusedCapacity_ = false;
};

}  // namespace cadenzo::cli
