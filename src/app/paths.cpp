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

}  // namespace cadenzo
