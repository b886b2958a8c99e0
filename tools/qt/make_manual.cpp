// Renders the manual from its Markdown source into a PDF: make_manual SOURCE.md OUTPUT.pdf
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

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
  document.setMarkdown(markdown);

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
