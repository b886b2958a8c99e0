// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRandomGenerator>
#include <QtTest>

#include "ui/window_placement.h"

namespace cadenzo {

class WindowPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void toolWindowsGoBesideTheMainWindow_data() {
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QList<QRect>>("others");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("room on the right") << QSize(400, 300) << QRect(100, 50, 1100, 700)
                                       << QList<QRect>{} << screen << QPoint(1200, 50);
    QTest::newRow("only room on the left") << QSize(400, 300) << QRect(500, 50, 1100, 700)
                                           << QList<QRect>{} << screen << QPoint(100, 50);
    QTest::newRow("below a tool window on the right")
        << QSize(400, 300) << QRect(100, 50, 1100, 700) << QList<QRect>{QRect(1200, 50, 500, 400)}
        << screen << QPoint(1200, 450);
    QTest::newRow("beside a tool window that fills the column")
        << QSize(200, 300) << QRect(0, 0, 1100, 700) << QList<QRect>{QRect(1100, 0, 500, 1080)}
        << screen << QPoint(1600, 0);
    QTest::newRow("moved up into the screen") << QSize(400, 600) << QRect(100, 700, 1100, 300)
                                              << QList<QRect>{} << screen << QPoint(1200, 480);
    QTest::newRow("over a tool window rather than the main window")
        << QSize(400, 300) << QRect(0, 0, 1400, 700) << QList<QRect>{QRect(1400, 0, 520, 1080)}
        << screen << QPoint(1400, 0);
    QTest::newRow("no room beside: at the main window's right edge")
        << QSize(400, 300) << QRect(0, 0, 1800, 1000) << QList<QRect>{} << screen
        << QPoint(1400, 0);
    QTest::newRow("second screen")
        << QSize(400, 300) << QRect(2000, 100, 1100, 700) << QList<QRect>{}
        << QRect(1920, 0, 2560, 1440) << QPoint(3100, 100);
  }

  void toolWindowsGoBesideTheMainWindow() {
    QFETCH(QSize, frame);
    QFETCH(QRect, main);
    QFETCH(QList<QRect>, others);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(PlaceBeside(frame, main, others, available), expected);
  }

  // Whatever the main window and the other windows, the tool window lies inside the screen, and
  // it meets the main window only when no spot beside it is free of the main window.
  void placesAreAlwaysInsideTheScreen() {
    QRandomGenerator random(20261208);
    const QRect screen(0, 0, 1920, 1080);
    for (int i = 0; i < 5000; ++i) {
      const QSize frame(random.bounded(100, 1921), random.bounded(100, 1081));
      const QRect main = KeptInside(QRect(random.bounded(-500, 1900), random.bounded(-500, 1000),
                                          random.bounded(200, 2000), random.bounded(150, 1200)),
                                    screen);
      QList<QRect> others;
      for (int o = random.bounded(0, 4); o > 0; --o) {
        others << QRect(random.bounded(0, 1800), random.bounded(0, 1000), random.bounded(100, 800),
                        random.bounded(100, 800));
      }
      const QRect placed(PlaceBeside(frame, main, others, screen), frame);
      QVERIFY2(screen.contains(placed), qPrintable(QString::number(i)));
      const bool roomRight = screen.right() - main.right() >= frame.width();
      const bool roomLeft = main.left() - screen.left() >= frame.width();
      if (roomRight || roomLeft) QVERIFY2(!placed.intersects(main), qPrintable(QString::number(i)));
    }
  }

  void keptInsideMovesAndShrinks_data() {
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("inside") << QRect(10, 20, 300, 200) << QRect(10, 20, 300, 200);
    QTest::newRow("off the right") << QRect(1900, 20, 300, 200) << QRect(1620, 20, 300, 200);
    QTest::newRow("off the top left") << QRect(-50, -40, 300, 200) << QRect(0, 0, 300, 200);
    QTest::newRow("too large") << QRect(100, 100, 3000, 2000) << QRect(0, 0, 1920, 1080);
  }

  void keptInsideMovesAndShrinks() {
    QFETCH(QRect, rect);
    QFETCH(QRect, expected);
    QCOMPARE(KeptInside(rect, QRect(0, 0, 1920, 1080)), expected);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::WindowPlacementTest)
#include "window_placement_test.moc"
