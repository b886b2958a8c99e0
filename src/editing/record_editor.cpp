// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/record_editor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "app/outcome.h"
#include "app/runtime_error.h"
#include "catalogue/instrument_table.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/processing_pass.h"
#include "mfd/record.h"

namespace cadenzo {
namespace {

const std::array<ComboEntry, 11> kSectionItems = {{{"Off", 0},
                                                   {"Intro 1", 1},
                                                   {"Intro 2", 2},
                                                   {"Intro 3", 3},
                                                   {"Main A", 4},
                                                   {"Main B", 5},
                                                   {"Main C", 6},
                                                   {"Main D", 7},
                                                   {"Ending 1", 8},
                                                   {"Ending 2", 9},
                                                   {"Ending 3", 10}}};

constexpr std::array<TimeSigChoice, 5> kTimeSigChoices = {{
    {TimeSigOption::k00, "opt00", "0/0", " 0/ 0", 0, 0},
    {TimeSigOption::k24, "opt24", "2/4", " 2/ 4", 2, 4},
    {TimeSigOption::k34, "opt34", "3/4", " 3/ 4", 3, 4},
    {TimeSigOption::k44, "opt44", "4/4", " 4/ 4", 4, 4},
    {TimeSigOption::k68, "opt68", "6/8", " 6/ 8", 6, 8},
}};

constexpr std::array<std::string_view, 7> kStyleFileExtensions = {".sty", ".pcs", ".bcs", ".sst",
                                                                  ".prs", ".pst", ".fps"};
constexpr std::array<std::string_view, 3> kPlayOnlyExtensions = {"mid", "wav", "mp3"};

bool EndsInOneOf(std::string_view text, std::span<const std::string_view> endings,
                 std::size_t length) {
  if (text.size() < length) return false;
  const std::string tail = LowerCp1252(text.substr(text.size() - length));
  return std::ranges::any_of(endings, [&](std::string_view ending) { return tail == ending; });
}

const ComboEntry* SelectedItem(const std::vector<ComboEntry>& items, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return nullptr;
  return &items[static_cast<std::size_t>(index)];
}

const ComboEntry* SelectedSection(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kSectionItems.size()) return nullptr;
  return &kSectionItems[static_cast<std::size_t>(index)];
}

// Everything OK writes, gathered once so that the cells and the bytes cannot disagree.
struct EditedRecord {
  std::string genre;
  std::string music;
  std::string keywords;
  std::string styleText;
  bool media = false;
  int styleNumber = 0;
  bool playOnly = false;
  const TimeSigChoice* timeSig = nullptr;  // none: the record gets no time signature
  std::optional<int> tempo;                // none: the record gets no tempo
  bool favorite = false;
  bool search1 = false;
  bool search2 = false;
  const ComboEntry* intro = kSectionItems.data();
  const ComboEntry* next = kSectionItems.data();
};

const TimeSigChoice* TimeSigOf(std::string_view editTimeSig) {
  for (const auto& choice : kTimeSigChoices) {
    if (choice.editTimeSig == editTimeSig) return &choice;
  }
  return nullptr;
}

// The tempo to store: the leading number of the box, rounded half to even. An empty box gives
// none, so that a record without a tempo keeps having none.
std::optional<int> TempoToStore(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const double rounded = std::nearbyint(LeadingNumberValue(text));
  if (!(rounded >= 0 && rounded <= 0xFFFF)) throw RuntimeError(err::kOverflow);
  return static_cast<int>(rounded);
}

EditedRecord Gather(const EditorDraft& state) {
  const EditorLists& editor = state.Editor;
  EditedRecord rec;
  if (GenreSelected(editor)) rec.genre = editor.cboGenre;
  rec.music = editor.txtMusic;
  rec.keywords = editor.txtKeywords;
  if (state.EditStyleOrFile.empty()) {
    const ComboEntry* style = SelectedItem(editor.styles, editor.cboStyle);
    if (style == nullptr) throw RuntimeError(err::kInvalidCall);
    if (style->data < 0 || style->data > 0xFFFF) throw RuntimeError(err::kOverflow);
    rec.styleText = style->text;
    rec.styleNumber = style->data;
  } else {
    rec.styleText = state.EditStyleOrFile;
    rec.media = true;
    rec.styleNumber = mfd::kMediaStyle;
  }
  rec.playOnly = IsPlayOnly(rec.styleText);
  rec.timeSig = TimeSigOf(state.EditTimeSig);
  rec.tempo = TempoToStore(editor.txtTempo);
  rec.favorite = editor.chkFavorite;
  rec.search1 = editor.chkSearch1;
  rec.search2 = editor.chkSearch2;
  if (const ComboEntry* intro = SelectedSection(editor.cboIntro)) rec.intro = intro;
  if (const ComboEntry* next = SelectedSection(editor.cboSection)) rec.next = next;
  return rec;
}

void FillCells(Row& row, const EditedRecord& rec) {
  row.SetCell(col::kGenre, rec.genre);
  row.SetCell(col::kMusic, rec.music);
  row.SetCell(col::kKeywords, rec.keywords);
  row.SetCell(col::kStyle, rec.styleText);
  if (rec.playOnly) {
    row.SetCell(col::kTimeSig, {});
    row.SetCell(col::kTempo, {});
  } else {
    row.SetCell(col::kTimeSig, rec.timeSig != nullptr ? rec.timeSig->editTimeSig : "");
    row.SetCell(col::kTempo, rec.tempo ? TempoText(*rec.tempo) : "");
  }
  row.SetCell(col::kFav, rec.favorite ? "Yes" : "No");
  row.SetCell(col::kS1, rec.search1 ? "Yes" : "No");
  row.SetCell(col::kS2, rec.search2 ? "Yes" : "No");
  row.SetCell(col::kIntro, rec.intro->text);
  row.SetCell(col::kNext, rec.next->text);
}

// Bytes 2 to 89 of the record at r; the record number and bytes 90 and 91 are not touched.
void WriteRecordBytes(std::span<std::uint8_t> bytes, std::size_t r, const EditedRecord& rec) {
  CheckRange(bytes.size(), r, mfd::kRecordSize);
  WriteU16(bytes, r + mfd::kStyle, static_cast<std::uint16_t>(rec.styleNumber));
  if (rec.playOnly) {
    EncodeTimeSig(bytes, r, 0, 0);
    EncodeTempo(bytes, r, 0);
  } else {
    if (rec.timeSig != nullptr) {
      EncodeTimeSig(bytes, r, rec.timeSig->numerator, rec.timeSig->denominator);
    } else {
      EncodeNoTimeSig(bytes, r);
    }
    if (rec.tempo) {
      EncodeTempo(bytes, r, *rec.tempo);
    } else {
      EncodeNoTempo(bytes, r);
    }
  }
  std::uint8_t flags = 0;
  if (rec.favorite) flags += mfd::kFavorite;
  if (rec.search1) flags += mfd::kSearch1;
  if (rec.search2) flags += mfd::kSearch2;
  WriteU8(bytes, r + mfd::kFlags, flags);
  EncodeText(bytes, r + mfd::kMusic, mfd::kMusicLength, rec.music);
  EncodeText(bytes, r + mfd::kGenre, mfd::kGenreLength, rec.genre);
  EncodeText(bytes, r + mfd::kKeywords, mfd::kKeywordsLength, rec.keywords);
  EncodeSections(bytes, r, rec.intro->data, rec.next->data);
}

void StoreModified(AppState& state, const EditedRecord& rec) {
  const int position = SelectedRecordRow(state);
  if (position < 0) throw RuntimeError(err::kObjectNotSet);
  // A row whose record is not in the image changes nothing, not even its cells.
  const std::size_t r =
      CheckedRecordOffset(state.FileBytes, static_cast<std::uint32_t>(state.SelectedRecord));
  FillCells(state.List[static_cast<std::size_t>(position)], rec);
  WriteRecordBytes(state.FileBytes, r, rec);
  state.Editor.cboIntro = 0;
  state.Editor.cboSection = 0;
}

int StoreAdded(AppState& state, const EditedRecord& rec) {
  const std::size_t n = state.List.Size() + 1;
  // The record number must fit the header count and SelectedRecord.
  if (n > 0x7FFF) throw RuntimeError(err::kOverflow);
  // The image grows first, so that a failure leaves no row without its record.
  SetHeaderCount(state.FileBytes, static_cast<std::uint16_t>(n - 1));
  const std::size_t r = AppendRecord(state.FileBytes);
  WriteU16(state.FileBytes, r + mfd::kNumber, static_cast<std::uint16_t>(n - 1));
  WriteRecordBytes(state.FileBytes, r, rec);

  Row row;
  row.record = static_cast<std::uint32_t>(n);
  row.SetCell(col::kNumber, NumberText(static_cast<int>(n)));
  row.SetCell(col::kFiller, "    ");
  FillCells(row, rec);
  state.List.Add(std::move(row));
  state.List.Resort();
  state.List.SelectOnly(state.List.FindByRecord(static_cast<std::uint32_t>(n)));
  state.SelectedRecord = static_cast<int>(n);
  return static_cast<int>(n);
}

}  // namespace

std::span<const ComboEntry> SectionItems() { return kSectionItems; }

int SelectedRecordRow(const AppState& state) {
  if (state.SelectedRecord <= 0) return -1;
  int found = -1;
  for (std::size_t i = 0; i < state.List.Size(); ++i) {
    const Row& row = state.List[i];
    if (static_cast<int>(row.record) != state.SelectedRecord) continue;
    if (row.selected) return static_cast<int>(i);
    if (found < 0) found = static_cast<int>(i);
  }
  return found;
}

std::span<const TimeSigChoice> TimeSigChoices() { return kTimeSigChoices; }

const TimeSigChoice* CheckedTimeSig(const EditorLists& editor) {
  for (const auto& choice : kTimeSigChoices) {
    if (choice.control == editor.timeSigOption) return &choice;
  }
  return nullptr;
}

void EnableTimingControls(EditorLists& editor, bool on, std::size_t count) {
  if (count >= kTimeSigAndTempoControls) editor.timeSigAndTempoOff = !on;
  if (count >= kTimingControls.size()) editor.sectionsOff = !on;
}

bool IsStyleFile(std::string_view reference) {
  return EndsInOneOf(reference, kStyleFileExtensions, 4);
}

bool IsPlayOnly(std::string_view reference) {
  return EndsInOneOf(reference, kPlayOnlyExtensions, 3);
}

MediaControls MediaControlsFor(std::string_view target) {
  MediaControls shown;
  shown.cmdBrowse = IsMediaModel(target);
  shown.labels = shown.cmdBrowse;
  shown.cmdBrowse2 = target == "TYROS 4" || target == "TYROS 5";
  return shown;
}

void PrepareEditor(EditorDraft& state) {
  EditorLists& editor = state.Editor;
  editor.cboIntro = 0;
  editor.cboSection = 0;
  editor.lblSelectedFile.clear();
}

bool GenreSelected(const EditorLists& editor) {
  return !editor.cboGenre.empty() && std::find(editor.genres.begin(), editor.genres.end(),
                                               editor.cboGenre) != editor.genres.end();
}

void AcceptTypedGenre(EditorLists& editor) {
  // An empty box is not a genre.
  if (editor.cboGenre.empty() || GenreSelected(editor)) return;
  editor.genres.push_back(editor.cboGenre);
}

void ChoosePresetStyle(EditorDraft& state, int index) {
  state.Editor.cboStyle = SelectedItem(state.Editor.styles, index) != nullptr ? index : -1;
  state.Editor.lblSelectedFile.clear();
  state.EditStyleOrFile.clear();
}

Outcome LeaveStyleChoice(EditorDraft& state) {
  return RunGuarded("cboStyle_Validate", [&](Outcome&) {
    EnableTimingControls(state.Editor, true);
    if (SelectedItem(state.Editor.styles, state.Editor.cboStyle) != nullptr) {
      state.Editor.lblSelectedFile.clear();
    }
  });
}

void ChooseTimeSignature(EditorDraft& state, TimeSigOption option) {
  for (const auto& choice : kTimeSigChoices) {
    if (choice.option != option) continue;
    state.Editor.timeSigOption = std::string(choice.control);
    state.EditTimeSig = std::string(choice.editTimeSig);
  }
}

double LeadingNumberValue(std::string_view text) {
  std::string compact;
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);
  }
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  std::string number;
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) {
    if (compact[i] == '-') number.push_back('-');
    ++i;
  }
  bool digits = false;
  while (i < compact.size() && isDigit(compact[i])) {
    number.push_back(compact[i++]);
    digits = true;
  }
  if (i < compact.size() && compact[i] == '.') {
    number.push_back(compact[i++]);
    while (i < compact.size() && isDigit(compact[i])) {
      number.push_back(compact[i++]);
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < compact.size() &&
      (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) {
      exponent.push_back(compact[j++]);
    }
    if (j < compact.size() && isDigit(compact[j])) {
      while (j < compact.size() && isDigit(compact[j])) exponent.push_back(compact[j++]);
      number += exponent;
    }
  }
  double value = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (number.find("e-") != std::string::npos) return 0;  // too small to matter
    return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  return ec == std::errc() ? value : 0;
}

Outcome CheckTempoInput(const EditorDraft& state) {
  Outcome outcome;
  const double tempo = LeadingNumberValue(state.Editor.txtTempo);
  if (!(tempo >= 32 && tempo <= 280))
    outcome.Fail(Problem::kRefused, "Tempo must be between 32 and 280");
  return outcome;
}

void ClearEditorInputs(EditorDraft& state) {
  EditorLists& editor = state.Editor;
  editor.cboGenre.clear();
  editor.txtMusic.clear();
  editor.txtTempo.clear();
  editor.txtKeywords.clear();
  editor.cboStyle = -1;
  editor.cboIntro = -1;
  editor.cboSection = -1;
  editor.timeSigOption.clear();
  state.EditTimeSig.clear();
  editor.chkFavorite = false;
  editor.chkSearch1 = false;
  editor.chkSearch2 = false;
}

OkResult StoreEditedRecord(AppState& state, Dialogs& dialogs) {
  OkResult result;
  EditorLists& editor = state.Editor;
  result.outcome = RunGuarded("EditCommandOK ", [&](Outcome& outcome) {
    const bool styleSelected = SelectedItem(editor.styles, editor.cboStyle) != nullptr;
    if (!styleSelected && editor.lblSelectedFile.empty()) {
      outcome.Fail(Problem::kRefused, IsMediaModel(state.TargetInstrument)
                                          ? "Please select a style/song/or audio file"
                                          : "Please select a style");
      return;
    }
    const bool usesStyle = styleSelected || IsStyleFile(editor.lblSelectedFile);
    if (usesStyle && CheckedTimeSig(editor) == nullptr) {
      outcome.Fail(Problem::kRefused, "Please select a Time Signature");
      return;
    }
    if (!editor.lblSelectedFile.empty()) state.EditStyleOrFile = editor.lblSelectedFile;

    if (state.EditIsNew) {
      if (!GenreSelected(editor)) {
        outcome.Fail(Problem::kRefused, "All entries must have a genre selected");
        return;
      }
      if (editor.txtMusic.empty()) {
        outcome.Fail(Problem::kRefused, "All entries must have a Music(song name)");
        result.focusMusic = true;
        return;
      }
      if (!styleSelected && state.EditStyleOrFile.empty()) {
        outcome.Fail(Problem::kRefused, "All entries must have a style selected");
        return;
      }
      if (!IsPlayOnly(state.EditStyleOrFile) && editor.txtTempo.empty()) {
        outcome.Fail(Problem::kRefused, "All entries must have a tempo");
        return;
      }
    }

    const EditedRecord rec = Gather(state);
    result.listChanged = true;
    if (state.EditIsNew) {
      result.recordToShow = StoreAdded(state, rec);
      outcome.Report("Added record " + std::to_string(result.recordToShow) + ", " + rec.music);
    } else {
      StoreModified(state, rec);
      outcome.Report("Modified record " + std::to_string(state.SelectedRecord) + ", " + rec.music);
    }

    state.FileSaved = false;
    Present(RunPreview(state, dialogs).outcome, dialogs);
    result.stored = true;
  });
  return result;
}

}  // namespace cadenzo
