// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "app/dialogs.h"
#include "app/document.h"

namespace cadenzo {

// The file a write to path reaches: an absolute path with every symbolic link followed, also a
// link whose file does not exist yet (a write creates that file, it does not replace the link),
// and its folder in canonical form. A path whose folder does not exist is given back absolute.
// Throws RuntimeError when the links form a loop.
std::filesystem::path ResolveLinks(const std::filesystem::path& path);

// True when both paths name one file: the same device and inode for files that exist, the same
// resolved path for files still to be written (so that two names of a file to be created, or a
// link and its target, count as one).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The question before a save replaces a file: its own question, with Cancel as the default, when
// the file is the one that is open, else the usual one when the file exists. true = go on.
bool ConfirmReplace(const Document& state, Dialogs& dialogs, const std::string& path, Icon icon);

}  // namespace cadenzo
