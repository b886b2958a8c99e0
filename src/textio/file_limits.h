// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "app/runtime_error.h"
#include "textio/text_file.h"

namespace cadenzo {

// The largest file of each kind the program reads whole: what such a file holds, with room to
// spare. A larger file is refused before it is read, with a message that says so. (The Music
// Finder file, the import text and the MIDI files played keep their own limits.)
//
// The MIDI template: one track with a tempo event and its end, a few dozen bytes.
inline constexpr std::size_t kMaxSysExTemplateSize = std::size_t{64} << 10;
// A model's style list read for the style numbers sent to the instrument: a line of at most a
// few dozen bytes for each of at most 65,536 styles.
inline constexpr std::size_t kMaxStyleNumberListSize = std::size_t{4} << 20;
// The quick start guide: rich text with a few pictures.
inline constexpr std::size_t kMaxHelpDocumentSize = std::size_t{16} << 20;
// The conversion and import logs: a line of about a hundred bytes for each of at most 32,767
// records, or for each import line left out.
inline constexpr std::size_t kMaxLogSize = std::size_t{16} << 20;

// The error number of a file larger than its kind: as the program reports running out of memory.
inline constexpr int kFileTooLargeError = 7;

// A file refused for its size; its description names the file and the limit.
class FileTooLarge : public RuntimeError {
 public:
  FileTooLarge(const std::string& name, std::size_t limit);
};

// A size as people read it: "64 KiB", "4 MiB", "100 bytes".
std::string SizeText(std::size_t bytes);

// "<name> is larger than <limit>": the text of a refusal for the size.
std::string TooLargeText(const std::string& name, std::size_t limit);

// Reads a whole file of at most limit bytes. A larger file, or a device that never ends, throws
// FileTooLarge without reading more than limit + 1 bytes; other failures throw RuntimeError as
// ReadFileBytes does.
Bytes ReadFileWithin(const std::filesystem::path& path, std::size_t limit);

}  // namespace cadenzo
