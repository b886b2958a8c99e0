// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"
#include "catalogue/style_list.h"

namespace cadenzo {

enum class PassMode { kPreview, kSave };

// What the save makes of one record.
enum class RecordFate {
  kUnchanged,         // written with the style it has
  kStyleChanged,      // written with the target's number for its style
  kDefaultStyle,      // written with the default style (the target lacks its style)
  kUserStyle,         // kept as a user style under its own number
  kMediaReference,    // written as a media record with its path in the file-reference block
  kLeftOutMedia,      // left out: a media record the target cannot keep
  kLeftOutNoDefault,  // left out: it needs the default style, which the target's list lacks
  kLeftOutNoStyle,    // left out: the target lacks its style and nothing may stand in for it
};

inline bool IsWritten(RecordFate fate) { return fate <= RecordFate::kMediaReference; }

// One record of the walk in record order.
struct RecordPlan {
  std::uint32_t row = 0;     // the row's index in the list
  std::uint32_t record = 0;  // the record's position in the file, from 1
  RecordFate fate = RecordFate::kUnchanged;
  int style = -1;                      // the style number written
  bool red = false;                    // the target lacks the style: the row is shown red
  std::optional<std::string> logNote;  // the conversion log's text for the record
};

// The decision of a pass, made without writing anything: every record considered and its fate,
// with the counts a summary of the conversion shows.
struct SavePlan {
  std::vector<RecordPlan> records;
  int recordsRead = 0;  // rows considered (not deleted, and checked when checkedOnly)
  int deleted = 0;      // rows passed over as deleted
  int unchecked = 0;    // rows passed over as not checked (checkedOnly)
  int written = 0;
  int unchanged = 0;
  int styleChanged = 0;
  int givenDefault = 0;
  int userStyles = 0;
  int mediaReferences = 0;
  int dropped = 0;  // left out, for any of the reasons below
  int leftOutMedia = 0;
  int needsMissingDefault = 0;
  int leftOutNoStyle = 0;
  bool fileReferences = false;  // the output has a file-reference block from its start
  // The walk stopped at a record the bytes do not hold: the error, and the records before it.
  std::optional<RuntimeError> error;
  std::uint32_t failedRecord = 0;  // the record of the row the walk stopped at
};

// What the plan decides by: the target, the options of the conversion.
struct SaveOptions {
  std::string target;
  std::string sourceInstrument;
  std::string defaultStyle;
  bool autoDetect = true;
  bool allowUserStyles = true;
  bool checkedOnly = false;
};

// Decides every record's fate for a save to the target: walks the rows in record order over the
// records the header counts. No I/O and no dialogs; the maps are those of the target's list.
SavePlan PlanSave(std::span<const std::uint8_t> bytes, const RecordList& list,
                  const TargetMaps& maps, const SaveOptions& options);

// The options of a save for the target as the state holds them.
SaveOptions SaveOptionsFor(const AppState& state, const std::string& target, bool checkedOnly);

// A record the save changes or leaves out, for the dry run's detail lines.
struct PlanChange {
  int running = 0;           // counted from 1 over the changes
  std::uint32_t record = 0;  // the record's position in the file, from 1
  RecordFate fate = RecordFate::kUnchanged;
  std::string song;  // the row's song name
  std::string from;  // the row's style text ("(no style)" when it has none)
  std::string to;    // the style written, when the record is written
  std::string why;   // why the record is left out, when it is
};

// What a save would do, worked out without writing anything: the plan, its summary sentence and
// the records it changes.
struct DryRun {
  SavePlan plan;
  std::string target;
  std::string summary;
  std::vector<PlanChange> changes;
};

// Words a plan as one sentence, such as "289 records will be written: 277 unchanged, 6 given
// the default style Chart3, 6 kept as user styles; 8 left out: 3 deleted, 5 media records the
// target cannot keep". Parts that are zero are left out. A plan the save would refuse, a file
// damaged at a record and a count beyond the target's capacity are said instead or after.
std::string PlanSummary(const SavePlan& plan, const SaveOptions& options);

// The records of a plan that do not go out as they are (renumbered, given the default style,
// kept as user styles, left out), in record order. targetNames: the names the target's list
// gives its style numbers.
std::vector<PlanChange> PlanChanges(const SavePlan& plan, const RecordList& list,
                                    const SaveOptions& options,
                                    const std::map<int, std::string>& targetNames);

// "0003  Moon River   Funk -> Funk1 (0020)" or "0004  Mine   5000   left out: ...".
std::string ChangeLine(const PlanChange& change);

// The dry run of a save of the open file for the target: nothing is written, nothing in the
// state changes.
DryRun PlanDryRun(const AppState& state, const std::string& target, bool checkedOnly);

// What one pass did, for the command line's summary and for tests.
struct PassResult {
  Outcome outcome;
  bool completed = false;  // false: an error was reported, or the user refused at the capacity
  bool saved = false;      // save mode: the file was written
  int recordsRead = 0;     // rows considered (not deleted, and checked when checkedOnly)
  int written = 0;
  int givenDefault = 0;
  int dropped = 0;
  int mediaReferences = 0;
  // Records that needed the default style while the target's list lacks it (left out).
  int needsMissingDefault = 0;
  // Save mode: nothing was written because such records would have been left out.
  bool refusedDefaultStyle = false;
  std::string savedPath;
};

// With user styles off, a target whose style list is in neither style folder knows no style, and
// a save would drop every record: the save is refused (kStyleList, with MissingStyleList's
// message) and true returned.
bool RefuseSaveWithoutStyleList(const RunOptions& run, const std::string& target, Outcome& outcome);

// Whether records can be given the default style on the target: "None" or empty (such records
// are left out), or a name on the target's list.
bool DefaultStyleOnTarget(const StyleFolders& folders, const std::string& target,
                          const std::string& defaultStyle);
// The refusal when records need a default style that the target's list lacks.
std::string DefaultStyleMissingMessage(const std::string& defaultStyle, const std::string& target);

// The status line of a save: the records written to the file, and those left out and why.
std::string SavedStatus(const SavePlan& plan, const std::string& name);

// The record processing pass: converts every row for the target, colours the "Style or File"
// cells, builds SaveBytes, rewrites ExportLog.txt in the user folder, and in save mode checks the
// capacity and writes the file the user names. Errors are recorded under "SaveMusicFinderx"; the
// dialogs are asked only the capacity question and for the file.
PassResult SaveMusicFinderx(AppState& state, Dialogs& dialogs, const std::string& target,
                            bool checkedOnly, PassMode mode);

// The preview pass for the current target, as every trigger runs it (none when SkipPreview).
inline PassResult RunPreview(AppState& state, Dialogs& dialogs) {
  if (state.SkipPreview) return {};
  return SaveMusicFinderx(state, dialogs, state.TargetInstrument, false, PassMode::kPreview);
}

}  // namespace cadenzo
