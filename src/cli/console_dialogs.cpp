// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/console_dialogs.h"

#include "charset/cp1252.h"
#include "mfd/reader.h"

namespace cadenzo::cli {

Answer ConsoleDialogs::Message(const MessageRequest& request) {
  // The replace question: the output was named on the command line, so it is replaced.
  if (request.buttons == Buttons::kOkCancel) return Answer::kOk;
  // The only Yes/No question a conversion asks is the capacity question.
  if (request.buttons == Buttons::kYesNo && acceptOverCapacity_) return Answer::kYes;
  // A NetCommon file asks for a target: a list needs none, and --target answers it.
  if (request.text == kSelectTargetText) return Answer::kOk;
  // One line per message: line breaks become blanks.
  std::string text;
  for (char c : Cp1252ToUtf8(request.text)) {
    if (c == '\n') continue;
    text.push_back(c == '\r' ? ' ' : c);
  }
  err_ << "cadenzo-cli: " << text << "\n";
  if (request.buttons == Buttons::kYesNo) {
    refusedCapacity_ = true;
    return Answer::kNo;
  }
  return Answer::kOk;
}

std::optional<std::string> ConsoleDialogs::Input(const std::string& /*prompt*/,
                                                 const std::string& /*title*/,
                                                 const std::string& /*defaultText*/) {
  return std::nullopt;
}

std::optional<std::string> ConsoleDialogs::OpenFile(const FileRequest& /*request*/) {
  return openPath_;
}

std::optional<std::string> ConsoleDialogs::SaveFile(const FileRequest& /*request*/) {
  return savePath_;
}

}  // namespace cadenzo::cli
