// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the desktop's icon set from the program's icon: make_icons ICON.ico OUTDIR
// writes OUTDIR/<n>x<n>/apps/cadenzo.png for the usual sizes from 16 to 256 pixels and
// OUTDIR/scalable/apps/cadenzo.svg, which carries the 256-pixel picture itself. Sizes the .ico
// holds are copied as they are; the others are scaled down from the next larger picture.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <map>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icons ICON.ico OUTDIR\n");
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[2]);

  // Every picture of the .ico by its width.
  QImageReader reader(QString::fromLocal8Bit(argv[1]), "ico");
  std::map<int, QImage> pictures;
  do {
    const QImage image = reader.read();
    if (image.isNull() || image.width() != image.height()) continue;
    pictures.emplace(image.width(), image.convertToFormat(QImage::Format_ARGB32));
  } while (reader.jumpToNextImage());
  if (pictures.empty() || pictures.rbegin()->first < 256) {
    std::fprintf(stderr, "make_icons: %s holds no 256-pixel picture (%s)\n", argv[1],
                 qPrintable(reader.errorString()));
    return 1;
  }

  for (const int size : kSizes) {
    const auto source = pictures.lower_bound(size);
    const QImage image =
        source->first == size
            ? source->second
            : source->second.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QString path = QStringLiteral("%1/%2x%2/apps/cadenzo.png").arg(outDir).arg(size);
    if (!WriteFile(path, PngBytes(image))) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }

  const QByteArray svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"\n"
      "     width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
      "  <title>Cadenzo</title>\n"
      "  <image width=\"256\" height=\"256\" xlink:href=\"data:image/png;base64," +
      PngBytes(pictures.at(256)).toBase64() + "\"/>\n</svg>\n";
  const QString svgPath = outDir + QStringLiteral("/scalable/apps/cadenzo.svg");
  if (!WriteFile(svgPath, svg)) {
    std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(svgPath));
    return 1;
  }
  return 0;
}
