// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Random Music Finder files of any model, from a seed: the odd files that other tools, older
// keyboards and hand repairs leave behind, and that the program must carry without losing a
// record.

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "catalogue/instrument_table.h"
#include "catalogue/style_list.h"
#include "mfd/record.h"
#include "support/builders.h"

namespace cadenzo::testing {

// How a generated file numbers its records (bytes 0 and 1); only files written by the program
// itself number them 0 to n - 1.
enum class Numbering { kInOrder, kFromOne, kAllZero, kAllSame, kDuplicated, kPermuted, kPastCount };

inline const char* NumberingName(Numbering n) {
  switch (n) {
    case Numbering::kInOrder:
      return "in order";
    case Numbering::kFromOne:
      return "from 1";
    case Numbering::kAllZero:
      return "all 0";
    case Numbering::kAllSame:
      return "all the same";
    case Numbering::kDuplicated:
      return "duplicated";
    case Numbering::kPermuted:
      return "permuted";
    case Numbering::kPastCount:
      return "past the count";
  }
  return "?";
}

// The drives of media paths as the file stores them, with the prefix the list shows.
struct MediaDrive {
  const char* stored;
  const char* shown;
};
inline constexpr MediaDrive kMediaDrives[] = {
    {"I:", "USB:"}, {"E:", "HD:"}, {"D:", "Preset:"}, {"C:", "User:"}};

// What to put into generated files.
struct RandomFileOptions {
  int mostRecords = 40;
  // Each song name starts with a tag unique in the file ("r7 "), so that a record can be followed
  // through deletion and conversion.
  bool tagMusic = false;
};

struct RandomFile {
  FileBuilder builder;
  Numbering numbering = Numbering::kInOrder;
  int cutBytes = 0;  // bytes missing at the end: the last record lacks its unread bytes 90-91
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> bytes = builder.Build();
    bytes.resize(bytes.size() - static_cast<std::size_t>(cutBytes));
    return bytes;
  }
};

// The tag that starts record i's song name in files made with tagMusic.
inline std::string MusicTag(std::size_t i) { return "r" + std::to_string(i) + " "; }

class RandomMfdGenerator {
 public:
  // dataDir holds the shipped style lists; their numbers give the files real styles.
  explicit RandomMfdGenerator(std::string dataDir) : dataDir_(std::move(dataDir)) {
    for (const Instrument& model : InstrumentTable()) {
      std::vector<int> numbers;
      for (const auto& entry : ReadStyleList(dataDir_, model.name)) {
        if (const auto n = StyleNumberValue(entry.number)) numbers.push_back(*n);
      }
      ownNumbers_.push_back(numbers);
      if (!numbers.empty()) listed_.push_back(std::move(numbers));
    }
  }

  RandomFile Make(std::mt19937& random, const Instrument& model,
                  const RandomFileOptions& options = {}) const {
    RandomFile out;
    FileBuilder& file = out.builder;
    file.model = std::string(model.name);
    file.generation = model.fileGeneration;
    const int count = Chance(random, 10) ? 0 : 1 + Below(random, options.mostRecords);
    out.numbering = static_cast<Numbering>(Below(random, 7));
    const std::vector<int> numbers = StoredNumbers(random, out.numbering, count);
    const std::vector<int>& own = ownNumbers_[IndexOf(model)];

    std::vector<FileRefBuilder> refs;
    for (int i = 0; i < count; ++i) {
      RecordBuilder record;
      record.number = numbers[static_cast<std::size_t>(i)];
      const int kind = Below(random, 100);
      if (model.keepsFileReferences && kind < 18) {
        record.style = mfd::kMediaStyle;
        refs.push_back(MediaReference(random, i));
      } else if (kind < 58 && !own.empty()) {
        record.style = own[static_cast<std::size_t>(Below(random, static_cast<int>(own.size())))];
      } else if (kind < 75 && !listed_.empty()) {
        // A style of another model's list: the number may name another style here.
        const auto& other = listed_[static_cast<std::size_t>(Below(random, Size(listed_)))];
        record.style = other[static_cast<std::size_t>(Below(random, Size(other)))];
      } else if (kind < 94) {
        record.style = 1 + Below(random, 9999);  // a user style
      } else {
        // No style: a high byte of 255 (but not the media file mark).
        do {
          record.style = 0xFF00 + Below(random, 256);
        } while (record.style == mfd::kMediaStyle);
      }
      FillFields(random, record);
      if (record.style == mfd::kMediaStyle && IsSongPath(refs.back().path)) {
        // A song or audio file has no time signature and no tempo of its own.
        record.numerator = 255;
        record.denominator = 255;
        record.tempo = 0xFFFF;
      }
      if (options.tagMusic) record.music = (MusicTag(static_cast<std::size_t>(i)) + record.music);
      if (record.music.size() > mfd::kMusicLength) record.music.resize(mfd::kMusicLength);
      file.records.push_back(std::move(record));
    }
    // Files of the models that keep media references carry the block; a few written by other
    // tools do not, when they have no media records.
    if (model.keepsFileReferences && count > 0 && (!refs.empty() || !Chance(random, 15))) {
      file.fileRefs = refs;
    }
    // Without a block, the last record may lack the two bytes that are never read.
    if (!file.fileRefs && count > 0 && Chance(random, 30)) out.cutBytes = 1 + Below(random, 2);
    return out;
  }

 private:
  static int Below(std::mt19937& random, int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
  }
  static bool Chance(std::mt19937& random, int percent) { return Below(random, 100) < percent; }
  template <typename T>
  static int Size(const std::vector<T>& v) {
    return static_cast<int>(v.size());
  }
  static std::size_t IndexOf(const Instrument& model) {
    const auto table = InstrumentTable();
    return static_cast<std::size_t>(&model - table.data());
  }
  static bool IsSongPath(const std::string& path) {
    const std::string tail = path.size() >= 3 ? LowerAscii(path.substr(path.size() - 3)) : "";
    return tail == "mid" || tail == "mp3" || tail == "wav";
  }
  static std::string LowerAscii(std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return s;
  }

  static std::vector<int> StoredNumbers(std::mt19937& random, Numbering numbering, int count) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 0);
    switch (numbering) {
      case Numbering::kInOrder:
        break;
      case Numbering::kFromOne:
        for (int& n : numbers) ++n;
        break;
      case Numbering::kAllZero:
        std::fill(numbers.begin(), numbers.end(), 0);
        break;
      case Numbering::kAllSame:
        std::fill(numbers.begin(), numbers.end(), Below(random, 0x10000));
        break;
      case Numbering::kDuplicated:
        for (int& n : numbers) n = Below(random, std::max(1, count / 3));
        break;
      case Numbering::kPermuted:
        std::shuffle(numbers.begin(), numbers.end(), random);
        break;
      case Numbering::kPastCount:
        for (int& n : numbers) n = count + Below(random, 0x10000 - count);
        break;
    }
    return numbers;
  }

  // Text of a field: printable Windows-1252 mostly, with blanks at the ends, tabs, line breaks,
  // control bytes and zero bytes now and then.
  static std::string FieldText(std::mt19937& random, std::size_t longest) {
    const std::size_t length =
        static_cast<std::size_t>(Below(random, static_cast<int>(longest) + 1));
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
      const int kind = Below(random, 100);
      char c;
      if (kind < 70) {
        c = static_cast<char>(0x20 + Below(random, 0x5F));  // ASCII
      } else if (kind < 85) {
        c = static_cast<char>(0x80 + Below(random, 0x80));
      } else if (kind < 90) {
        c = ' ';
      } else if (kind < 96) {
        static const char kBreaks[] = {'\t', '\r', '\n'};
        c = kBreaks[Below(random, 3)];
      } else if (kind < 99) {
        c = static_cast<char>(1 + Below(random, 0x1F));
      } else {
        c = '\0';
      }
      text.push_back(c);
    }
    return text;
  }

  static void FillFields(std::mt19937& random, RecordBuilder& record) {
    if (Chance(random, 10)) {
      record.numerator = 255;
      record.denominator = Below(random, 256);
    } else if (Chance(random, 10)) {
      record.numerator = Below(random, 255);
      record.denominator = Below(random, 256);
    } else {
      record.numerator = 1 + Below(random, 16);
      record.denominator = 1 << Below(random, 6);
    }
    if (Chance(random, 8)) {
      record.tempo = 0xFF00 + Below(random, 256);  // no tempo
    } else if (Chance(random, 5)) {
      record.tempo = Below(random, 32768);
    } else {
      record.tempo = 5 + Below(random, 496);
    }
    record.flags =
        static_cast<std::uint8_t>(Chance(random, 85) ? Below(random, 8) : Below(random, 256));
    record.music = FieldText(random, mfd::kMusicLength);
    const int genre = Below(random, 100);
    if (genre < 8) {
      record.genre = "deleted";
    } else if (genre < 12) {
      record.genre = std::string("del\0eted", 8);  // shows as "deleted"
    } else {
      record.genre = FieldText(random, mfd::kGenreLength);
    }
    record.keywords = FieldText(random, mfd::kKeywordsLength);
    record.intro = Below(random, 16);
    record.next = Below(random, 16);
    record.tail0 = static_cast<std::uint8_t>(Below(random, 256));
    record.tail1 = static_cast<std::uint8_t>(Below(random, 256));
  }

  static FileRefBuilder MediaReference(std::mt19937& random, int position) {
    static const char* const kExtensions[] = {".mid", ".MID", ".mp3", ".wav", ".sty", ".prs"};
    static const char kNameChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-.'()&";
    const MediaDrive& drive = kMediaDrives[Below(random, 4)];
    std::string path = std::string(drive.stored) + "\\";
    if (Chance(random, 70)) path += "Songs\\";
    const int length = 1 + Below(random, 20);
    for (int i = 0; i < length; ++i)
      path.push_back(kNameChars[Below(random, sizeof kNameChars - 1)]);
    const std::string extension = kExtensions[Below(random, 6)];
    path += extension;
    const std::string lower = LowerAscii(extension);
    const int type = lower == ".mid" ? 1 : (lower == ".mp3" || lower == ".wav") ? 2 : 0;
    return {.position = position, .type = type, .path = path};
  }

  std::string dataDir_;
  std::vector<std::vector<int>> listed_;      // the numbers of every shipped list
  std::vector<std::vector<int>> ownNumbers_;  // by model: its list's numbers (none: no list)
};

}  // namespace cadenzo::testing
