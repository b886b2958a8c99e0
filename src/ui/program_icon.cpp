#include "ui/program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "ui/qt_text.h"

namespace cadenzo {

QImage DrawProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 256.0, size / 256.0);

  // Rounded tile in deep blue.
  QLinearGradient tile(0, 0, 0, 256);
  tile.setColorAt(0, QColor(0x2b, 0x4f, 0x8f));
  tile.setColorAt(1, QColor(0x12, 0x22, 0x48));
  p.setPen(Qt::NoPen);
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

  // Keyboard: seven white keys with five black keys.
  const QRectF keys(28, 150, 200, 78);
  p.setBrush(QColor(0xf4, 0xf1, 0xe8));
  p.setPen(QPen(QColor(0x12, 0x22, 0x48), 3));
  const qreal white = keys.width() / 7;
  for (int i = 0; i < 7; ++i) {
    p.drawRoundedRect(QRectF(keys.left() + i * white, keys.top(), white, keys.height()), 4, 4);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x16, 0x16, 0x1c));
  constexpr std::array<int, 5> kBlackAfter = {0, 1, 3, 4, 5};
  for (int i : kBlackAfter) {
    const qreal x = keys.left() + (i + 1) * white - white * 0.3;
    p.drawRoundedRect(QRectF(x, keys.top(), white * 0.6, keys.height() * 0.6), 3, 3);
  }

  // Two beamed eighth notes in gold above the keys.
  const QColor gold(0xf2, 0xb8, 0x2f);
  p.setBrush(gold);
  p.setPen(Qt::NoPen);
  for (qreal x : {82.0, 162.0}) {
    p.save();
    p.translate(x, 112);
    p.rotate(-20);
    p.drawEllipse(QRectF(-22, -15, 44, 30));
    p.restore();
  }
  p.setPen(QPen(gold, 9, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(100, 106), QPointF(100, 34));
  p.drawLine(QPointF(180, 106), QPointF(180, 22));
  QPainterPath beam;
  beam.moveTo(96, 30);
  beam.lineTo(184, 18);
  beam.lineTo(184, 44);
  beam.lineTo(96, 56);
  beam.closeSubpath();
  p.setPen(Qt::NoPen);
  p.fillPath(beam, gold);
  return image;
}

QIcon ProgramIcon(const std::string& appPath) {
  QIcon icon(PathToQt(appPath + kIconFileName));
  if (!icon.availableSizes().isEmpty()) return icon;
  QIcon drawn;
  for (int size : {16, 32, 48, 64, 256}) drawn.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
  return drawn;
}

}  // namespace cadenzo
