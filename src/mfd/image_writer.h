// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/outcome.h"

namespace cadenzo {

// Builds the output image of a Music Finder file for a target, record by record.
class ImageWriter {
 public:
  // BeginImage: header copied from source with the target's generation digit and model name.
  ImageWriter(const std::vector<std::uint8_t>& source, const std::string& target);

  void BeginFileReferences();
  bool HasFileReferences() const { return hasBlock_; }
  // Writes record `number` with `style`, copying bytes 4 to 91 of the source record at r.
  void EmitRecord(int number, int style, std::size_t r);
  // Marks the last emitted record as a media file (bytes 2 to 7).
  void MarkMediaFile();
  void AddFileReference(int number, std::string_view styleText);
  // Ends the block, sets the count, trims, appends the block; returns the image.
  std::vector<std::uint8_t> FinishImage();

  int Written() const { return written_; }

 private:
  const std::vector<std::uint8_t>& source_;
  std::vector<std::uint8_t> out_;
  std::size_t position_ = 0;
  std::size_t lastRecord_ = 0;
  int written_ = 0;
  bool hasBlock_ = false;
  std::vector<std::uint8_t> block_;
};

// A media reference whose path names a song or audio file (ends in mid, mp3 or wav).
bool IsMediaFilePath(std::string_view path);

// The capacity question's text: two blanks stand before the count.
std::string CapacityMessage(int count, int capacity);

// The capacity question for a save: true = save.
bool CheckCapacity(Dialogs& dialogs, const std::string& target, int count);

// Asks for a file name and writes SaveBytes atomically. Errors are recorded under "SaveFile".
// The path is empty when nothing was written (cancelled, or the write failed).
SavedFile SaveFile(AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
