// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include "ui/auto_size_columns.h"

namespace cadenzo {

class AutoSizeColumnsTest : public QObject {
  Q_OBJECT

 private slots:
  // Columns of many repeated texts fit their widest text, wherever in the sampled rows it stands
  // and however often it repeats; a column of one text, also found in another column, is as wide as
  // that text needs.
  void repeatedTextsFitTheWidestOne() {
    const QString wide = QStringLiteral("A much wider text than the others");
    QStandardItemModel model(2 * kAutoSizeSampleRows + 100, 2);
    for (int r = 0; r < model.rowCount(); ++r) {
      const bool isWide = r == 7 || r == model.rowCount() - 3;
      model.setItem(r, 0, new QStandardItem(isWide ? wide : QStringLiteral("No")));
      model.setItem(r, 1, new QStandardItem(QStringLiteral("No")));
    }
    QTableView view;
    view.setModel(&model);
    view.resize(400, 300);
    AutoSizeColumns(&view, false);

    const QFontMetrics metrics(view.font());
    const int wideWidth = view.horizontalHeader()->sectionSize(0);
    const int noWidth = view.horizontalHeader()->sectionSize(1);
    QVERIFY(wideWidth >= metrics.horizontalAdvance(wide));
    QVERIFY(noWidth >= metrics.horizontalAdvance(QStringLiteral("No")));
    // Both carry the same padding on top of their text.
    QCOMPARE(wideWidth - metrics.horizontalAdvance(wide),
             noWidth - metrics.horizontalAdvance(QStringLiteral("No")));
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::AutoSizeColumnsTest)
#include "auto_size_columns_test.moc"
