// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "app/dialogs.h"

namespace cadenzo {

// The text up to its first NUL; the whole text if it has none.
std::string TrimAtNul(std::string_view text);

// Appends "/" unless the folder already ends in one.
std::string WithTrailingSlash(std::string folder);

// The application folder: the executable's folder when it holds the data files (build tree,
// portable copy), otherwise ../share/cadenzo/ beside it (installed layout). Ends in "/".
std::string GetAppPath(const std::string& executableFolder);

// The per-user data folder (XDG_DATA_HOME, else ~/.local/share) as the shell would report it;
// empty when neither is known.
std::string DefaultUserDataFolder();

// The user folder: the per-user data folder (created when missing) plus name, created one
// level deep. Falls back to the executable's folder with the program's messages.
std::string GetUserFolder(const std::string& dataFolder, const std::string& name,
                          const std::string& executableFolder, Dialogs& dialogs);

// Opens a document with the program the desktop associates with it.
class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  virtual void OpenDocument(const std::string& path) = 0;
};

}  // namespace cadenzo
