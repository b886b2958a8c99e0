// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTableView>
#include <QtTest>

#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/main_window.h"

namespace cadenzo {

class StartupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void quotedCommandLineSetsTheCaption() {
    testing::TempDir tmp;
    testing::ScriptedDialogs dialogs;
    Application app;
    app.SetDialogs(&dialogs);
    QVERIFY(app.Main({"\"/music/My File.mfd\""}, CADENZO_DATA_DIR, tmp.Str()));
    QVERIFY(app.Window() != nullptr);
    QCOMPARE(app.Window()->objectName(), QStringLiteral("frmCadenzo"));
    QVERIFY(app.Window()->windowTitle().startsWith(QStringLiteral("Cadenzo   My File.mfd")));
    QCOMPARE(app.State().CommandLineFile, std::string("/music/My File.mfd"));
    QCOMPARE(app.State().UserFolder, tmp.Str() + "Cadenzo/");
  }

  void emptyCommandLineShowsNoFile() {
    testing::TempDir tmp;
    testing::ScriptedDialogs dialogs;
    Application app;
    app.SetDialogs(&dialogs);
    QVERIFY(app.Main({}, CADENZO_DATA_DIR, tmp.Str()));
    QCOMPARE(app.Window()->windowTitle(), QStringLiteral("Cadenzo"));
    QVERIFY(app.State().FileName.empty());
    QVERIFY(dialogs.messages.empty());
  }

  // Start-up with a file builds the main window only; the record editor is built when first
  // asked for, once, and shows the state the open left.
  void toolWindowsAreBuiltWhenFirstUsed() {
    testing::TempDir tmp;
    testing::ScriptedDialogs dialogs;
    testing::FileBuilder file;
    file.records.push_back(testing::RecordBuilder{.number = 0, .music = "First"});
    const std::string path = tmp.Write("one.mfd", file.Build()).string();
    Application app;
    app.SetDialogs(&dialogs);
    QVERIFY(app.Main({path}, CADENZO_DATA_DIR, tmp.Str()));
    QVERIFY(app.State().FileLoaded);
    QCOMPARE(app.Window()->findChildren<QDialog*>().size(), 0);

    // Add starts from the clicked row.
    QTableView* view = app.Window()->ListView1();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(0, 2)).center());
    app.Window()->Click(QStringLiteral("cmdAdd"));
    app.Window()->Click(QStringLiteral("cmdAdd"));
    const QList<QDialog*> dialogsBuilt = app.Window()->findChildren<QDialog*>();
    QCOMPARE(dialogsBuilt.size(), 1);
    QCOMPARE(dialogsBuilt.front()->objectName(), QStringLiteral("frmEdit"));
    QVERIFY(dialogsBuilt.front()->isVisible());
    // The section lists start at "Off", as start-up prepared them.
    auto* intro = dialogsBuilt.front()->findChild<QComboBox*>(QStringLiteral("cboIntro"));
    QVERIFY(intro != nullptr);
    QCOMPARE(intro->currentIndex(), app.State().Editor.cboIntro);
    QVERIFY(intro->count() > 0);
    app.State().FileSaved = true;
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::StartupWindowTest)
#include "startup_window_test.moc"
