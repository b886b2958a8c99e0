// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "app/dialogs.h"
#include "app/outcome.h"
#include "app/run_options.h"

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

// The folders a style list or the style replacement table is looked up in: the user's styles
// folder first, so that a player's own lists override the shipped ones, then the application
// folder. Both end in "/"; user is empty when there is no user folder.
struct StyleFolders {
  std::string user;
  std::string app;

  StyleFolders(std::string userFolder, std::string appFolder)
      : user(std::move(userFolder)), app(std::move(appFolder)) {}
  // The application folder alone.
  StyleFolders(std::string appFolder) : app(std::move(appFolder)) {}  // NOLINT
  StyleFolders(const char* appFolder) : app(appFolder) {}             // NOLINT
};

// The user's styles folder: "styles/" in the user folder; empty without a user folder.
std::string UserStylesFolder(const std::string& userFolder);
// The run's style folders: UserStylesFolder(UserFolder), then AppPath.
StyleFolders StyleFoldersOf(const RunOptions& run);

// Options > Open Style Folder: the user's styles folder, made when missing; a kCannotWrite
// outcome naming it when it cannot be made.
Result<std::string> MakeUserStylesFolder(const RunOptions& run);

// The file's path in the first of the folders that has it; the application folder's path when
// neither has it.
std::string FindStyleFile(const StyleFolders& folders, std::string_view fileName);
// Whether either folder has the file.
bool HasStyleFile(const StyleFolders& folders, std::string_view fileName);

// Opens a document with the program the desktop associates with it.
class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  virtual void OpenDocument(const std::string& path) = 0;
};

}  // namespace cadenzo
