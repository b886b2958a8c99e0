// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/outcome.h"
#include "app/runtime_error.h"

namespace cadenzo {

using Bytes = std::vector<std::uint8_t>;

// Reads a whole file; a missing or unreadable file gives an empty text, without a message.
std::string ReadWholeFile(const std::filesystem::path& path);

// Reads a whole file into bytes; throws RuntimeError with the program's number on failure.
// Reads at most limit + 1 bytes, so that a caller that refuses files larger than limit also
// refuses a device or a pipe that never ends. A pipe without a writer reads as empty.
Bytes ReadFileBytes(const std::filesystem::path& path,
                    std::size_t limit = std::numeric_limits<std::size_t>::max() - 1);

// How a replacing write reaches the disk: a user's file is flushed to the disk before it takes
// the old file's place; a log, rewritten by every preview, is left to the system's write-back
// (still replaced whole, so a reader never sees half of it).
enum class Flush { kToDisk, kWriteBack };

// Writes a whole file atomically: a temporary file in the same folder, flushed, renamed over
// the target. On failure the old file is untouched, the temporary is removed and a RuntimeError
// is thrown. A symbolic link is written through to its file (made when it does not exist); a
// file the user may not write is refused; the replaced file's mode, and its owner and group
// where the user may set them, carry over. Temporary files that killed saves left in the folder
// are removed first, those of saves still running kept.
// `progress`, when given, hears the bytes written so far of all, as the write goes on.
using WriteProgress = std::function<void(std::size_t done, std::size_t total)>;
void WriteFileAtomic(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                     Flush flush = Flush::kToDisk, const WriteProgress& progress = {});
void WriteFileAtomic(const std::filesystem::path& path, std::string_view text,
                     Flush flush = Flush::kToDisk, const WriteProgress& progress = {});

// The words for a failed write that the person can set right, a full disk or a file or folder
// that may not be written: what happened, to which file, and what to do. Nothing for any other
// failure, which keeps its numbered message.
std::optional<std::string> WriteRefusalText(const RuntimeError& error,
                                            const std::filesystem::path& path);
// Records such a failure in the outcome as kCannotWrite with its words; false for any other.
bool NoteWriteRefusal(Outcome& outcome, const RuntimeError& error, const std::string& path);
// True for the name of a temporary file of a save, which file lists leave out.
bool IsSaveTemporaryName(std::string_view fileName);

// Splits a text at every CR LF. The piece after the last CR LF is not a line: it is dropped.
std::vector<std::string_view> SplitCrLfLines(std::string_view text);

// The lines of a text the program reads (style lists, the replacement table, the delimited
// import): CR LF, LF and a lone CR all end a line, and a last line without a line end is a line
// too. Only the empty piece after the final line end is not.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// The pieces of a text between every occurrence of separator: one more piece than there are
// separators, empty pieces kept ("a,,b" gives "a", "", "b"; "" gives one empty piece).
std::vector<std::string_view> SplitAt(std::string_view text, char separator);

// Which encodings a reader takes besides the program's single-byte text.
enum class TextEncodings {
  // A list the user edits: UTF-8 (with or without a byte-order mark) is converted.
  kUtf8Lists,
  // The delimited text, which the export writes single-byte: only UTF-8 marked by its byte-order
  // mark is converted, so that no single-byte text is ever taken for UTF-8.
  kMarkedUtf8Only,
};

// A text file as the program reads it.
struct TextFileContents {
  std::string text;  // Windows-1252, line ends as in the file
  bool missing = false;
  // Set when the file exists but cannot be read as text: why, for a message that names the file
  // ("is UTF-16 text", "is not a text file", "is larger than 4 MB"). The text is then empty.
  std::optional<std::string> problem;
};

// The text of bytes read from a file, in the program's single-byte text: UTF-8 is converted as
// encodings allows (characters Windows-1252 lacks become "?"); UTF-16 gives a problem, and so do
// bytes that are no text (a zero byte) in a list.
TextFileContents DecodeTextFile(std::string bytes, TextEncodings encodings);

// Reads and decodes a text file of at most limit bytes; a larger one is refused with a problem,
// without reading it whole. A missing file (or a folder) is missing, without a problem.
TextFileContents ReadTextFile(const std::filesystem::path& path, std::size_t limit,
                              TextEncodings encodings);

// The folder of a path, ending in "/" (empty when the path has no folder part).
std::string FolderOf(const std::string& path);
// The name part of a path, after its last "/".
std::string NamePartOf(const std::string& path);

}  // namespace cadenzo
