// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cadenzo {

// The rich-text subset the help documents use, read into paragraphs of formatted runs.
//
// Text is kept as Unicode code points: the documents reach beyond Windows-1252 through \uN.
// Lengths are in twips (1/1440 inch) and font sizes in half-points, as the rich text writes them.

enum class RtfAlignment { kLeft, kCenter, kRight, kJustify };

struct RtfCharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int fontSize = 24;  // half-points (\fs); 24 = 12 pt

  bool operator==(const RtfCharFormat&) const = default;
};

struct RtfParagraphFormat {
  int leftIndent = 0;   // \li
  int rightIndent = 0;  // \ri
  int firstIndent = 0;  // \fi, relative to the left indent
  int spaceBefore = 0;  // \sb
  int spaceAfter = 0;   // \sa
  RtfAlignment alignment = RtfAlignment::kLeft;

  bool operator==(const RtfParagraphFormat&) const = default;
};

struct RtfRun {
  RtfCharFormat format;
  std::u32string text;  // U+2028 is a line break inside the paragraph (\line)

  bool operator==(const RtfRun&) const = default;
};

struct RtfParagraph {
  RtfParagraphFormat format;
  std::vector<RtfRun> runs;

  std::u32string Text() const;
  bool operator==(const RtfParagraph&) const = default;
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;

  // The paragraphs' texts joined with "\n".
  std::u32string PlainText() const;
  bool operator==(const RtfDocument&) const = default;
};

// Groups nested deeper than this keep the formatting of the deepest kept group.
inline constexpr std::size_t kRtfMaxGroupDepth = 200;

// True when the bytes begin with the rich-text signature "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

// Reads rich text. Any input is accepted: what cannot be understood is skipped, and the
// document holds what could be read. Memory grows with the input only, never with the numbers
// the input states.
RtfDocument ParseRtf(std::string_view bytes);

// Windows-1252 text as a document: one paragraph per line (CR LF, LF or CR ends a line).
RtfDocument PlainTextDocument(std::string_view cp1252Text, int fontSize = 20);

// Rich text when the bytes carry the signature, plain text otherwise.
RtfDocument ReadRichOrPlainText(std::string_view bytes);

// Adds left and right indents to the paragraphs from index `first` on.
void AddParagraphIndents(RtfDocument& document, int leftTwips, int rightTwips,
                         std::size_t first = 0);

}  // namespace cadenzo
