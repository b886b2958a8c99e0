// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextCursor>
#include <QTextDocument>
#include <string>

#include "textio/rtf_parser.h"

namespace cadenzo {

// Twips (1/1440 inch) in a pixel (1/96 inch), of the screen and of the documents alike.
inline constexpr int kTwipsPerPixel = 15;

// Twips to the document's pixels, and back.
qreal TwipsToPixels(int twips);
int PixelsToTwips(qreal pixels);

// Replaces the document's content by the paragraphs and runs of a read rich text.
void FillTextDocument(QTextDocument& document, const RtfDocument& source);

// The paragraphs and runs of a document or a selection, for writing them as rich text.
RtfDocument RtfFromTextDocument(const QTextDocument& document);
// The selection's paragraphs keep the formats of the paragraphs they were taken from.
RtfDocument RtfFromSelection(const QTextCursor& cursor);

// Reads a file as rich text (or as plain text when it is not rich text) into the document.
// Returns false, leaving the document alone, when the file cannot be read.
bool LoadRichTextFile(QTextDocument& document, const std::string& path);

}  // namespace cadenzo
