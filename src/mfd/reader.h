// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// One chunk of the file-reference block: the record position (from 0), type and stored path.
struct FileReference {
  std::size_t offset = 0;  // of the chunk in the file
  int position = 0;
  int type = 0;
  std::string path;  // with its drive letter, as stored
};

// The chunks of the file-reference block that follows recordCount records; none when the file
// has no block. A path ends at its zero byte or at the end of its chunk; no read looks past the
// chunk, so the work is linear in the size of the bytes.
std::vector<FileReference> ReadFileReferenceBlock(std::span<const std::uint8_t> bytes,
                                                  int recordCount);

// The style number a record of `source` stores for a user style the list shows as the number
// `shown`, written with `digits` digits: the inverse of how the reader shows user styles.
long long StoredUserStyleNumber(std::string_view source, bool autoDetect, long long shown,
                                std::size_t digits);

// The drive of a stored media path as the list shows it ("I:" becomes "USB:", ...).
std::string ShowDrive(const std::string& path);

// The decoding step of the reader: every record of FileBytes into a row of the list (replacing
// the rows), the user styles into the editor's style list, the media paths of the file-reference
// block, the genre lists. Uses SourceInstrument, SourceStyles and AutoDetect as the reader left
// them. Throws RuntimeError 9 at the first record a truncated file does not hold.
void ReadRecordRows(AppState& state);
// Adds the rows of records first to last (counted from 1) of the file image at the end of the
// list, decoded as the reader decodes them; their genres and user styles join the editor's lists.
void AddRecordRows(AppState& state, int first, int last);

// Reads FileBytes into the record list: detection, source styles, every row, media paths, the
// genre list, the editor's lists, enabled controls, caption, the preview pass. Errors are
// recorded under "List1"; a file shorter than its count is read as far as its bytes go and the
// outcome says kDamaged with the first record it lacks.
Outcome ReadMusicFinderFile(AppState& state, Dialogs& dialogs);

// The words for a damaged file: which record of how many the header announces is cut off, at
// which byte the file ends, and how many records before it are shown (and saved).
std::string DamagedFileText(const std::string& name, int record, int announced,
                            std::size_t fileSize);
// The words for a file that is no Music Finder file.
std::string NotMusicFinderText(const std::string& name);

// Loads a whole file into FileBytes; FileBytes is untouched unless the load succeeds. A missing
// or unreadable file, an empty one or one too large fail with kBadFile.
Outcome LoadFileBytes(Document& state, const std::string& path);

// The largest file accepted: a full record area plus a generous file-reference block.
inline constexpr std::size_t kMaxMusicFinderFileSize = 64u << 20;

// What opening a NetCommon file asks: a file for every model wants a target.
inline constexpr const char* kSelectTargetText =
    "Please select your Target Instrument if not already done.";

// The open procedure: resets the selection, loads CurrentFilePath and reads it. Errors are
// recorded under "Entry"; the outcome names the file.
Outcome OpenMusicFinderFile(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
