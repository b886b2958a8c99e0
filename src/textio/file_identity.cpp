// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/file_identity.h"

#include <sys/stat.h>

#include <cerrno>

#include "app/runtime_error.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace fs = std::filesystem;

fs::path ResolveLinks(const fs::path& path) {
  std::error_code ec;
  fs::path p = fs::absolute(path, ec);
  if (ec) p = path;
  // The system's own limit of links followed in one path.
  constexpr int kMostLinks = 40;
  for (int hops = 0; hops <= kMostLinks; ++hops) {
    if (!fs::is_symlink(p, ec)) {
      // The folder as the system reaches it; a folder that does not exist is left as named,
      // never shortened by its ".." (the system does not reach "missing/../name").
      const fs::path folder = fs::canonical(p.parent_path(), ec);
      return ec ? p : folder / p.filename();
    }
    const fs::path link = fs::read_symlink(p, ec);
    if (ec) throw FromErrorCode(ec);
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  throw RuntimeError(ErrorNumberFromErrno(ELOOP));
}

bool SameFile(const fs::path& a, const fs::path& b) {
  struct stat sa {};
  struct stat sb {};
  const bool aExists = ::stat(a.c_str(), &sa) == 0;
  const bool bExists = ::stat(b.c_str(), &sb) == 0;
  if (aExists && bExists) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (aExists != bExists) return false;
  try {
    return ResolveLinks(a) == ResolveLinks(b);
  } catch (const RuntimeError&) {
    return a == b;
  }
}

bool ConfirmReplace(const Document& state, Dialogs& dialogs, const std::string& path, Icon icon) {
  if (!state.CurrentFilePath.empty() && SameFile(path, state.CurrentFilePath)) {
    const std::string name =
        state.FileName.empty() ? NamePartOf(state.CurrentFilePath) : state.FileName;
    return dialogs.Message({.text = "This will replace the file you opened, " + name +
                                    ", with what you save now. Replace the opened file?",
                            .buttons = Buttons::kOkCancel,
                            .icon = Icon::kWarning,
                            .defaultButton = 1}) == Answer::kOk;
  }
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  return dialogs.Message({.text = "This will replace existing file",
                          .buttons = Buttons::kOkCancel,
                          .icon = icon}) == Answer::kOk;
}

}  // namespace cadenzo
