// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rtf_reader.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/runtime_error.h"
#include "textio/file_limits.h"
#include "textio/text_file.h"

namespace cadenzo {
namespace {

QTextBlockFormat BlockFormat(const RtfParagraphFormat& f) {
  QTextBlockFormat block;
  block.setLeftMargin(TwipsToPixels(f.leftIndent));
  block.setRightMargin(TwipsToPixels(f.rightIndent));
  block.setTextIndent(TwipsToPixels(f.firstIndent));
  block.setTopMargin(TwipsToPixels(f.spaceBefore));
  block.setBottomMargin(TwipsToPixels(f.spaceAfter));
  if (f.firstIndent < 0) {
    // A hanging first line: its first tab reaches the left indent, as for a bullet.
    block.setTabPositions({QTextOption::Tab(TwipsToPixels(-f.firstIndent), QTextOption::LeftTab)});
  }
  switch (f.alignment) {
    case RtfAlignment::kLeft:
      block.setAlignment(Qt::AlignLeft);
      break;
    case RtfAlignment::kCenter:
      block.setAlignment(Qt::AlignHCenter);
      break;
    case RtfAlignment::kRight:
      block.setAlignment(Qt::AlignRight);
      break;
    case RtfAlignment::kJustify:
      block.setAlignment(Qt::AlignJustify);
      break;
  }
  return block;
}

QTextCharFormat CharFormat(const RtfCharFormat& f) {
  QTextCharFormat chr;
  chr.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  chr.setFontItalic(f.italic);
  chr.setFontUnderline(f.underline);
  chr.setFontPointSize(f.fontSize / 2.0);
  return chr;
}

RtfParagraphFormat ParagraphFrom(const QTextBlockFormat& block) {
  RtfParagraphFormat f;
  f.leftIndent = PixelsToTwips(block.leftMargin());
  f.rightIndent = PixelsToTwips(block.rightMargin());
  f.firstIndent = PixelsToTwips(block.textIndent());
  f.spaceBefore = PixelsToTwips(block.topMargin());
  f.spaceAfter = PixelsToTwips(block.bottomMargin());
  const Qt::Alignment a = block.alignment() & Qt::AlignHorizontal_Mask;
  if (a & Qt::AlignHCenter) {
    f.alignment = RtfAlignment::kCenter;
  } else if (a & Qt::AlignRight) {
    f.alignment = RtfAlignment::kRight;
  } else if (a & Qt::AlignJustify) {
    f.alignment = RtfAlignment::kJustify;
  }
  return f;
}

RtfCharFormat CharFrom(const QTextCharFormat& chr, qreal defaultPointSize) {
  RtfCharFormat f;
  f.bold = chr.fontWeight() >= QFont::DemiBold;
  f.italic = chr.fontItalic();
  f.underline = chr.fontUnderline();
  const qreal points = chr.fontPointSize() > 0 ? chr.fontPointSize() : defaultPointSize;
  f.fontSize = std::max(2, static_cast<int>(std::lround(points * 2)));
  return f;
}

}  // namespace

qreal TwipsToPixels(int twips) { return twips / qreal{kTwipsPerPixel}; }
int PixelsToTwips(qreal pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

void FillTextDocument(QTextDocument& document, const RtfDocument& source) {
  document.clear();
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  bool first = true;
  for (const RtfParagraph& paragraph : source.paragraphs) {
    const QTextBlockFormat block = BlockFormat(paragraph.format);
    const QTextCharFormat blockChars =
        CharFormat(paragraph.runs.empty() ? RtfCharFormat{} : paragraph.runs.front().format);
    if (first) {
      cursor.setBlockFormat(block);
      cursor.setBlockCharFormat(blockChars);
      first = false;
    } else {
      cursor.insertBlock(block, blockChars);
    }
    for (const RtfRun& run : paragraph.runs) {
      QString text = QString::fromStdU32String(run.text);
      // A paragraph separator inside a run would split the paragraph: show it as a line break.
      text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
      cursor.insertText(text, CharFormat(run.format));
    }
  }
  cursor.endEditBlock();
}

namespace {

// The paragraphs from the one holding `start` to the last one starting before `end`, with the
// runs cut to [start, end).
RtfDocument RtfFromRange(const QTextDocument& document, int start, int end) {
  RtfDocument out;
  const qreal defaultPoints = document.defaultFont().pointSizeF();
  for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
       block = block.next()) {
    RtfParagraph paragraph;
    paragraph.format = ParagraphFrom(block.blockFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      const int from = std::max(start, fragment.position());
      const int to = std::min(end, fragment.position() + fragment.length());
      if (from >= to) continue;
      const std::u32string text =
          fragment.text().mid(from - fragment.position(), to - from).toStdU32String();
      const RtfCharFormat format = CharFrom(fragment.charFormat(), defaultPoints);
      if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
        paragraph.runs.back().text += text;
      } else {
        paragraph.runs.push_back(RtfRun{format, text});
      }
    }
    out.paragraphs.push_back(std::move(paragraph));
  }
  return out;
}

}  // namespace

RtfDocument RtfFromTextDocument(const QTextDocument& document) {
  return RtfFromRange(document, 0, std::numeric_limits<int>::max());
}

RtfDocument RtfFromSelection(const QTextCursor& cursor) {
  if (cursor.document() == nullptr || !cursor.hasSelection()) return {};
  return RtfFromRange(*cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
}

bool LoadRichTextFile(QTextDocument& document, const std::string& path) {
  std::string bytes;
  try {
    const Bytes raw = ReadFileWithin(path, kMaxHelpDocumentSize);
    bytes.assign(raw.begin(), raw.end());
  } catch (const RuntimeError&) {
    return false;
  }
  FillTextDocument(document, ReadRichOrPlainText(bytes));
  return true;
}

}  // namespace cadenzo
