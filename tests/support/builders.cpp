// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/builders.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

#include "mfd/byte_io.h"
#include "mfd/record.h"

namespace cadenzo::testing {

std::vector<std::uint8_t> RecordBuilder::Build() const {
  std::vector<std::uint8_t> r(mfd::kRecordSize, 0);
  WriteU16(r, mfd::kNumber, static_cast<std::uint16_t>(number));
  WriteU16(r, mfd::kStyle, static_cast<std::uint16_t>(style));
  r[mfd::kTimeSigNumerator] = static_cast<std::uint8_t>(numerator);
  r[mfd::kTimeSigDenominator] = static_cast<std::uint8_t>(denominator);
  WriteU16(r, mfd::kTempo, static_cast<std::uint16_t>(tempo));
  r[mfd::kFlags] = flags;
  EncodeText(r, mfd::kMusic, mfd::kMusicLength, music);
  EncodeText(r, mfd::kGenre, mfd::kGenreLength, genre);
  EncodeText(r, mfd::kKeywords, mfd::kKeywordsLength, keywords);
  r[mfd::kSections] = static_cast<std::uint8_t>((intro << 4) | next);
  r[90] = tail0;
  r[91] = tail1;
  return r;
}

std::vector<std::uint8_t> FileBuilder::Build() const {
  std::vector<std::uint8_t> f(mfd::kHeaderSize, 0);
  const char* magic = "MFDFILE-HEAD";
  for (std::size_t i = 0; i < 12; ++i) f[i] = static_cast<std::uint8_t>(magic[i]);
  f[12] = static_cast<std::uint8_t>(generation);
  for (std::size_t i = 16; i < 32; ++i) f[i] = padding;
  for (std::size_t i = 0; i < model.size() && 16 + i < 32; ++i) {
    f[16 + i] = static_cast<std::uint8_t>(model[i]);
  }
  f[32] = 0x01;
  f[33] = 0x02;
  WriteU16(f, mfd::kCountOffset,
           static_cast<std::uint16_t>(countOverride.value_or(static_cast<int>(records.size()))));
  f[36] = 0x00;
  f[37] = 0x5C;
  for (const auto& rec : records) {
    const auto bytes = rec.Build();
    f.insert(f.end(), bytes.begin(), bytes.end());
  }
  if (fileRefs) {
    std::vector<std::uint8_t> chunks;
    for (const auto& ref : *fileRefs) {
      for (char c : std::string("FPdt")) chunks.push_back(static_cast<std::uint8_t>(c));
      AppendU16(chunks, static_cast<std::uint16_t>(ref.path.size() + 4));
      AppendU16(chunks, static_cast<std::uint16_t>(ref.position));
      chunks.push_back(static_cast<std::uint8_t>(ref.type));
      for (char c : ref.path) chunks.push_back(static_cast<std::uint8_t>(c));
      chunks.push_back(0);
    }
    // The block starts two bytes before the end of the records.
    if (f.size() >= 2) f.resize(f.size() - 2);
    for (char c : std::string("FPhd")) f.push_back(static_cast<std::uint8_t>(c));
    AppendU32(f, static_cast<std::uint32_t>(chunks.size()));
    f.insert(f.end(), chunks.begin(), chunks.end());
    for (char c : std::string("FPed")) f.push_back(static_cast<std::uint8_t>(c));
  }
  return f;
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "cadenzo-test-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::Write(const std::string& name, const std::string& content) const {
  const auto p = path_ / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
  return p;
}

std::filesystem::path TempDir::Write(const std::string& name,
                                     const std::vector<std::uint8_t>& content) const {
  return Write(name, std::string(content.begin(), content.end()));
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace cadenzo::testing
