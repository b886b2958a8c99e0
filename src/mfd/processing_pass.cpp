#include "mfd/processing_pass.h"

#include <ctime>

#include "app/report_error.h"
#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "mfd/byte_io.h"
#include "mfd/image_writer.h"
#include "mfd/record.h"
#include "textio/cp1252.h"
#include "textio/delimited_export.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
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

bool EndsWithBang(const std::string& text) { return !text.empty() && text.back() == '!'; }

}  // namespace

std::string DefaultStyleMissingMessage(const std::string& defaultStyle, const std::string& target) {
  return "The default style \"" + defaultStyle + "\" is not on the style list of " + target +
         ".\r\nNothing was saved. Please choose another default style.";
}

bool DefaultStyleOnTarget(const std::string& appPath, const std::string& target,
                          const std::string& defaultStyle) {
  if (defaultStyle == "None" || defaultStyle.empty()) return true;
  const TargetMaps maps = BuildTargetMaps(appPath, target);
  const std::string* number = maps.nameMap.Find(NormalizeStyleName(defaultStyle));
  return number != nullptr && StyleNumberValue(*number).has_value();
}

PassResult SaveMusicFinderx(AppState& state, Dialogs& dialogs, const std::string& target,
                            bool checkedOnly, PassMode mode) {
  PassResult result;
  BusyGuard busy(dialogs);
  RunReported(dialogs, "SaveMusicFinderx", [&] {
    ImageWriter writer(state.FileBytes, target);
    const TargetMaps maps = BuildTargetMaps(state.AppPath, target);
    std::string log = "Style conversions to " + state.DefaultStyle + "   " + NowText() + "\r\n\r\n";
    int logCounter = 1;
    state.ShowConversionNotes = false;

    RecordList& list = state.List;
    // The walk goes in the order of the records in the file, but the rows stay where they are
    // until the end. A pass that stops early leaves them sorted by Number.
    const std::vector<std::uint32_t> recordOrder = list.RecordOrder();
    const auto stopInRecordOrder = [&] { list.SetSortKey(col::kNumber, false); };
    // Rows whose style text ends in "!" (unplaced imported styles) take UnknownStyleColor at the
    // end. They are counted on the way, so that a list without any is not walked a second time.
    std::size_t unplacedRows = 0;
    try {
      const std::span<const std::uint8_t> bytes = state.FileBytes;
      const int recordCount = HeaderCount(bytes);
      const bool keepsRefs = KeepsFileReferences(target);
      if (keepsRefs && recordCount > 0) writer.BeginFileReferences();
      // A save for the model the file came from keeps what it read.
      const bool sameModel = target == state.SourceInstrument;

      // The number DefaultStyle has on the target, for records given the default style.
      const bool defaultNamed = !(state.DefaultStyle == "None" || state.DefaultStyle.empty());
      const std::string* defaultStyle = maps.nameMap.Find(NormalizeStyleName(state.DefaultStyle));
      const int defaultStyleNumber =
          defaultStyle != nullptr ? StyleNumberValue(*defaultStyle).value_or(-1) : -1;
      const auto logLine = [&](std::size_t r, const std::string& text) {
        log += NumberText(logCounter) + "  " + LogSongName(bytes, r) + "   " + text + "\r\n";
        ++logCounter;
      };

      const std::size_t rows =
          std::min<std::size_t>(list.Size(), static_cast<std::size_t>(recordCount));
      for (std::size_t i = 0; i < rows; ++i) {
        Row& row = list[recordOrder[i]];
        if (EndsWithBang(row.Cell(col::kStyle))) ++unplacedRows;
        if (row.deleted) continue;
        if (checkedOnly && !row.checked) continue;
        ++result.recordsRead;

        int newStyle = -1;
        bool notFound = false;
        // The row's own record.
        if (row.record < 1 || row.record > static_cast<std::uint32_t>(recordCount)) {
          throw RuntimeError(err::kSubscriptOutOfRange);
        }
        const std::size_t r = mfd::RecordOffset(row.record);
        const int s = ReadU16(bytes, r + mfd::kStyle);

        const std::string& styleText = row.Cell(col::kStyle);
        const bool media = styleText.find(':') != std::string::npos;
        if (!media) {
          if (const auto found = ResolveTargetStyleMatch(s, styleText, maps)) {
            newStyle = found->number;
            // A user style whose number the target gives one of its own styles would come back
            // as that style.
            notFound = !sameModel && state.AutoDetect && IsStyleNumberText(styleText) &&
                       TargetNamesNumber(std::to_string(s), maps);
          } else if (sameModel && styleText.empty() && (s >> 8) == 0xFF) {
            newStyle = s;  // no style, or a media record without a path: as it was read
          } else {
            notFound = true;
          }
        } else {
          const std::string prefix = styleText.substr(0, styleText.find(':') + 1);
          const bool keeps = sameModel || IsTyros4Or5(target) ||
                             (keepsRefs && (UpperCp1252(prefix) == "USB:" || prefix == "Preset:"));
          notFound = !keeps;
        }
        // A record cut off inside its song name fails here, whether or not the log needs the name.
        CheckRange(bytes.size(), r + mfd::kMusic, mfd::kMusicLength);

        // A style found under a near name (a trailing digit dropped or added) counts as found.
        const bool red = notFound;
        row.styleColor = red ? kRed : kBlack;
        if (red) state.ShowConversionNotes = true;

        // A media reference kept with its path.
        const bool keptMedia = media && !notFound;
        if (notFound) {
          // A media file cannot be kept as a user style: without its path it points at nothing.
          const bool mediaRecord = media || s == mfd::kMediaStyle;
          if (state.AllowUserStyles && !mediaRecord) {
            newStyle = s;
          } else if (!state.AllowUserStyles && defaultNamed && defaultStyleNumber >= 0) {
            logLine(r, NormalizeStyleName(styleText));
            newStyle = defaultStyleNumber;
            ++result.givenDefault;
          } else {
            if (!state.AllowUserStyles && defaultNamed) {
              ++result.needsMissingDefault;
              logLine(r, NormalizeStyleName(styleText) + "   left out: the default style " +
                             state.DefaultStyle + " is not on the style list of " + target);
            } else if (mediaRecord) {
              logLine(r, styleText + "   left out: " + target + " cannot keep this media file");
            }
            ++result.dropped;
            continue;
          }
        }

        if (keptMedia) {
          if (!writer.HasFileReferences()) writer.BeginFileReferences();
          newStyle = mfd::kMediaStyle;
          writer.AddFileReference(writer.Written(), styleText);
          ++result.mediaReferences;
        }
        if (newStyle == -1) {
          ++result.dropped;
          continue;
        }
        writer.EmitRecord(writer.Written(), newStyle, r);
        if (keptMedia && IsMediaFilePath(styleText)) writer.MarkMediaFile();
      }
      for (std::size_t i = rows; i < list.Size(); ++i) {
        if (EndsWithBang(list[recordOrder[i]].Cell(col::kStyle))) ++unplacedRows;
      }
      result.written = writer.Written();
      state.SaveBytes = writer.FinishImage();

      if (mode == PassMode::kSave && result.needsMissingDefault > 0) {
        // Nothing is written: records would be left out that the user meant to keep.
        dialogs.Show(DefaultStyleMissingMessage(state.DefaultStyle, target));
        result.refusedDefaultStyle = true;
      } else if (mode == PassMode::kSave) {
        if (!CheckCapacity(dialogs, target, result.written)) {
          stopInRecordOrder();
          return;
        }
        result.savedPath = SaveFile(state, dialogs);
        result.saved = !result.savedPath.empty();
      }
    } catch (...) {
      stopInRecordOrder();
      throw;
    }

    // As a sort in record order and then one by SortColumn would leave them.
    list.SetSortKeyAfter(recordOrder, state.SortColumn);
    try {
      WriteFileAtomic(
          state.ExportLogPath.empty() ? state.UserFolder + "ExportLog.txt" : state.ExportLogPath,
          log, Flush::kWriteBack);
    } catch (const RuntimeError& e) {
      ReportError(dialogs, e, "WriteTextFileContents");
    }
    for (std::size_t i = 0; i < list.Size() && unplacedRows > 0; ++i) {
      Row& row = list[i];
      if (EndsWithBang(row.Cell(col::kStyle))) {
        row.styleColor = state.UnknownStyleColor;
        state.ShowConversionNotes = true;
        --unplacedRows;
      }
    }
    // The user's selection stays where it was: the commands that act on the selected row must
    // not be moved to whichever row the pass looked at last.
    result.completed = !result.refusedDefaultStyle;
  });
  return result;
}

}  // namespace cadenzo
