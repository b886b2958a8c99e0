// Writes a small seed corpus for every fuzz target: FOLDER/<target>/seed-N.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "textio/text_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path root(argv[1]);
  const auto put = [&](const std::string& target, const std::vector<std::string>& seeds) {
    fs::create_directories(root / target);
    for (std::size_t i = 0; i < seeds.size(); ++i) {
      cadenzo::WriteFileAtomic(root / target / ("seed-" + std::to_string(i)), seeds[i]);
    }
  };
  std::vector<std::string> files;
  for (const auto& f : cadenzo::fuzz::SampleFiles()) files.emplace_back(f.begin(), f.end());
  put("mfd_reader_fuzz", files);
  put("style_list_fuzz", {"# list\r\nCool 8Beat;0012\r\n  Jazz Club ;45\r\nBallad;7\r\n",
                          "A;1\r\nA;2\r\nB\r\n\r\nC;3\r\n", "X;abc\r\n;\r\n   # c\r\nlast"});
  put("rtf_parser_fuzz",
      {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\qc{\\b\\fs36 Title}\\par\\pard\\li360\\fi-360 "
       "\\bullet\\tab caf\\'e9 \\u8364? {\\i x}\\line y\\par}",
       "{\\rtf1 {\\*\\unknown z}\\uc2\\u-10179 ab\\u-8704 cd\\bin3 xyz\\ul u\\ulnone}",
       "Item #\tGenre\r\nplain text"});
  for (const auto& [target, seeds] : cadenzo::fuzz::ExtraSeeds()) put(target, seeds);
  return 0;
}
