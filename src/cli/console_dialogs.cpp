#include "cli/console_dialogs.h"

#include "textio/cp1252.h"

namespace cadenzo::cli {

Answer ConsoleDialogs::Message(const MessageRequest& request) {
  // The replace question: the output was named on the command line, so it is replaced.
  if (request.buttons == Buttons::kOkCancel) return Answer::kOk;
  // The only Yes/No question a conversion asks is the capacity question.
  if (request.buttons == Buttons::kYesNo && acceptOverCapacity_) return Answer::kYes;
  ++messages_;
  std::string text = Cp1252ToUtf8(request.text);
  for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, " ");
  err_ << "cadenzo-cli: " << text << "\n";
  if (request.buttons == Buttons::kYesNo) {
    refusedCapacity_ = true;
    return Answer::kNo;
  }
  return Answer::kOk;
}

std::optional<std::string> ConsoleDialogs::Input(const std::string&, const std::string&,
                                                 const std::string&) {
  return std::nullopt;
}

std::optional<std::string> ConsoleDialogs::OpenFile(const FileRequest&) { return std::nullopt; }

std::optional<std::string> ConsoleDialogs::SaveFile(const FileRequest&) { return savePath_; }

}  // namespace cadenzo::cli
