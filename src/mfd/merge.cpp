// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/merge.h"

#include <algorithm>
#include <span>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "mfd/byte_io.h"
#include "mfd/file_commands.h"
#include "mfd/image_writer.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace cadenzo {

namespace {

constexpr const char* kOpenFirst = "Please open a existing or blank music finder file first";

// The other file read as the open one would be, with the open file's options, without a preview.
Outcome ReadOther(const AppState& state, Dialogs& dialogs, const std::string& path,
                  AppState& other) {
  // The open file's options, and nothing else of its state.
  static_cast<RunOptions&>(other) = static_cast<const RunOptions&>(state);
  other.SkipPreview = true;
  other.AutoDetect = true;
  other.KeepSourceInstrument = false;
  other.TargetInstrument = state.SourceInstrument;
  other.CurrentFilePath = path;
  other.FileName = NamePartOf(path);
  Outcome read = LoadFileBytes(other, path);
  if (read.Ok()) read = ReadMusicFinderFile(other, dialogs);
  return read;
}

std::string Plural(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

MergeResult MergeMusicFinderFile(AppState& state, Dialogs& dialogs, const std::string& path) {
  MergeResult result;
  const std::string name = NamePartOf(path);
  result.outcome = RunGuarded("Merge", [&](Outcome& outcome) {
    outcome.file = path;
    if (!state.FileLoaded || state.SourceInstrument.empty()) {
      outcome.Fail(Problem::kRefused, kOpenFirst);
      return;
    }
    AppState other;
    Outcome read = ReadOther(state, dialogs, path, other);
    if (!read.Ok()) {
      // Only a file read whole is merged: nothing of a damaged one.
      const Problem why = read.problem;
      outcome.Absorb(std::move(read));
      outcome.Fail(why, name + " could not be read whole, so nothing was merged.");
      return;
    }

    const std::string& model = state.SourceInstrument;
    const TargetMaps maps = BuildTargetMaps(StyleFoldersOf(state), model);
    const SaveOptions options{.target = model,
                              .sourceInstrument = other.SourceInstrument,
                              .defaultStyle = state.DefaultStyle,
                              .autoDetect = true,
                              .allowUserStyles = state.AllowUserStyles};
    const SavePlan plan = PlanSave(other.FileBytes, other.List, maps, options);
    if (plan.error) throw RuntimeError(*plan.error);
    if (plan.needsMissingDefault > 0) {
      outcome.Fail(Problem::kStyleList, DefaultStyleMissingMessage(state.DefaultStyle, model));
      return;
    }

    const int count = HeaderCount(state.FileBytes);
    const int total = count + plan.written;
    if (total > 0xFFFF) {
      outcome.Fail(Problem::kRefused, "A Music Finder file holds at most 65535 records; with the " +
                                          Plural(plan.written, "record", "records") + " of " +
                                          name + " it would have " + std::to_string(total) +
                                          ". Nothing was merged.");
      return;
    }
    if (!CheckCapacity(dialogs, model, total)) {
      outcome.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }

    // The records, with the styles the plan gives them on this model, after the open file's.
    std::vector<std::string> mediaTexts;
    for (const RecordPlan& record : plan.records) {
      if (!IsWritten(record.fate)) continue;
      const std::size_t from = mfd::RecordOffset(record.record);
      const std::size_t r = AppendRecord(state.FileBytes);
      std::copy_n(other.FileBytes.begin() + static_cast<std::ptrdiff_t>(from), mfd::kRecordSize,
                  state.FileBytes.begin() + static_cast<std::ptrdiff_t>(r));
      const int n = HeaderCount(state.FileBytes);
      WriteU16(state.FileBytes, r + mfd::kNumber, static_cast<std::uint16_t>(n - 1));
      WriteU16(state.FileBytes, r + mfd::kStyle, static_cast<std::uint16_t>(record.style));
      mediaTexts.push_back(record.fate == RecordFate::kMediaReference
                               ? std::string(other.List[record.row].Cell(col::kStyle))
                               : std::string());
    }
    result.merged = plan.written;
    result.leftOut = plan.dropped;
    if (plan.written == 0) {
      outcome.Report(name + " has no record to merge");
      return;
    }

    // Their rows, checked; every other row unchecked.
    for (Row& row : state.List) row.checked = false;
    const std::size_t firstRow = state.List.Size();
    AddRecordRows(state, count + 1, total);
    for (std::size_t i = firstRow; i < state.List.Size(); ++i) {
      Row& row = state.List[i];
      row.checked = true;
      if (const std::string& media = mediaTexts[i - firstRow]; !media.empty()) {
        row.SetCell(col::kStyle, media);
      }
    }
    result.firstRecord = static_cast<std::uint32_t>(count + 1);
    state.List.Resort();
    state.CheckCommands.deleteChecked = CheckCommandRules::DeleteChecked::kFollowsMarks;
    state.CheckCommands.playListWithoutMarks = true;
    state.FileSaved = false;
    outcome.Absorb(RunPreview(state, dialogs).outcome);

    std::string line = "Merged " + Plural(plan.written, "record", "records") + " from " + name;
    if (plan.dropped > 0) line += " (" + std::to_string(plan.dropped) + " left out)";
    outcome.Report(std::move(line));
  });
  return result;
}

MergeResult ChooseAndMergeFile(AppState& state, Dialogs& dialogs) {
  if (!state.FileLoaded) {
    MergeResult refused;
    refused.outcome.Fail(Problem::kRefused, kOpenFirst);
    return refused;
  }
  const std::string folder = !state.OpenFolder.empty() ? state.OpenFolder : state.SaveFolder;
  const auto chosen = dialogs.OpenFile({.title = "Merge", .folder = folder, .filter = kMfdFilter});
  if (!chosen || chosen->empty()) {
    MergeResult cancelled;
    cancelled.outcome.problem = Problem::kCancelled;
    return cancelled;
  }
  return MergeMusicFinderFile(state, dialogs, *chosen);
}

}  // namespace cadenzo
