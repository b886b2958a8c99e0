// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/paths.h"

#include <cstdlib>
#include <filesystem>

#include "app/runtime_error.h"

namespace cadenzo {
namespace fs = std::filesystem;

std::string TrimAtNul(std::string_view text) {
  const auto pos = text.find('\0');
  return std::string(pos == std::string_view::npos ? text : text.substr(0, pos));
}

std::string WithTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string GetAppPath(const std::string& executableFolder) {
  const fs::path exe(executableFolder);
  std::error_code ec;
  if (fs::exists(exe / "StyleReplacementTable.txt", ec)) return WithTrailingSlash(exe.string());
  const fs::path installed = exe.parent_path() / "share" / "cadenzo";
  if (fs::is_directory(installed, ec))
    return WithTrailingSlash(installed.lexically_normal().string());
  return WithTrailingSlash(exe.string());
}

std::string DefaultUserDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return (fs::path(home) / ".local" / "share").string();
  }
  return {};
}

std::string GetUserFolder(const std::string& dataFolder, const std::string& name,
                          const std::string& executableFolder, Dialogs& dialogs) {
  std::string folder;
  std::error_code ec;
  if (dataFolder.empty()) {
    dialogs.Show("An invalid folder ID was specified - using application path");
    folder = executableFolder;
  } else {
    fs::create_directories(dataFolder, ec);
    if (!fs::is_directory(dataFolder, ec)) {
      dialogs.Show("The user folder does not exist -  - using application path");
      folder = executableFolder;
    } else {
      folder = WithTrailingSlash(TrimAtNul(dataFolder)) + name;
      if (!fs::is_directory(folder, ec)) {
        fs::create_directory(folder, ec);
        if (ec) throw FromErrorCode(ec);
      }
    }
  }
  return WithTrailingSlash(TrimAtNul(folder));
}

std::string UserStylesFolder(const std::string& userFolder) {
  return userFolder.empty() ? std::string() : WithTrailingSlash(userFolder) + "styles/";
}

StyleFolders StyleFoldersOf(const RunOptions& run) {
  return {UserStylesFolder(run.UserFolder), run.AppPath};
}

Result<std::string> MakeUserStylesFolder(const RunOptions& run) {
  Result<std::string> result{.value = UserStylesFolder(run.UserFolder)};
  std::error_code ec;
  if (!result.value.empty()) fs::create_directories(result.value, ec);
  if (result.value.empty() || !fs::is_directory(result.value, ec)) {
    result.outcome.Fail(
        Problem::kCannotWrite,
        MessageRequest{.text = "The style folder " + result.value + " cannot be made" +
                               (ec ? ": " + ec.message() : std::string()) + ".",
                       .icon = Icon::kExclamation});
    result.outcome.file = result.value;
    result.value.clear();
  }
  return result;
}

namespace {

// A folder entry that can be read as a file: anything but a folder (a link to a file, a device).
bool IsFileEntry(const std::string& path) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  return fs::exists(status) && !fs::is_directory(status);
}

}  // namespace

std::string FindStyleFile(const StyleFolders& folders, std::string_view fileName) {
  if (!folders.user.empty()) {
    std::string path = folders.user;
    path += fileName;
    if (IsFileEntry(path)) return path;
  }
  std::string path = folders.app;
  path += fileName;
  return path;
}

bool HasStyleFile(const StyleFolders& folders, std::string_view fileName) {
  return IsFileEntry(FindStyleFile(folders, fileName));
}

}  // namespace cadenzo
