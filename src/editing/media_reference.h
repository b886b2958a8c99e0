// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// The file types a record may reference on the instrument's media, as the browse dialog's one
// filter entry.
inline constexpr const char* kMediaFileList =
    "*.mid;*.sty;*.pcs;*.bcs;*.sst;*.prs;*.pst;*.fps;*.kar;*.wav;*.WAV;*.mp3;";
std::string MediaFileFilter();

// The medium a browse button chooses from.
enum class Medium { kUsb, kHd };

// The folder a file system is mounted at, for a chosen path ("" when unknown). The shell answers
// it; a path with a drive letter does not need it.
using VolumeRootOf = std::function<std::string(const std::string& path)>;

// The reference text of a chosen file on a medium: the medium's prefix followed by the path on
// that medium with "/" separators ("E:\Songs\a.mid" gives "USB:/Songs/a.mid" or
// "HD:/Songs/a.mid"; "/media/stick/Songs/a.mid" mounted at "/media/stick" gives the same).
// Nothing when the path names no place on a medium. The result is Windows-1252 text, as the
// record list holds it; path is a native (UTF-8) path.
std::optional<std::string> MediaReference(Medium medium, const std::string& path,
                                          const std::string& volumeRoot);

// The "USB" (cmdBrowse) and "HD" (cmdBrowse2) buttons of the record editor: a notice on the
// first use of the run, the file choice, the reference in lblSelectedFile and EditStyleOrFile,
// and the timing controls enabled or disabled by the kind of file.
Outcome BrowseUsbMedia(AppState& state, Dialogs& dialogs, const VolumeRootOf& volumeRootOf);
Outcome BrowseHdMedia(AppState& state, Dialogs& dialogs, const VolumeRootOf& volumeRootOf);

}  // namespace cadenzo
