// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the manual from its Markdown source into a PDF: make_manual SOURCE.md OUTPUT.pdf
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// The widest a picture may be drawn, in the document's pixels: the text width of the page.
constexpr double kMaxImageWidth = 640;

// Scales every picture down to the page's text width, keeping its shape. A picture that cannot
// be loaded fails the build, so that the manual never ships with holes.
bool FitImages(QTextDocument& document) {
  std::vector<std::pair<QTextFragment, QTextImageFormat>> images;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.isValid() && fragment.charFormat().isImageFormat()) {
        images.emplace_back(fragment, fragment.charFormat().toImageFormat());
      }
    }
  }
  for (auto& [fragment, format] : images) {
    const QImage image =
        document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
    if (image.isNull()) {
      std::fprintf(stderr, "make_manual: cannot load the picture %s\n", qPrintable(format.name()));
      return false;
    }
    // Printing lays out a copy of the document, which keeps added resources but not the
    // pictures loaded from files.
    document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
    const double width = std::min<double>(image.width(), kMaxImageWidth);
    format.setWidth(width);
    format.setHeight(width * image.height() / image.width());
    QTextCursor cursor(&document);
    cursor.setPosition(fragment.position());
    cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_manual SOURCE.md OUTPUT.pdf\n");
    return 2;
  }
  QFile source(QString::fromLocal8Bit(argv[1]));
  if (!source.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString markdown = QString::fromUtf8(source.readAll());

  QTextDocument document;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10);
  document.setDefaultFont(font);
  // Pictures are named relative to the source's folder.
  document.setBaseUrl(
      QUrl::fromLocalFile(QFileInfo(source.fileName()).absolutePath() + QLatin1Char('/')));
  document.setMarkdown(markdown);
  if (!FitImages(document)) return 1;

  // Some air between paragraphs and before headings.
  QTextCursor cursor(&document);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    if (format.headingLevel() > 0) {
      format.setTopMargin(format.headingLevel() == 1 ? 18 : 12);
      format.setBottomMargin(6);
    } else if (!block.textList()) {
      format.setBottomMargin(5);
    }
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }

  const QString outputPath = QString::fromLocal8Bit(argv[2]);
  // The document adds its own margins of 2 cm around the text and the page numbers.
  QPdfWriter writer(outputPath);
  writer.setTitle(QStringLiteral("Cadenzo Manual"));
  writer.setCreator(QStringLiteral("Cadenzo"));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  document.print(&writer);
  if (!QFile::exists(outputPath)) {
    std::fprintf(stderr, "make_manual: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
