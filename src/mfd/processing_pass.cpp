// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/processing_pass.h"

#include <array>
#include <ctime>
#include <map>
#include <unordered_map>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/image_writer.h"
#include "mfd/record.h"
#include "textio/delimited_export.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::array<char, 64> buffer{};
  std::strftime(buffer.data(), buffer.size(), "%Y-%m-%d %H:%M:%S", &local);
  return buffer.data();
}

// The song name as the log shows it: bytes outside "0" to "}" become blanks, then trimmed.
std::string LogSongName(std::span<const std::uint8_t> bytes, std::size_t r) {
  CheckRange(bytes.size(), r + mfd::kMusic, mfd::kMusicLength);
  std::string name;
  for (std::size_t i = 0; i < mfd::kMusicLength; ++i) {
    const std::uint8_t b = bytes[r + mfd::kMusic + i];
    name.push_back(b < 48 || b > 125 ? ' ' : static_cast<char>(b));
  }
  return std::string(TrimBlanks(name));
}

bool IsTyros4Or5(std::string_view target) { return target == "TYROS 4" || target == "TYROS 5"; }

bool EndsWithBang(std::string_view text) { return !text.empty() && text.back() == '!'; }

}  // namespace

std::string DefaultStyleMissingMessage(const std::string& defaultStyle, const std::string& target) {
  return "The default style \"" + defaultStyle + "\" is not on the style list of " + target +
         ".\r\nNothing was saved. Please choose another default style.";
}

bool RefuseSaveWithoutStyleList(const RunOptions& run, const std::string& target,
                                Outcome& outcome) {
  if (run.AllowUserStyles) return false;
  auto missing = MissingStyleList(StyleFoldersOf(run), target);
  if (!missing) return false;
  outcome.Fail(Problem::kStyleList,
               MessageRequest{.text = std::move(*missing), .icon = Icon::kExclamation});
  return true;
}

bool DefaultStyleOnTarget(const StyleFolders& folders, const std::string& target,
                          const std::string& defaultStyle) {
  if (defaultStyle == "None" || defaultStyle.empty()) return true;
  const TargetMaps maps = BuildTargetMaps(folders, target);
  const std::string* number = maps.nameMap.Find(NormalizeStyleName(defaultStyle));
  return number != nullptr && StyleNumberValue(*number).has_value();
}

namespace {

// What every record of a plan is decided by, worked out once.
struct PlanContext {
  const TargetMaps& maps;
  const SaveOptions& options;
  bool sameModel = false;  // a save for the model the file came from keeps what it read
  bool keepsRefs = false;
  bool defaultNamed = false;
  int defaultStyleNumber = -1;  // the number DefaultStyle has on the target
};

// The fate of a record whose style the target lacks: kept as a user style, given the default
// style, or left out.
void DecideMissingStyle(RecordPlan& plan, bool media, int s, std::string_view styleText,
                        const PlanContext& c) {
  // A media file cannot be kept as a user style: without its path it points at nothing.
  const bool mediaRecord = media || s == mfd::kMediaStyle;
  const bool allowUser = c.options.allowUserStyles;
  if (allowUser && !mediaRecord) {
    plan.fate = RecordFate::kUserStyle;
    plan.style = s;
  } else if (!allowUser && c.defaultNamed && c.defaultStyleNumber >= 0) {
    plan.fate = RecordFate::kDefaultStyle;
    plan.style = c.defaultStyleNumber;
    plan.logNote = NormalizeStyleName(styleText);
  } else if (!allowUser && c.defaultNamed) {
    plan.fate = RecordFate::kLeftOutNoDefault;
    plan.logNote = NormalizeStyleName(styleText) + "   left out: the default style " +
                   c.options.defaultStyle + " is not on the style list of " + c.options.target;
  } else if (mediaRecord) {
    plan.fate = RecordFate::kLeftOutMedia;
    plan.logNote = std::string(styleText) + "   left out: " + c.options.target +
                   " cannot keep this media file";
  } else {
    plan.fate = RecordFate::kLeftOutNoStyle;
  }
}

// The fate of a record by its stored style number and its style text; row and record are left
// for the caller.
RecordPlan DecideStyle(int s, std::string_view styleText, bool media, const PlanContext& c) {
  RecordPlan plan;
  int newStyle = -1;
  bool notFound = false;
  if (!media) {
    if (const auto found = ResolveTargetStyleMatch(s, styleText, c.maps)) {
      newStyle = found->number;
      // A user style whose number the target gives one of its own styles would come back as
      // that style.
      notFound = !c.sameModel && c.options.autoDetect && IsStyleNumberText(styleText) &&
                 TargetNamesNumber(std::to_string(s), c.maps);
    } else if (c.sameModel && styleText.empty() && (s >> 8) == 0xFF) {
      newStyle = s;  // no style, or a media record without a path: as it was read
    } else {
      notFound = true;
    }
  } else {
    const std::string prefix(styleText.substr(0, styleText.find(':') + 1));
    notFound = !(c.sameModel || IsTyros4Or5(c.options.target) ||
                 (c.keepsRefs && (UpperCp1252(prefix) == "USB:" || prefix == "Preset:")));
  }
  // A style found under a near name (a trailing digit dropped or added) counts as found.
  plan.red = notFound;
  if (notFound) {
    DecideMissingStyle(plan, media, s, styleText, c);
    return plan;
  }
  if (media) {
    plan.fate = RecordFate::kMediaReference;  // kept with its path
    plan.style = mfd::kMediaStyle;
  } else if (newStyle == -1) {
    plan.fate = RecordFate::kLeftOutNoStyle;
  } else {
    plan.fate = newStyle == s ? RecordFate::kUnchanged : RecordFate::kStyleChanged;
    plan.style = newStyle;
  }
  return plan;
}

// The decisions of a pass by stored style number, with the style text each was made for: a file
// holds a few hundred styles over many thousands of records, and the text nearly always follows
// the number.
using DecisionCache = std::unordered_map<int, std::pair<std::string, RecordPlan>>;

// The fate of one considered record. Throws RuntimeError where the bytes do not hold it.
RecordPlan DecideRecord(std::span<const std::uint8_t> bytes, const Row& row, std::uint32_t index,
                        int recordCount, const PlanContext& c, DecisionCache& decided) {
  if (row.record < 1 || row.record > static_cast<std::uint32_t>(recordCount)) {
    throw RuntimeError(err::kSubscriptOutOfRange);
  }
  const std::size_t r = mfd::RecordOffset(row.record);
  const int s = ReadU16(bytes, r + mfd::kStyle);
  // A record cut off inside its song name fails here, whether or not the log needs the name.
  CheckRange(bytes.size(), r + mfd::kMusic, mfd::kMusicLength);
  const std::string_view styleText = row.Cell(col::kStyle);
  const bool media = styleText.find(':') != std::string_view::npos;
  RecordPlan plan;
  if (media) {
    plan = DecideStyle(s, styleText, media, c);
  } else if (auto [at, fresh] = decided.try_emplace(s); !fresh && at->second.first == styleText) {
    plan = at->second.second;
  } else {
    plan = DecideStyle(s, styleText, media, c);
    at->second = {std::string(styleText), plan};
  }
  plan.row = index;
  plan.record = row.record;
  return plan;
}

void CountFate(SavePlan& plan, RecordFate fate) {
  if (IsWritten(fate))
    ++plan.written;
  else
    ++plan.dropped;
  switch (fate) {
    case RecordFate::kUnchanged:
      ++plan.unchanged;
      break;
    case RecordFate::kStyleChanged:
      ++plan.styleChanged;
      break;
    case RecordFate::kDefaultStyle:
      ++plan.givenDefault;
      break;
    case RecordFate::kUserStyle:
      ++plan.userStyles;
      break;
    case RecordFate::kMediaReference:
      ++plan.mediaReferences;
      break;
    case RecordFate::kLeftOutMedia:
      ++plan.leftOutMedia;
      break;
    case RecordFate::kLeftOutNoDefault:
      ++plan.needsMissingDefault;
      break;
    case RecordFate::kLeftOutNoStyle:
      ++plan.leftOutNoStyle;
      break;
  }
}

// The output image of a plan: the written records in plan order, media paths in the block.
std::vector<std::uint8_t> BuildImage(ImageWriter& writer, const SavePlan& plan,
                                     const RecordList& list) {
  if (plan.fileReferences) writer.BeginFileReferences();
  for (const RecordPlan& record : plan.records) {
    if (!IsWritten(record.fate)) continue;
    const std::string_view styleText = list[record.row].Cell(col::kStyle);
    const bool keptMedia = record.fate == RecordFate::kMediaReference;
    if (keptMedia) {
      if (!writer.HasFileReferences()) writer.BeginFileReferences();
      writer.AddFileReference(writer.Written(), styleText);
    }
    writer.EmitRecord(writer.Written(), record.style, mfd::RecordOffset(record.record));
    if (keptMedia && IsMediaFilePath(styleText)) writer.MarkMediaFile();
  }
  return writer.FinishImage();
}

// The conversion log of a plan.
std::string ConversionLog(std::span<const std::uint8_t> bytes, const SavePlan& plan,
                          const std::string& defaultStyle) {
  std::string log = "Style conversions to " + defaultStyle + "   " + NowText() + "\r\n\r\n";
  int counter = 1;
  for (const RecordPlan& record : plan.records) {
    if (!record.logNote) continue;
    log += NumberText(counter++) + "  " + LogSongName(bytes, mfd::RecordOffset(record.record)) +
           "   " + *record.logNote + "\r\n";
  }
  return log;
}

void CopyCounts(const SavePlan& plan, PassResult& result) {
  result.recordsRead = plan.recordsRead;
  result.givenDefault = plan.givenDefault;
  result.dropped = plan.dropped;
  result.mediaReferences = plan.mediaReferences;
  result.needsMissingDefault = plan.needsMissingDefault;
}

// Save mode after the image is built: the refusal, the capacity question, the file. false: the
// person refused at the capacity question.
bool SaveImage(AppState& state, Dialogs& dialogs, const std::string& target, PassResult& result,
               Outcome& outcome) {
  if (result.needsMissingDefault > 0) {
    // Nothing is written: records would be left out that the user meant to keep.
    outcome.Fail(Problem::kRefused, DefaultStyleMissingMessage(state.DefaultStyle, target));
    result.refusedDefaultStyle = true;
    return true;
  }
  if (!CheckCapacity(dialogs, target, result.written)) {
    outcome.Fail(Problem::kCancelled, MessageRequest{});
    return false;
  }
  SavedFile saved = SaveFile(state, dialogs);
  outcome.Absorb(std::move(saved.outcome));
  result.savedPath = std::move(saved.path);
  result.saved = !result.savedPath.empty();
  return true;
}

}  // namespace

std::string SavedStatus(const SavePlan& plan, const std::string& name) {
  std::string line = "Saved " + Counted(plan.written, "record") + " to " + name;
  std::vector<std::string> parts;
  if (plan.leftOutMedia > 0) parts.push_back(Counted(plan.leftOutMedia, "media record"));
  if (plan.needsMissingDefault > 0) {
    parts.push_back(Counted(plan.needsMissingDefault, "record") + " without a default style");
  }
  if (plan.leftOutNoStyle > 0) {
    parts.push_back(Counted(plan.leftOutNoStyle, "record") + " whose style the target lacks");
  }
  if (parts.empty()) return line;
  line += " (";
  for (std::size_t i = 0; i < parts.size(); ++i) line += (i > 0 ? ", " : "") + parts[i];
  return line + " left out \x97 see the conversion log)";
}

namespace {

void RunPass(AppState& state, Dialogs& dialogs, const std::string& target, bool checkedOnly,
             PassMode mode, PassResult& result, Outcome& outcome) {
  ImageWriter writer(state.FileBytes, target);
  const TargetMaps maps = BuildTargetMaps(StyleFoldersOf(state), target);
  state.ShowConversionNotes = false;
  RecordList& list = state.List;
  // The walk goes in the order of the records in the file, but the rows stay where they are
  // until the end. A pass that stops early leaves them sorted by Number.
  const std::vector<std::uint32_t> recordOrder = list.RecordOrder();
  const auto stopInRecordOrder = [&] { list.SetSortKey(col::kNumber, false); };
  const std::span<const std::uint8_t> bytes = state.FileBytes;
  SavePlan plan;
  try {
    plan = PlanSave(bytes, list, maps, SaveOptionsFor(state, target, checkedOnly));
    CopyCounts(plan, result);
    for (const RecordPlan& record : plan.records) {
      list[record.row].styleColor = record.red ? kRed : kBlack;
      if (record.red) state.ShowConversionNotes = true;
    }
    if (plan.error) {
      outcome.record = static_cast<int>(plan.failedRecord);  // the file is damaged there
      throw RuntimeError(*plan.error);
    }
    state.SaveBytes = BuildImage(writer, plan, list);
    result.written = plan.written;
    if (mode == PassMode::kSave && !SaveImage(state, dialogs, target, result, outcome)) {
      stopInRecordOrder();
      return;
    }
    if (result.saved) outcome.Report(SavedStatus(plan, NamePartOf(result.savedPath)));
  } catch (...) {
    stopInRecordOrder();
    throw;
  }
  // As a sort in record order and then one by SortColumn would leave them.
  list.SetSortKeyAfter(recordOrder, state.SortColumn);
  const std::string logPath =
      state.ExportLogPath.empty() ? state.UserFolder + "ExportLog.txt" : state.ExportLogPath;
  try {
    WriteFileAtomic(logPath, ConversionLog(bytes, plan, state.DefaultStyle), Flush::kWriteBack);
  } catch (const RuntimeError& e) {
    Outcome logFailed;
    if (!NoteWriteRefusal(logFailed, e, logPath))
      RecordError(logFailed, e, "WriteTextFileContents");
    logFailed.problem = Problem::kCannotWrite;
    logFailed.file = logPath;
    outcome.Absorb(std::move(logFailed));
  }
  // Rows whose style text ends in "!" (unplaced imported styles) take UnknownStyleColor.
  for (std::size_t i = 0; i < list.Size(); ++i) {
    Row& row = list[i];
    if (EndsWithBang(row.Cell(col::kStyle))) {
      row.styleColor = state.UnknownStyleColor;
      state.ShowConversionNotes = true;
    }
  }
  // The user's selection stays where it was: the commands that act on the selected row must
  // not be moved to whichever row the pass looked at last.
  result.completed = !result.refusedDefaultStyle;
}

}  // namespace

SavePlan PlanSave(std::span<const std::uint8_t> bytes, const RecordList& list,
                  const TargetMaps& maps, const SaveOptions& options) {
  SavePlan plan;
  const int recordCount = HeaderCount(bytes);
  PlanContext context{.maps = maps, .options = options};
  context.sameModel = options.target == options.sourceInstrument;
  context.keepsRefs = KeepsFileReferences(options.target);
  context.defaultNamed = !(options.defaultStyle == "None" || options.defaultStyle.empty());
  const std::string* defaultStyle = maps.nameMap.Find(NormalizeStyleName(options.defaultStyle));
  context.defaultStyleNumber =
      defaultStyle != nullptr ? StyleNumberValue(*defaultStyle).value_or(-1) : -1;
  plan.fileReferences = context.keepsRefs && recordCount > 0;

  const std::vector<std::uint32_t> recordOrder = list.RecordOrder();
  DecisionCache decided;
  const std::size_t rows =
      std::min<std::size_t>(list.Size(), static_cast<std::size_t>(recordCount));
  for (std::size_t i = 0; i < rows; ++i) {
    const Row& row = list[recordOrder[i]];
    if (row.deleted) {
      ++plan.deleted;
      continue;
    }
    if (options.checkedOnly && !row.checked) {
      ++plan.unchecked;
      continue;
    }
    ++plan.recordsRead;
    try {
      plan.records.push_back(
          DecideRecord(bytes, row, recordOrder[i], recordCount, context, decided));
    } catch (const RuntimeError& e) {
      plan.error = e;
      plan.failedRecord = row.record;
      break;
    }
    CountFate(plan, plan.records.back().fate);
  }
  return plan;
}

SaveOptions SaveOptionsFor(const AppState& state, const std::string& target, bool checkedOnly) {
  return {.target = target,
          .sourceInstrument = state.SourceInstrument,
          .defaultStyle = state.DefaultStyle,
          .autoDetect = state.AutoDetect,
          .allowUserStyles = state.AllowUserStyles,
          .checkedOnly = checkedOnly};
}

namespace {

// "1 record", "3 records".
std::string Counted(int n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// The parts of a count that are not zero.
void AddPart(std::vector<std::string>& parts, int n, const std::string& text) {
  if (n > 0) parts.push_back(std::to_string(n) + " " + text);
}

std::string LeftOutReason(RecordFate fate, const SaveOptions& options) {
  switch (fate) {
    case RecordFate::kLeftOutMedia:
      return options.target + " cannot keep this media file";
    case RecordFate::kLeftOutNoDefault:
      return "it needs the default style " + options.defaultStyle + ", which " + options.target +
             " lacks";
    case RecordFate::kLeftOutNoStyle:
      return options.target + " lacks its style";
    default:
      return {};
  }
}

}  // namespace

std::string PlanSummary(const SavePlan& plan, const SaveOptions& options) {
  if (plan.error) {
    return "The file is damaged at record " + std::to_string(plan.failedRecord) +
           ": nothing can be written.";
  }
  if (plan.needsMissingDefault > 0) {
    return "Nothing will be written: " +
           Counted(plan.needsMissingDefault, "record needs", "records need") +
           " the default style " + options.defaultStyle + ", which is not on the style list of " +
           options.target + ".";
  }
  const bool one = plan.written == 1;
  std::vector<std::string> written;
  AddPart(written, plan.unchanged, "unchanged");
  AddPart(written, plan.styleChanged, "renumbered for the " + options.target);
  AddPart(written, plan.givenDefault, "given the default style " + options.defaultStyle);
  AddPart(written, plan.userStyles,
          plan.userStyles == 1 ? "kept as a user style" : "kept as user styles");
  AddPart(written, plan.mediaReferences,
          plan.mediaReferences == 1 ? "media record kept with its path"
                                    : "media records kept with their paths");
  std::vector<std::string> leftOut;
  AddPart(leftOut, plan.deleted, "deleted");
  AddPart(leftOut, plan.unchecked, "not checked");
  AddPart(leftOut, plan.leftOutMedia,
          plan.leftOutMedia == 1 ? "media record the target cannot keep"
                                 : "media records the target cannot keep");
  AddPart(
      leftOut, plan.leftOutNoStyle,
      (plan.leftOutNoStyle == 1 ? "whose style " : "whose styles ") + options.target + " lacks");
  std::string text = plan.written == 0
                         ? std::string("No record will be written")
                         : std::to_string(plan.written) + (one ? " record" : " records") +
                               " will be written: " + Joined(written);
  const int leftOutCount = plan.deleted + plan.unchecked + plan.dropped;
  if (leftOutCount > 0) {
    text += "; " + std::to_string(leftOutCount) + " left out: " + Joined(leftOut);
  }
  text += ".";
  const int capacity = RecordCapacity(options.target);
  if (capacity != 0 && plan.written > capacity) {
    text += " The " + options.target + " holds only " + std::to_string(capacity) + " records.";
  }
  return text;
}

std::vector<PlanChange> PlanChanges(const SavePlan& plan, const RecordList& list,
                                    const SaveOptions& options,
                                    const std::map<int, std::string>& targetNames) {
  std::vector<PlanChange> changes;
  const auto nameOf = [&](int number) {
    const auto found = targetNames.find(number);
    const std::string digits = NumberText(number);
    return found == targetNames.end() ? digits : found->second + " (" + digits + ")";
  };
  for (const RecordPlan& record : plan.records) {
    if (record.fate == RecordFate::kUnchanged || record.fate == RecordFate::kMediaReference) {
      continue;
    }
    const Row& row = list[record.row];
    PlanChange change{.running = static_cast<int>(changes.size()) + 1,
                      .record = record.record,
                      .fate = record.fate,
                      .song = std::string(TrimBlanks(row.Cell(col::kMusic))),
                      .from = row.Cell(col::kStyle).empty() ? std::string("(no style)")
                                                            : std::string(row.Cell(col::kStyle))};
    switch (record.fate) {
      case RecordFate::kStyleChanged:
        change.to = nameOf(record.style);
        break;
      case RecordFate::kDefaultStyle:
        change.to = "the default style " + nameOf(record.style);
        break;
      case RecordFate::kUserStyle:
        change.to = "user style " + NumberText(record.style);
        break;
      default:
        change.why = LeftOutReason(record.fate, options);
        break;
    }
    changes.push_back(std::move(change));
  }
  return changes;
}

std::string ChangeLine(const PlanChange& change) {
  return NumberText(change.running) + "  " + change.song + "   " + change.from +
         (change.why.empty() ? " -> " + change.to : "   left out: " + change.why);
}

DryRun PlanDryRun(const AppState& state, const std::string& target, bool checkedOnly) {
  DryRun run;
  run.target = target;
  const SaveOptions options = SaveOptionsFor(state, target, checkedOnly);
  const StyleFolders folders = StyleFoldersOf(state);
  // The save refuses a target without a style list while user styles are off: so does the plan.
  if (Outcome refused; RefuseSaveWithoutStyleList(state, target, refused)) {
    run.summary = "Nothing will be written: " +
                  (refused.messages.empty() ? std::string() : refused.messages.front().text);
    return run;
  }
  if (state.FileBytes.size() >= mfd::kHeaderSize) {
    run.plan = PlanSave(state.FileBytes, state.List, BuildTargetMaps(folders, target), options);
  }
  std::map<int, std::string> names;
  for (const StyleListEntry& entry : ReadStyleList(folders, target)) {
    if (const auto number = StyleNumberValue(entry.number)) {
      names.emplace(*number, std::string(TrimBlanks(entry.name)));
    }
  }
  run.summary = PlanSummary(run.plan, options);
  run.changes = PlanChanges(run.plan, state.List, options, names);
  return run;
}

PassResult SaveMusicFinderx(AppState& state, Dialogs& dialogs, const std::string& target,
                            bool checkedOnly, PassMode mode) {
  PassResult result;
  if (mode == PassMode::kSave && RefuseSaveWithoutStyleList(state, target, result.outcome)) {
    return result;
  }
  BusyGuard busy(dialogs);
  result.outcome = RunGuarded("SaveMusicFinderx", [&](Outcome& outcome) {
    RunPass(state, dialogs, target, checkedOnly, mode, result, outcome);
  });
  if (result.outcome.problem == Problem::kUnexpected && result.outcome.record > 0) {
    result.outcome.problem = Problem::kDamaged;
  }
  return result;
}

}  // namespace cadenzo
