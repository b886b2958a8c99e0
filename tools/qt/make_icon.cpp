// Draws the program's icon and writes it as a Windows icon file with PNG images of several
// sizes: make_icon OUTPUT.ico
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <vector>

#include "ui/program_icon.h"

namespace {

void PutLe16(QByteArray& out, int value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
}

void PutLe32(QByteArray& out, qint64 value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.append(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
  std::vector<QByteArray> images;
  for (int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!cadenzo::DrawProgramIcon(size).save(&buffer, "PNG")) {
      std::fprintf(stderr, "make_icon: cannot encode the %d pixel image\n", size);
      return 1;
    }
    images.push_back(png);
  }

  // ICONDIR, then one ICONDIRENTRY per image, then the images.
  QByteArray ico;
  PutLe16(ico, 0);
  PutLe16(ico, 1);
  PutLe16(ico, static_cast<int>(sizes.size()));
  qint64 offset = 6 + 16 * static_cast<qint64>(sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const int dimension = sizes[i] >= 256 ? 0 : sizes[i];  // 0 stands for 256
    ico.append(static_cast<char>(dimension));
    ico.append(static_cast<char>(dimension));
    ico.append('\0');  // no palette
    ico.append('\0');
    PutLe16(ico, 1);   // planes
    PutLe16(ico, 32);  // bits per pixel
    PutLe32(ico, images[i].size());
    PutLe32(ico, offset);
    offset += images[i].size();
  }
  for (const QByteArray& image : images) ico.append(image);

  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(ico) != ico.size()) {
    std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
