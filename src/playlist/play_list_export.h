// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "playlist/play_list.h"
#include "rows/record_list.h"

namespace cadenzo {

// The readable export of the play list in its current layout and display order, numbered 1 to n
// in that order. Every line ends in CR LF, the last included, so that the file (the writer adds
// one more line break) ends with an empty line.
std::string PlayListPlainText(const PlayList& list);

// The importable export: for every play-list row, the complete main row it was taken from in the
// delimited layout of the main export, its song name prefixed with the play position as three
// digits and a blank ("001 "). The final CR LF is left off: the writer adds it.
std::string PlayListImportableText(const PlayList& list, const RecordList& main);

// The main row a play-list row was taken from: the row numbered CdzIndex, unless it no longer
// shows the song while another row does (a different file was read since). Null when neither
// exists or the record was deleted since: such a song is left out of the importable export.
const Row* SourceRowOf(const PlayListRow& row, PlayListLayout layout, const RecordList& main);

// "Save As" > "&Delimited Text File" of the play list. Errors while building the text are
// reported with "PlayList TextFile".
Outcome ExportPlayListText(const PlayList& list, AppState& state, Dialogs& dialogs);
// "Save As" > "Delimited Text File (&importable)". Errors while building the text are reported
// with "mnuTextFileImportable".
Outcome ExportPlayListImportable(const PlayList& list, AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
