// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QTimer>
#include <QtTest>

#include "support/builders.h"
#include "ui/qt_dialogs.h"

namespace cadenzo {

class FileDialogsTest : public QObject {
  Q_OBJECT

  // The names the dialog's file list shows once the folder is read, with hidden files shown
  // and every name let through, as a person can ask for; the dialog is then cancelled.
  static QStringList ShownNames(QFileDialog* dialog) {
    dialog->setFilter(dialog->filter() | QDir::Hidden);
    dialog->setNameFilter(QStringLiteral("*"));
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (view == nullptr) return names;
    // The folder is read in the background: wait until the plain file is listed.
    for (int i = 0; i < 400 && !names.contains(QStringLiteral("song.mfd")); ++i) {
      QTest::qWait(25);
      names.clear();
      const QModelIndex root = view->rootIndex();
      for (int r = 0; r < view->model()->rowCount(root); ++r) {
        names << view->model()->index(r, 0, root).data().toString();
      }
    }
    return names;
  }

  // Opens one of the dialogs on a folder that holds a plain file, a hidden file and the
  // temporary files of saves, and gives the names the dialog listed.
  QStringList ListedBy(bool save) {
    testing::TempDir dir;
    dir.Write("song.mfd", std::string("x"));
    dir.Write(".hidden.mfd", std::string("x"));
    dir.Write(".cadenzo-4242-aB3dE9", std::string("a running save"));
    dir.Write(".cadenzo-1-zzzzzz", std::string("another"));
    QStringList names;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      names = ShownNames(dialog);
      dialog->reject();
    });
    QtDialogs dialogs;
    const FileRequest request{.title = "Choose",
                              .folder = dir.Str(),
                              .filter = "Music Finder Files(*.mfd)|*.mfd|",
                              .defaultExtension = "mfd"};
    const auto chosen = save ? dialogs.SaveFile(request) : dialogs.OpenFile(request);
    if (chosen) names << QStringLiteral("(a file was chosen)");
    return names;
  }

 private slots:
  // The temporary files of saves stay out of both file dialogs, whatever the person lets show;
  // every other file, hidden ones included, is listed.
  void temporaryFilesOfSavesAreNotListed() {
    for (const bool save : {false, true}) {
      const QStringList names = ListedBy(save);
      QVERIFY2(names.contains(QStringLiteral("song.mfd")), qPrintable(names.join(',')));
      QVERIFY(!names.contains(QStringLiteral("(a file was chosen)")));
      QVERIFY2(names.contains(QStringLiteral(".hidden.mfd")), qPrintable(names.join(',')));
      QVERIFY2(!names.contains(QStringLiteral(".cadenzo-4242-aB3dE9")),
               qPrintable(names.join(',')));
      QVERIFY2(!names.contains(QStringLiteral(".cadenzo-1-zzzzzz")), qPrintable(names.join(',')));
    }
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::FileDialogsTest)
#include "file_dialogs_test.moc"
