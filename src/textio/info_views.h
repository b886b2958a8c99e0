// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "app/dialogs.h"
#include "textio/rtf_parser.h"

namespace cadenzo {

// The information window's caption when it shows help.
inline constexpr const char* kInfoCaption = "Cadenzo-Information & Help";
// The paragraph indents, left and right, of every text the information window shows.
inline constexpr int kInfoIndentTwips = 600;

// A file the information window shows: where it lies, how it is read and what the window says.
struct InfoFileView {
  std::string path;
  std::string fileName;  // as the missing-file message names it
  std::string caption;
  bool richText = false;  // rich text (plain text still reads as plain text); else plain text
};

// Help > "&Quick Start Guide": the guide beside the program.
InfoFileView QuickStartGuideView(const std::string& appPath);
// View > "&Conversion Log": the log of the last processing pass.
InfoFileView ConversionLogView(const std::string& userFolder);
// View > "&Delimited File Load Log": the lines the last import left out.
InfoFileView ImportLogView(const std::string& userFolder);

// Help > "&Manual": the manual beside the program.
std::string ManualPath(const std::string& appPath);

// "Cannot find the Information File named " followed by the file name.
std::string MissingInfoFileMessage(const std::string& fileName);

// Reads the view's file and indents every paragraph by kInfoIndentTwips. When the file cannot
// be read, shows the missing-file message and gives nothing.
std::optional<RtfDocument> LoadInfoFile(const InfoFileView& view, Dialogs& dialogs);

// The message of a failed print: "Error ", the number, ";" and the description.
std::string PrintErrorMessage(int number, const std::string& description);

}  // namespace cadenzo
