// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/rtf_parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "charset/cp1252.h"

namespace cadenzo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLineBreak = 0x2028;
constexpr int kMaxTwips = 31680;  // 22 inches
constexpr int kMinFontSize = 2;
constexpr int kMaxFontSize = 400;
constexpr int kMaxUnicodeSkip = 16;
constexpr std::size_t kMaxWordLength = 32;
constexpr long kParameterLimit = 1'000'000'000;

// Destinations whose content is not text of the document.
constexpr std::array<std::string_view, 26> kSkippedDestinations = {"fonttbl",
                                                                   "colortbl",
                                                                   "stylesheet",
                                                                   "info",
                                                                   "pict",
                                                                   "object",
                                                                   "header",
                                                                   "headerl",
                                                                   "headerr",
                                                                   "headerf",
                                                                   "footer",
                                                                   "footerl",
                                                                   "footerr",
                                                                   "footerf",
                                                                   "footnote",
                                                                   "listtable",
                                                                   "listoverridetable",
                                                                   "rsidtbl",
                                                                   "generator",
                                                                   "xmlnstbl",
                                                                   "themedata",
                                                                   "colorschememapping",
                                                                   "latentstyles",
                                                                   "datastore",
                                                                   "pntxtb",
                                                                   "pntxta"};

struct GroupState {
  RtfCharFormat chr;
  RtfParagraphFormat par;
  int unicodeSkip = 1;  // \uc
  bool skip = false;    // inside a destination that is not shown
};

struct ControlWord {
  std::string name;
  std::optional<long> parameter;
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Clamp(long value, int low, int high) {
  return static_cast<int>(std::clamp<long>(value, low, high));
}

class Parser {
 public:
  explicit Parser(std::string_view bytes) : in_(bytes) {}

  RtfDocument Run() {
    while (pos_ < in_.size() && !finished_) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        OpenGroup();
      } else if (c == '}') {
        ++pos_;
        CloseGroup();
      } else if (c == '\\') {
        ++pos_;
        Control();
      } else {
        ++pos_;
        TextByte(static_cast<unsigned char>(c));
      }
    }
    // A cut document keeps its last paragraph, even when it ends inside a hidden group.
    if (highSurrogate_ != 0) Append(kReplacement);
    if (!current_.runs.empty()) {
      current_.format = lastTextFormat_;
      doc_.paragraphs.push_back(std::move(current_));
    }
    return std::move(doc_);
  }

 private:
  void OpenGroup() {
    pendingSkip_ = 0;
    if (stack_.size() < kRtfMaxGroupDepth) {
      stack_.push_back(state_);
    } else {
      ++excessDepth_;
    }
    opened_ = true;
  }

  void CloseGroup() {
    pendingSkip_ = 0;
    if (excessDepth_ > 0) {
      --excessDepth_;
      return;
    }
    if (stack_.empty()) {
      // A closing brace with no group open: the document has ended.
      if (opened_) finished_ = true;
      return;
    }
    state_ = stack_.back();
    stack_.pop_back();
    if (stack_.empty()) finished_ = true;
  }

  void TextByte(unsigned char byte) {
    if (byte == '\t') {
      Emit(U'\t');
    } else if (byte >= 0x20) {
      Emit(Cp1252ToCodePoint(byte));
    }
    // Line ends and other control bytes are not text in rich text.
  }

  void Control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (IsLetter(c)) {
      Word(ReadWord());
      return;
    }
    ++pos_;
    if (ConsumePendingSkip()) {
      if (c == '\'') SkipHex();
      return;
    }
    switch (c) {
      case '\'': {
        const int value = ReadHex();
        if (value >= 0) Emit(Cp1252ToCodePoint(static_cast<unsigned char>(value)));
        break;
      }
      case '\\':
      case '{':
      case '}':
        Emit(static_cast<unsigned char>(c));
        break;
      case '~':
        Emit(0x00A0);
        break;
      case '_':
        Emit(0x2011);
        break;
      case '*':
        // A destination this reader does not know: its group is not shown.
        state_.skip = true;
        break;
      case '\r':
      case '\n':
        EndParagraph();
        break;
      default:
        break;  // \- (optional hyphen), \: and others carry no text
    }
  }

  ControlWord ReadWord() {
    ControlWord word;
    while (pos_ < in_.size() && IsLetter(in_[pos_])) {
      if (word.name.size() < kMaxWordLength) word.name.push_back(in_[pos_]);
      ++pos_;
    }
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    if (pos_ < in_.size() && IsDigit(in_[pos_])) {
      long value = 0;
      while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        value = std::min(kParameterLimit, value * 10 + (in_[pos_] - '0'));
        ++pos_;
      }
      word.parameter = negative ? -value : value;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    return word;
  }

  // Two hex digits after \'; a cut or broken escape gives nothing.
  int ReadHex() {
    int value = 0;
    for (int digit = 0; digit < 2; ++digit) {
      if (pos_ >= in_.size()) return -1;
      const int v = HexValue(in_[pos_]);
      if (v < 0) return -1;
      value = value * 16 + v;
      ++pos_;
    }
    return value;
  }
  void SkipHex() { (void)ReadHex(); }

  // After \uN the next characters are the fallback for readers without Unicode.
  bool ConsumePendingSkip() {
    if (pendingSkip_ == 0) return false;
    --pendingSkip_;
    return true;
  }

  void Word(const ControlWord& word) {
    const std::string& n = word.name;
    const long p = word.parameter.value_or(1);
    const bool on = !word.parameter || *word.parameter != 0;

    if (n == "bin") {
      // Binary data of the stated length, never past the end of the input.
      const auto length = static_cast<std::size_t>(std::max<long>(0, word.parameter.value_or(0)));
      pos_ += std::min(length, in_.size() - pos_);
      return;
    }
    if (n == "u") {
      Unicode(word.parameter.value_or(0));
      return;
    }
    if (ConsumePendingSkip()) return;
    if (std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), n) !=
        kSkippedDestinations.end()) {
      state_.skip = true;
      return;
    }

    RtfCharFormat& chr = state_.chr;
    RtfParagraphFormat& par = state_.par;
    if (n == "par" || n == "sect" || n == "page") {
      EndParagraph();
    } else if (n == "line") {
      Emit(kLineBreak);
    } else if (n == "tab") {
      Emit(U'\t');
    } else if (n == "pard") {
      par = RtfParagraphFormat{};
    } else if (n == "plain") {
      chr = RtfCharFormat{};
    } else if (n == "b") {
      chr.bold = on;
    } else if (n == "i") {
      chr.italic = on;
    } else if (n == "ul" || n == "uld" || n == "uldb" || n == "uldash" || n == "ulth" ||
               n == "ulw") {
      chr.underline = on;
    } else if (n == "ulnone") {
      chr.underline = false;
    } else if (n == "fs") {
      chr.fontSize = word.parameter ? Clamp(p, kMinFontSize, kMaxFontSize) : 24;
    } else if (n == "li") {
      par.leftIndent = Clamp(p, -kMaxTwips, kMaxTwips);
    } else if (n == "ri") {
      par.rightIndent = Clamp(p, -kMaxTwips, kMaxTwips);
    } else if (n == "fi") {
      par.firstIndent = Clamp(p, -kMaxTwips, kMaxTwips);
    } else if (n == "sb") {
      par.spaceBefore = Clamp(p, 0, kMaxTwips);
    } else if (n == "sa") {
      par.spaceAfter = Clamp(p, 0, kMaxTwips);
    } else if (n == "ql") {
      par.alignment = RtfAlignment::kLeft;
    } else if (n == "qc") {
      par.alignment = RtfAlignment::kCenter;
    } else if (n == "qr") {
      par.alignment = RtfAlignment::kRight;
    } else if (n == "qj") {
      par.alignment = RtfAlignment::kJustify;
    } else if (n == "uc") {
      state_.unicodeSkip = Clamp(p, 0, kMaxUnicodeSkip);
    } else if (n == "emdash") {
      Emit(0x2014);
    } else if (n == "endash") {
      Emit(0x2013);
    } else if (n == "bullet") {
      Emit(0x2022);
    } else if (n == "lquote") {
      Emit(0x2018);
    } else if (n == "rquote") {
      Emit(0x2019);
    } else if (n == "ldblquote") {
      Emit(0x201C);
    } else if (n == "rdblquote") {
      Emit(0x201D);
    } else if (n == "enspace") {
      Emit(0x2002);
    } else if (n == "emspace") {
      Emit(0x2003);
    }
    // Every other control word (fonts, colours, code page, ...) changes nothing shown here.
  }

  void Unicode(long parameter) {
    // The value is a signed 16-bit number; negative values stand for 32768 to 65535.
    long value = parameter < 0 ? parameter + 65536 : parameter;
    if (value < 0 || value > 0xFFFF) value = kReplacement;
    const auto unit = static_cast<char32_t>(value);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      FlushSurrogate();
      if (!state_.skip) highSurrogate_ = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (highSurrogate_ != 0) {
        const char32_t high = highSurrogate_;
        highSurrogate_ = 0;
        Emit(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
      } else {
        Emit(kReplacement);
      }
    } else {
      Emit(unit);
    }
    pendingSkip_ = state_.unicodeSkip;
  }

  void FlushSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    Append(kReplacement);
  }

  void Emit(char32_t ch) {
    if (ConsumePendingSkip()) return;
    if (state_.skip) return;
    if (ch < 0x20 && ch != U'\t') return;  // control characters are not text
    FlushSurrogate();
    Append(ch);
  }

  void Append(char32_t ch) {
    if (current_.runs.empty() || current_.runs.back().format != state_.chr) {
      current_.runs.push_back(RtfRun{state_.chr, {}});
    }
    current_.runs.back().text.push_back(ch);
    lastTextFormat_ = state_.par;
  }

  void EndParagraph() {
    if (state_.skip) return;
    FlushSurrogate();
    current_.format = state_.par;
    doc_.paragraphs.push_back(std::move(current_));
    current_ = RtfParagraph{};
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  GroupState state_;
  std::vector<GroupState> stack_;
  std::size_t excessDepth_ = 0;
  bool opened_ = false;
  bool finished_ = false;
  int pendingSkip_ = 0;
  char32_t highSurrogate_ = 0;
  RtfParagraph current_;
  RtfParagraphFormat lastTextFormat_;  // for a last paragraph without \par
  RtfDocument doc_;
};

}  // namespace

std::u32string RtfParagraph::Text() const {
  std::u32string text;
  for (const RtfRun& run : runs) text += run.text;
  return text;
}

std::u32string RtfDocument::PlainText() const {
  std::u32string text;
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) text.push_back(U'\n');
    text += paragraphs[i].Text();
  }
  return text;
}

bool LooksLikeRtf(std::string_view bytes) { return bytes.starts_with("{\\rtf"); }

RtfDocument ParseRtf(std::string_view bytes) { return Parser(bytes).Run(); }

RtfDocument PlainTextDocument(std::string_view cp1252Text, int fontSize) {
  RtfDocument doc;
  RtfCharFormat format;
  format.fontSize = fontSize;
  RtfParagraph paragraph;
  auto finish = [&] {
    doc.paragraphs.push_back(std::move(paragraph));
    paragraph = RtfParagraph{};
  };
  for (std::size_t i = 0; i < cp1252Text.size(); ++i) {
    const char c = cp1252Text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < cp1252Text.size() && cp1252Text[i + 1] == '\n') ++i;
      finish();
      continue;
    }
    if (paragraph.runs.empty()) paragraph.runs.push_back(RtfRun{format, {}});
    paragraph.runs.back().text.push_back(Cp1252ToCodePoint(static_cast<unsigned char>(c)));
  }
  finish();
  return doc;
}

RtfDocument ReadRichOrPlainText(std::string_view bytes) {
  return LooksLikeRtf(bytes) ? ParseRtf(bytes) : PlainTextDocument(bytes);
}

void AddParagraphIndents(RtfDocument& document, int leftTwips, int rightTwips, std::size_t first) {
  for (std::size_t i = first; i < document.paragraphs.size(); ++i) {
    RtfParagraphFormat& format = document.paragraphs[i].format;
    format.leftIndent =
        Clamp(static_cast<long>(format.leftIndent) + leftTwips, -kMaxTwips, kMaxTwips);
    format.rightIndent =
        Clamp(static_cast<long>(format.rightIndent) + rightTwips, -kMaxTwips, kMaxTwips);
  }
}

}  // namespace cadenzo
