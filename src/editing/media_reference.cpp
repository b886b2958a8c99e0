// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/media_reference.h"

#include <algorithm>

#include "app/outcome.h"
#include "charset/cp1252.h"
#include "editing/record_editor.h"

namespace cadenzo {
namespace {

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string_view WithoutLeadingSlashes(std::string_view text) {
  while (!text.empty() && text.front() == '/') text.remove_prefix(1);
  return text;
}

void Browse(EditorDraft& state, Dialogs& dialogs, Outcome& outcome,
            const VolumeRootOf& volumeRootOf, Medium medium) {
  EditorLists& editor = state.Editor;
  state.EditStyleOrFile.clear();
  const FileRequest request{.filter = MediaFileFilter()};

  bool& noticeShown = medium == Medium::kUsb ? editor.UsbNoticeShown : editor.HdNoticeShown;
  if (!noticeShown) {
    // The notice is read before the file choice, so it is shown at once, not returned.
    dialogs.Show(medium == Medium::kUsb
                     ? "To access items on the USB stick, please install your USB device on the PC."
                     : "To access items on the Tyros 4-5 hard drive, please place your instrument "
                       "in HD Storate Mode by holding down the MusicFinder button while turning on "
                       "the power.\r\n\r\nNote that this process might take a minute or two; "
                       "please be patient.");
    noticeShown = true;
  }

  const std::optional<std::string> path = dialogs.OpenFile(request);
  if (!path) return;
  const std::optional<std::string> reference = MediaReference(
      medium, *path, HasDriveLetter(*path) || !volumeRootOf ? std::string() : volumeRootOf(*path));
  if (!reference) {
    outcome.Fail(Problem::kRefused,
                 medium == Medium::kUsb
                     ? "This file is not on a drive of its own, so the instrument cannot find it. "
                       "Please choose a file on the USB stick."
                     : "This file is not on a drive of its own, so the instrument cannot find it. "
                       "Please choose a file on the instrument's hard disk.");
    return;
  }

  editor.cboStyle = -1;
  editor.lblSelectedFile = *reference;
  state.EditStyleOrFile = *reference;
  // "HD" changes only the options and the tempo box; "USB" also the labels and section combos.
  const std::size_t count =
      medium == Medium::kUsb ? kTimingControls.size() : kTimeSigAndTempoControls;
  EnableTimingControls(editor, !IsPlayOnly(*reference), count);
}

}  // namespace

std::string MediaFileFilter() {
  return std::string("Files(") + kMediaFileList + ")|" + kMediaFileList + "|";
}

std::optional<std::string> MediaReference(Medium medium, const std::string& path,
                                          const std::string& volumeRoot) {
  std::string onMedium;
  if (HasDriveLetter(path)) {
    onMedium = path.substr(2);
    std::replace(onMedium.begin(), onMedium.end(), '\\', '/');
  } else {
    if (volumeRoot.empty() || path.empty() || path.front() != '/') return std::nullopt;
    std::string root = volumeRoot;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    if (root == "/") {
      onMedium = path;
    } else if (path.size() > root.size() && path.starts_with(root) && path[root.size()] == '/') {
      onMedium = path.substr(root.size());
    } else {
      return std::nullopt;
    }
  }
  const std::string_view name = WithoutLeadingSlashes(onMedium);
  if (name.empty()) return std::nullopt;
  return std::string(medium == Medium::kUsb ? "USB:/" : "HD:/") + Utf8ToCp1252(std::string(name));
}

Outcome BrowseUsbMedia(AppState& state, Dialogs& dialogs, const VolumeRootOf& volumeRootOf) {
  return RunGuarded("cmdBrowse_Click", [&](Outcome& outcome) {
    Browse(state, dialogs, outcome, volumeRootOf, Medium::kUsb);
  });
}

Outcome BrowseHdMedia(AppState& state, Dialogs& dialogs, const VolumeRootOf& volumeRootOf) {
  return RunGuarded("cmdBrowse2_Click", [&](Outcome& outcome) {
    Browse(state, dialogs, outcome, volumeRootOf, Medium::kHd);
  });
}

}  // namespace cadenzo
