#include "fuzz_support.h"

#include <stdlib.h>

#include <filesystem>

#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace cadenzo::fuzz {

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string tmpl = base + "/cadenzo-fuzz-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    const std::string dir = tmpl + "/";
    const std::string newer =
        "# example\r\nCool Beat;0291\r\nPop Rock;12\r\nFunk;77\r\nBallad1;5\r\n";
    const std::string older = "# example\r\nPop Rock;014\r\nFunk1;020\r\nSwing;030\r\n";
    WriteFileAtomic(dir + "PSR-S970.dat", newer);
    WriteFileAtomic(dir + "TYROS 5.dat", newer);
    WriteFileAtomic(dir + "PSR-2000.dat", older);
    WriteFileAtomic(dir + "CVP-205.dat", older);
    WriteFileAtomic(dir + "TYROS.dat", older);
    return dir;
  }();
  return folder;
}

AppState FreshState() {
  AppState state;
  state.AppPath = ScratchFolder();
  state.UserFolder = ScratchFolder();
  return state;
}

std::vector<std::vector<std::uint8_t>> SampleFiles() {
  std::vector<std::vector<std::uint8_t>> files;
  for (const char* model : {"PSR-S970", "PSR-2000", "CVP-205", "TYROS 5", "Tyros4 v"}) {
    std::vector<std::uint8_t> f(mfd::kHeaderSize, ' ');
    f[12] = '3';
    for (std::size_t i = 0; model[i] != '\0'; ++i) f[16 + i] = static_cast<std::uint8_t>(model[i]);
    WriteU16(f, mfd::kCountOffset, 0);
    for (int i = 0; i < 3; ++i) {
      const std::size_t r = AppendRecord(f);
      WriteU16(f, r, static_cast<std::uint16_t>(i));
      WriteU16(f, r + mfd::kStyle,
               static_cast<std::uint16_t>(i == 2 ? mfd::kMediaStyle : 12 + i * 279));
      EncodeTimeSig(f, r, 4, 4);
      EncodeTempo(f, r, 96 + i);
      EncodeText(f, r + mfd::kMusic, mfd::kMusicLength, "Song " + std::to_string(i));
      EncodeText(f, r + mfd::kGenre, mfd::kGenreLength, i ? "Pop" : "Ballad");
      EncodeText(f, r + mfd::kKeywords, mfd::kKeywordsLength, "slow,party");
      EncodeSections(f, r, 1, 4 + i);
    }
    f.resize(f.size() - 2);
    const std::string path = "I:\\Songs\\Hit.mid";
    std::vector<std::uint8_t> block;
    for (char c : std::string("FPhd")) block.push_back(static_cast<std::uint8_t>(c));
    AppendU32(block, static_cast<std::uint32_t>(10 + path.size()));
    for (char c : std::string("FPdt")) block.push_back(static_cast<std::uint8_t>(c));
    AppendU16(block, static_cast<std::uint16_t>(path.size() + 4));
    AppendU16(block, 2);
    block.push_back(1);
    for (char c : path) block.push_back(static_cast<std::uint8_t>(c));
    block.push_back(0);
    for (char c : std::string("FPed")) block.push_back(static_cast<std::uint8_t>(c));
    f.insert(f.end(), block.begin(), block.end());
    files.push_back(std::move(f));
  }
  return files;
}

std::vector<std::pair<std::string, std::vector<std::string>>> ExtraSeeds() { return {}; }

}  // namespace cadenzo::fuzz
