// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <functional>

#include "app/app_state.h"
#include "app/dialogs.h"

namespace cadenzo {

class MainWindow;

// Options > Open Style Folder (mnuOpenStyleFolder): makes the user's styles folder when missing
// and shows it in the file manager.
void AddStyleFolderCommand(MainWindow& window, const AppState& state, Dialogs& dialogs);

// How Open Style Folder hands the folder to the desktop (QDesktopServices::openUrl); tests put a
// recorder here so that nothing is launched.
std::function<bool(const QUrl&)>& StyleFolderUrlOpener();

// The target combo's tooltip: why the chosen target has no style list and where to add one;
// none when it has a list.
void ShowTargetStyleListNote(MainWindow& window, const AppState& state);

// Actions > Find Duplicates (mnuFindDuplicates) and the option beside it, Compare Song Names
// Only (mnuDuplicatesSongOnly, off at every start): checks every repeated record and scrolls
// the first checked row into view.
void AddFindDuplicatesCommands(MainWindow& window, AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
