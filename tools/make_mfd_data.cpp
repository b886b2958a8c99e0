// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the Music Finder files shipped with the program: the blank templates offered by
// File > New, one per file generation, and the example file the run script opens.
//   make_mfd_data blanks OUT_DIR
//   make_mfd_data example STYLE_LIST.dat OUT.mfd [RECORDS]
// RECORDS (default 300) makes larger files of the same kind, for the benchmarks.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/style_list.h"
#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace {

using cadenzo::Bytes;
namespace mfd = cadenzo::mfd;

// Our own header: an identifying text in bytes 0 to 11, the generation digit at 12, then the
// model name from 16, padded with blanks to byte 31.
Bytes Header(char generation, const std::string& model) {
  Bytes header(mfd::kHeaderSize, 0);
  const std::string magic = "CADENZO MFD ";
  for (std::size_t i = 0; i < 12; ++i) header[i] = static_cast<std::uint8_t>(magic[i]);
  header[12] = static_cast<std::uint8_t>(generation);
  for (std::size_t i = 16; i < 32; ++i) header[i] = ' ';
  for (std::size_t i = 0; i < model.size(); ++i)
    header[16 + i] = static_cast<std::uint8_t>(model[i]);
  return header;
}

struct Blank {
  char generation;
  const char* model;
  const char* fileName;
};

constexpr Blank kBlanks[] = {
    {'1', "PSR-2000", "Blank 1 - PSR-1000 1100 2000 2100, CVP-203 to 210, TYROS.mfd"},
    {'2', "PSR-3000", "Blank 2 - PSR-1500 3000 S700 S900, CVP-30x 409, TYROS 2 3.mfd"},
    {'3', "PSR-S970",
     "Blank 3 - PSR-S6x0 to S975, SX600 700 900, CVP-5x9 6x9, GENOS, TYROS 4 5.mfd"},
};

// A small deterministic generator, so that every build makes the same example.
class Lcg {
 public:
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  std::size_t Below(std::size_t n) { return Next() % n; }

 private:
  std::uint32_t state_ = 20261208u;
};

constexpr const char* kGenres[] = {"Pop",   "Rock",  "Ballad", "Jazz",     "Latin", "Country",
                                   "Dance", "Swing", "Waltz",  "Ballroom", "Party", "Movie"};
constexpr const char* kFirst[] = {"Morning",  "Silver",  "Velvet", "Golden",   "Midnight", "Paper",
                                  "Crystal",  "Amber",   "Quiet",  "Northern", "Summer",   "Little",
                                  "Electric", "Harbour", "Blue",   "Dancing"};
constexpr const char* kSecond[] = {
    "Lantern", "Harbour", "Avenue",  "Meadow",  "Train",    "Garden",   "River",   "Window",
    "Parade",  "Letter",  "Skyline", "Shuffle", "Serenade", "Carousel", "Horizon", "Boulevard"};
constexpr const char* kKeywords[] = {"slow", "party", "wedding", "classic", "new",
                                     "duet", "fast",  "evening", "solo",    "request"};
constexpr std::pair<int, int> kTimeSigs[] = {{4, 4}, {4, 4}, {4, 4}, {3, 4}, {6, 8}, {2, 4}};

bool WriteExample(const std::string& listPath, const std::string& outPath, int records) {
  const std::filesystem::path list(listPath);
  const auto entries =
      cadenzo::ReadStyleList(list.parent_path().string() + "/", list.stem().string());
  if (entries.empty()) {
    std::fprintf(stderr, "make_mfd_data: no styles in %s\n", listPath.c_str());
    return false;
  }
  Lcg rng;
  Bytes file = Header('3', "PSR-S970");
  struct Ref {
    int position;
    std::string path;
  };
  std::vector<Ref> refs;
  for (int i = 0; i < records; ++i) {
    const std::size_t r = cadenzo::AppendRecord(file);
    cadenzo::WriteU16(file, r + mfd::kNumber, static_cast<std::uint16_t>(i));
    int style = cadenzo::StyleNumberValue(entries[rng.Below(entries.size())].number).value_or(1);
    if (i % 37 == 5) style = 5000 + i;  // a user style no list knows
    std::string music = std::string(kFirst[rng.Below(std::size(kFirst))]) + " " +
                        kSecond[rng.Below(std::size(kSecond))];
    if (i % 9 == 0) music += " " + std::to_string(i % 4 + 2);
    auto [numerator, denominator] = kTimeSigs[rng.Below(std::size(kTimeSigs))];
    int tempo = 60 + static_cast<int>(rng.Below(150));
    if (i % 53 == 7) {
      // A song on the keyboard's media: no style, time signature or tempo of its own.
      style = mfd::kMediaStyle;
      numerator = 255;
      denominator = 255;
      tempo = -1;
      refs.push_back({i, (i % 2 ? "I:\\Songs\\" : "E:\\Music\\") + music + ".mid"});
    }
    cadenzo::WriteU16(file, r + mfd::kStyle, static_cast<std::uint16_t>(style));
    if (numerator == 255) {
      cadenzo::EncodeNoTimeSig(file, r);
    } else {
      cadenzo::EncodeTimeSig(file, r, numerator, denominator);
    }
    if (tempo < 0) {
      cadenzo::EncodeNoTempo(file, r);
    } else {
      cadenzo::EncodeTempo(file, r, tempo);
    }
    file[r + mfd::kFlags] = static_cast<std::uint8_t>(rng.Below(10) < 7 ? 0 : rng.Below(8));
    cadenzo::EncodeText(file, r + mfd::kMusic, mfd::kMusicLength, music);
    cadenzo::EncodeText(file, r + mfd::kGenre, mfd::kGenreLength,
                        kGenres[rng.Below(std::size(kGenres))]);
    std::string keywords = kKeywords[rng.Below(std::size(kKeywords))];
    if (rng.Below(3) == 0)
      keywords += std::string(",") + kKeywords[rng.Below(std::size(kKeywords))];
    cadenzo::EncodeText(file, r + mfd::kKeywords, mfd::kKeywordsLength, keywords);
    const int intro = 1 + static_cast<int>(rng.Below(3));
    const int next = 4 + static_cast<int>(rng.Below(4));
    cadenzo::EncodeSections(file, r, rng.Below(5) == 0 ? 0 : intro, next);
  }
  Bytes chunks;
  for (const auto& ref : refs) {
    for (char c : std::string("FPdt")) chunks.push_back(static_cast<std::uint8_t>(c));
    cadenzo::AppendU16(chunks, static_cast<std::uint16_t>(ref.path.size() + 4));
    cadenzo::AppendU16(chunks, static_cast<std::uint16_t>(ref.position));
    chunks.push_back(1);
    for (char c : ref.path) chunks.push_back(static_cast<std::uint8_t>(c));
    chunks.push_back(0);
  }
  file.resize(file.size() - 2);  // the block begins on the last record's final two bytes
  for (char c : std::string("FPhd")) file.push_back(static_cast<std::uint8_t>(c));
  cadenzo::AppendU32(file, static_cast<std::uint32_t>(chunks.size()));
  file.insert(file.end(), chunks.begin(), chunks.end());
  for (char c : std::string("FPed")) file.push_back(static_cast<std::uint8_t>(c));
  // A bare file name has no folder to create.
  if (const auto folder = std::filesystem::path(outPath).parent_path(); !folder.empty())
    std::filesystem::create_directories(folder);
  cadenzo::WriteFileAtomic(outPath, file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "blanks") {
      for (const auto& blank : kBlanks) {
        cadenzo::WriteFileAtomic(std::filesystem::path(args[1]) / blank.fileName,
                                 Header(blank.generation, blank.model));
      }
      return 0;
    }
    if ((args.size() == 3 || args.size() == 4) && args[0] == "example") {
      const int records = args.size() == 4 ? std::stoi(args[3]) : 300;
      if (records < 0 || records > 0xFFFF) {
        std::fprintf(stderr, "make_mfd_data: RECORDS must be 0 to 65535\n");
        return 2;
      }
      return WriteExample(args[1], args[2], records) ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: make_mfd_data blanks OUT_DIR | example LIST.dat OUT.mfd [RECORDS]\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_mfd_data: %s\n", e.what());
    return 1;
  }
}
