// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a small seed corpus for every fuzz target: FOLDER/<target>/seed-N.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mfd/byte_io.h"
#include "mfd/record.h"
#include "textio/text_file.h"

namespace {

// A file whose block holds chunks without a zero byte anywhere: each path ends only at the end
// of its own chunk (k = 0x0101, the smallest length without a zero byte).
std::string UnterminatedBlock(int chunks) {
  std::vector<std::uint8_t> f(cadenzo::mfd::kHeaderSize, ' ');
  const std::string model = "PSR-S970";
  std::copy(model.begin(), model.end(), f.begin() + 16);
  cadenzo::WriteU16(f, cadenzo::mfd::kCountOffset, 0);
  for (const char c : std::string("FPhd\x01\x01\x01\x01"))
    f.push_back(static_cast<std::uint8_t>(c));
  for (int i = 0; i < chunks; ++i) {
    for (const char c : std::string("FPdt\x01\x01\x01\x01\x01")) {
      f.push_back(static_cast<std::uint8_t>(c));
    }
    f.insert(f.end(), 0x0101 - 3, static_cast<std::uint8_t>('a' + i % 26));
  }
  return {f.begin(), f.end()};
}

// A style list, or a replacement table, as other editors save it.
std::vector<std::string> ForeignTexts(const std::string& crLf) {
  std::string lf = crLf, cr = crLf;
  for (std::size_t p = 0; (p = lf.find("\r\n", p)) != std::string::npos;) lf.erase(p, 1);
  for (std::size_t p = 0; (p = cr.find("\r\n", p)) != std::string::npos;) cr.erase(p + 1, 1);
  // UTF-8 with non-ASCII letters, with and without a byte-order mark, and UTF-16 with one.
  const std::string utf8 =
      "Caf\xC3\xA9 Jazz;0012\nM\xC3\xBC"
      "nchen Walzer;45\n\xE2\x82\xAC uro;7";
  std::string utf16 = "\xFF\xFE";
  for (const char c : lf) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  return {lf, cr, utf8, "\xEF\xBB\xBF" + utf8, utf16};
}

// Import lines whose style fields are odd numbers, and a last line without its line end.
std::vector<std::string> OddImportTexts() {
  std::string odd;
  for (const char* style : {"65280", "65535", "70000", "-5", "12abc", "0", "0012", "291"}) {
    odd +=
        std::string(" 1\tPop\tSong\t") + style + "\t4/4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A\r\n";
  }
  const std::string line = " 1\tPop\tSong\tCool Beat\t4/4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A";
  return {odd, line + "\r\n" + line, line + "\n" + line + "\n", line + "\r" + line};
}

}  // namespace

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
  files.push_back(UnterminatedBlock(16));
  put("mfd_reader_fuzz", files);
  put("mfd_pass_fuzz", files);
  std::vector<std::string> lists = {"# list\r\nCool 8Beat;0012\r\n  Jazz Club ;45\r\nBallad;7\r\n",
                                    "A;1\r\nA;2\r\nB\r\n\r\nC;3\r\n",
                                    "X;abc\r\n;\r\n   # c\r\nlast"};
  for (auto& t : ForeignTexts("# list\r\nCool 8Beat;0012\r\nJazz Club;45\r\nBallad;7\r\n")) {
    lists.push_back(std::move(t));
  }
  put("style_list_fuzz", lists);
  put("rtf_parser_fuzz",
      {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\qc{\\b\\fs36 Title}\\par\\pard\\li360\\fi-360 "
       "\\bullet\\tab caf\\'e9 \\u8364? {\\i x}\\line y\\par}",
       "{\\rtf1 {\\*\\unknown z}\\uc2\\u-10179 ab\\u-8704 cd\\bin3 xyz\\ul u\\ulnone}",
       "Item #\tGenre\r\nplain text"});
  for (auto [target, seeds] : cadenzo::fuzz::ExtraSeeds()) {
    if (target == "replacement_table_fuzz") {
      for (auto& t : ForeignTexts("Cool Beat;Pop Rock\r\nFunk;Funk 2\r\n")) seeds.push_back(t);
    }
    if (target == "delimited_import_fuzz") {
      for (auto& t : OddImportTexts()) seeds.push_back(t);
    }
    put(target, seeds);
  }
  return 0;
}
