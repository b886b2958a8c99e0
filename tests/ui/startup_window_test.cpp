// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QtTest>

#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"

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
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::StartupWindowTest)
#include "startup_window_test.moc"
