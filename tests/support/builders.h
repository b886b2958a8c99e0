// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cadenzo::testing {

// One record described by its named fields; Build() gives its 92 bytes.
struct RecordBuilder {
  int number = 0;
  int style = 1;
  int numerator = 4;
  int denominator = 4;
  int tempo = 120;
  std::uint8_t flags = 0;
  std::string music = "Song";
  std::string genre = "Pop";
  std::string keywords;
  int intro = 1;  // section digits
  int next = 4;
  std::uint8_t tail0 = 0;
  std::uint8_t tail1 = 0;

  std::vector<std::uint8_t> Build() const;
};

// A media file reference of the file-reference block.
struct FileRefBuilder {
  int position = 0;
  int type = 1;
  std::string path;  // with its drive, such as "I:\\Songs\\Hit.mid"
};

// A whole Music Finder file: header with a model text, the records, an optional block.
struct FileBuilder {
  std::string model = "PSR-S970";
  char generation = '3';
  std::uint8_t padding = 0x20;  // byte 31 and the bytes after the model text
  std::vector<RecordBuilder> records;
  std::optional<std::vector<FileRefBuilder>> fileRefs;
  std::optional<int> countOverride;

  std::vector<std::uint8_t> Build() const;
};

// A temporary folder, removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string Str() const { return path_.string() + "/"; }
  std::filesystem::path Write(const std::string& name, const std::string& content) const;
  std::filesystem::path Write(const std::string& name,
                              const std::vector<std::uint8_t>& content) const;

 private:
  std::filesystem::path path_;
};

std::string ReadText(const std::filesystem::path& path);

}  // namespace cadenzo::testing
