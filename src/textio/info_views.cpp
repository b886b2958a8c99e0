// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/info_views.h"

#include "app/runtime_error.h"
#include "textio/file_limits.h"
#include "textio/text_file.h"

namespace cadenzo {

InfoFileView QuickStartGuideView(const std::string& appPath) {
  return InfoFileView{.path = appPath + "QuickStartGuide.rtf",
                      .fileName = "QuickStartGuide.rtf",
                      .caption = kInfoCaption,
                      .richText = true};
}

InfoFileView ConversionLogView(const std::string& userFolder) {
  return InfoFileView{.path = userFolder + "ExportLog.txt",
                      .fileName = "ExportLog.txt",
                      .caption = "Items missing styles in target instrument",
                      .richText = false};
}

InfoFileView ImportLogView(const std::string& userFolder) {
  return InfoFileView{.path = userFolder + "ImportLog.txt",
                      .fileName = "ImportLog.txt",
                      .caption = "Items not included due in last Import operation",
                      .richText = false};
}

std::string ManualPath(const std::string& appPath) { return appPath + "Cadenzo.pdf"; }

std::string MissingInfoFileMessage(const std::string& fileName) {
  return "Cannot find the Information File named " + fileName;
}

std::optional<RtfDocument> LoadInfoFile(const InfoFileView& view, Dialogs& dialogs) {
  std::string bytes;
  try {
    const Bytes raw = ReadFileWithin(view.path, view.richText ? kMaxHelpDocumentSize : kMaxLogSize);
    bytes.assign(raw.begin(), raw.end());
  } catch (const FileTooLarge& e) {
    dialogs.Show("The Information File " + e.Description() + " and is not shown.");
    return std::nullopt;
  } catch (const RuntimeError&) {
    dialogs.Show(MissingInfoFileMessage(view.fileName));
    return std::nullopt;
  }
  RtfDocument document = view.richText ? ReadRichOrPlainText(bytes) : PlainTextDocument(bytes);
  AddParagraphIndents(document, kInfoIndentTwips, kInfoIndentTwips);
  return document;
}

std::string PrintErrorMessage(int number, const std::string& description) {
  return "Error " + std::to_string(number) + ";" + description;
}

}  // namespace cadenzo
