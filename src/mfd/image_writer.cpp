// SPDX-License-Identifier: GPL-3.0-or-later
#include "mfd/image_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>

#include "app/report_error.h"
#include "catalogue/instrument_table.h"
#include "charset/cp1252.h"
#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "textio/file_identity.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

void AppendText(std::vector<std::uint8_t>& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<std::uint8_t>(c));
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

bool IsMediaFilePath(std::string_view path) {
  return EndsWithNoCase(path, "mid") || EndsWithNoCase(path, "mp3") || EndsWithNoCase(path, "wav");
}

ImageWriter::ImageWriter(const std::vector<std::uint8_t>& source, const std::string& target)
    : source_(source), out_(std::max(source.size(), mfd::kHeaderSize), 0) {
  const auto sourceByte = [&](std::size_t i) -> std::uint8_t {
    return i < source_.size() ? source_[i] : 0;
  };
  for (std::size_t i = 0; i < 16; ++i) out_[i] = sourceByte(i);
  out_[mfd::kGenerationOffset] = static_cast<std::uint8_t>(FileGeneration(target));
  std::size_t p = mfd::kModelOffset;
  for (char c : target) {
    if (p >= mfd::kCountOffset) break;  // a name never reaches the count
    out_[p++] = static_cast<std::uint8_t>(c);
  }
  while (p <= 23) out_[p++] = sourceByte(31);
  for (; p < mfd::kHeaderSize; ++p) out_[p] = sourceByte(p);
  position_ = mfd::kHeaderSize;
}

void ImageWriter::BeginFileReferences() {
  hasBlock_ = true;
  block_.clear();
  AppendText(block_, "FPhd");
  AppendU32(block_, 0);
}

void ImageWriter::EmitRecord(int number, int style, std::size_t r) {
  if (out_.size() < position_ + mfd::kRecordSize) out_.resize(position_ + mfd::kRecordSize + 1000);
  lastRecord_ = position_;
  WriteU16(out_, position_ + mfd::kNumber, static_cast<std::uint16_t>(number));
  WriteU16(out_, position_ + mfd::kStyle, static_cast<std::uint16_t>(style));
  // Bytes 4 to 91 of the source record; any that lie past the source's end stay zero, so the
  // records that follow keep their places.
  constexpr std::size_t kCopied = mfd::kRecordSize - 4;
  const std::size_t from = r + 4;
  const std::size_t present = from < source_.size() ? std::min(kCopied, source_.size() - from) : 0;
  std::uint8_t* to = out_.data() + position_ + 4;
  if (present > 0) std::memcpy(to, source_.data() + from, present);
  std::memset(to + present, 0, kCopied - present);
  position_ += mfd::kRecordSize;
  ++written_;
}

void ImageWriter::MarkMediaFile() {
  constexpr std::array<std::uint8_t, 6> kMedia = {0xFF, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF};
  for (std::size_t i = 0; i < kMedia.size(); ++i) out_[lastRecord_ + 2 + i] = kMedia[i];
}

void ImageWriter::AddFileReference(int number, std::string_view styleText) {
  std::string path(styleText);
  const auto colon = styleText.find(':');
  if (colon != std::string_view::npos) {
    const std::string prefix = UpperCp1252(styleText.substr(0, colon + 1));
    std::string drive;
    if (prefix == "HD:")
      drive = "E:";
    else if (prefix == "USB:")
      drive = "I:";
    else if (prefix == "PRESET:")
      drive = "D:";
    else if (prefix == "USER:")
      drive = "C:";
    if (!drive.empty()) path = drive + std::string(styleText.substr(colon + 1));
  }
  if (path.size() + 4 > 0xFFFF) throw RuntimeError(err::kOverflow);
  std::uint8_t type = 0;
  if (EndsWithNoCase(styleText, "mid"))
    type = 1;
  else if (EndsWithNoCase(styleText, "mp3") || EndsWithNoCase(styleText, "wav"))
    type = 2;
  AppendText(block_, "FPdt");
  AppendU16(block_, static_cast<std::uint16_t>(path.size() + 4));
  AppendU16(block_, static_cast<std::uint16_t>(number));
  block_.push_back(type);
  AppendText(block_, path);
  block_.push_back(0);
}

std::vector<std::uint8_t> ImageWriter::FinishImage() {
  if (hasBlock_) {
    AppendText(block_, "FPed");
    WriteU32(block_, 4, static_cast<std::uint32_t>(block_.size() - 12));
  }
  WriteU16(out_, mfd::kCountOffset, static_cast<std::uint16_t>(written_));
  out_.resize(position_);
  if (hasBlock_) {
    out_.resize(position_ - 2);  // the block begins on the last two bytes of the records
    out_.insert(out_.end(), block_.begin(), block_.end());
  }
  return std::move(out_);
}

std::string CapacityMessage(int count, int capacity) {
  return "This mfd has  " + std::to_string(count) + " and the instrument will only accept " +
         std::to_string(capacity) + ".\r\n" +
         "Click No if you want to delete some records before saving the file.";
}

bool CheckCapacity(Dialogs& dialogs, const std::string& target, int count) {
  const int capacity = RecordCapacity(target);
  if (capacity == 0 || count <= capacity) return true;
  return dialogs.Message({.text = CapacityMessage(count, capacity),
                          .buttons = Buttons::kYesNo,
                          .icon = Icon::kCritical,
                          .defaultButton = 1}) == Answer::kYes;
}

SavedFile SaveFile(AppState& state, Dialogs& dialogs) {
  std::string written;
  std::string chosenPath;
  Outcome outcome = RunGuarded("SaveFile", [&](Outcome& out) {
    const std::string folder = !state.SaveFolder.empty() ? state.SaveFolder : state.OpenFolder;
    const auto chosen = dialogs.SaveFile({.title = "Save As",
                                          .folder = folder,
                                          .filter = "Music Finder Files(*.mfd)|*.mfd|",
                                          .defaultExtension = "mfd"});
    if (!chosen || chosen->empty()) {
      out.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }
    state.SaveFolder = FolderOf(*chosen);
    if (!ConfirmReplace(state, dialogs, *chosen, Icon::kWarning)) {
      out.Fail(Problem::kCancelled, MessageRequest{});
      return;
    }
    chosenPath = *chosen;
    BusyGuard busy(dialogs);
    try {
      WriteFileAtomic(*chosen, state.SaveBytes, Flush::kToDisk,
                      [&](std::size_t done, std::size_t total) { dialogs.Progress(done, total); });
    } catch (const RuntimeError& e) {
      if (NoteWriteRefusal(out, e, *chosen)) return;
      throw;
    }
    state.FileSaved = true;
    written = *chosen;
  });
  if (outcome.problem == Problem::kUnexpected) {
    outcome.problem = Problem::kCannotWrite;  // nothing was written over the user's file
    outcome.file = chosenPath;
  }
  return {std::move(outcome), std::move(written)};
}

}  // namespace cadenzo
