// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/recent_files_menu.h"
#include "ui/window_placement.h"

namespace cadenzo {

namespace {

// One run of the program with the shipped data, answering its dialogs from a script; the
// settings are those of the test's own folder.
struct Run {
  explicit Run(const testing::TempDir& files) : files(files) {
    app.SetDialogs(&dialogs);
    started = app.Main({}, CADENZO_DATA_DIR, files.Str());
    window = app.Window();
  }
  QMenu* Recent() const { return window->findChild<QMenu*>(QStringLiteral("mnuOpenRecent")); }
  QStringList Shown() const {
    QStringList texts;
    for (const QAction* item : Recent()->actions()) texts << item->text();
    return texts;
  }
  QStringList Tips() const {
    QStringList tips;
    for (const QAction* item : Recent()->actions()) tips << item->toolTip();
    return tips;
  }
  void OpenWithFileOpen(const std::string& path) {
    dialogs.QueueFile(path);
    window->findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
  }

  const testing::TempDir& files;
  testing::ScriptedDialogs dialogs;
  Application app;
  bool started = false;
  MainWindow* window = nullptr;
};

}  // namespace

class RecentFilesWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> settings_;
  testing::TempDir files_;

  std::string Example(const std::string& name) const {
    const std::filesystem::path target = files_.Path() / name;
    std::filesystem::copy_file(std::string(CADENZO_DATA_DIR) + "examples/Example.mfd", target,
                               std::filesystem::copy_options::overwrite_existing);
    return target.string();
  }

 private slots:
  void init() {
    // The program's names, and settings in a folder of this test only.
    QCoreApplication::setOrganizationName(QStringLiteral("Cadenzo"));
    QCoreApplication::setApplicationName(QStringLiteral("Cadenzo"));
    settings_ = std::make_unique<QTemporaryDir>();
    QVERIFY(settings_->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_->path());
  }

  void recentFilesComeBackAfterARestart() {
    const std::string first = Example("First Songs.mfd");
    const std::string second = Example("Second & Songs.mfd");
    {
      Run run(files_);
      QVERIFY(run.started);
      QVERIFY(run.Recent() != nullptr);
      // Right after Open in the File menu, empty and disabled until a file is opened.
      const QList<QAction*> fileItems =
          run.window->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions();
      const qsizetype open =
          fileItems.indexOf(run.window->findChild<QAction*>(QStringLiteral("mnuOpen")));
      QVERIFY(open >= 0 && open + 1 < fileItems.size());
      QCOMPARE(fileItems[open + 1], run.Recent()->menuAction());
      QVERIFY(run.Recent()->actions().isEmpty());
      QVERIFY(!run.Recent()->isEnabled());

      run.OpenWithFileOpen(first);
      run.OpenWithFileOpen(second);
      run.OpenWithFileOpen(first);  // once only, on top again
      // A cancelled Open and a failed one leave the list as it is.
      run.dialogs.QueueFile(std::nullopt);
      run.window->findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
      run.OpenWithFileOpen(files_.Str() + "not music.txt");
      QCOMPARE(run.dialogs.messages.size(), std::size_t{1});
      QCOMPARE(run.Shown(), (QStringList{QStringLiteral("&1 First Songs.mfd"),
                                         QStringLiteral("&2 Second && Songs.mfd")}));
    }

    Run run(files_);
    QVERIFY(run.started);
    QCOMPARE(run.Shown(), (QStringList{QStringLiteral("&1 First Songs.mfd"),
                                       QStringLiteral("&2 Second && Songs.mfd")}));
    QCOMPARE(run.Tips(),
             (QStringList{QString::fromStdString(first), QString::fromStdString(second)}));
    QVERIFY(run.Recent()->isEnabled());

    // Choosing one opens it as File > Open would, and it goes to the top.
    run.Recent()->actions()[1]->trigger();
    QCOMPARE(run.app.State().CurrentFilePath, second);
    QCOMPARE(run.app.State().List.Size(), 300u);
    QVERIFY(run.window->windowTitle().contains(QStringLiteral("Second & Songs.mfd")));
    QCOMPARE(run.Tips(),
             (QStringList{QString::fromStdString(second), QString::fromStdString(first)}));

    // With unsaved changes it asks first; Yes (save first) keeps the open file.
    run.app.State().FileSaved = false;
    run.dialogs.QueueAnswer(Answer::kYes);
    run.Recent()->actions()[1]->trigger();
    QCOMPARE(run.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(run.dialogs.messages[0].title, std::string("Open"));
    QCOMPARE(run.app.State().CurrentFilePath, second);
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == QLatin1String("frmConvert")) top->close();
    }
    run.app.State().FileSaved = true;

    // A file that has gone is taken off the list with a message, and nothing else happens.
    std::filesystem::remove(first);
    run.Recent()->actions()[1]->trigger();
    QCOMPARE(run.dialogs.messages.size(), std::size_t{2});
    QVERIFY(run.dialogs.messages[1].text.find("First Songs.mfd") != std::string::npos);
    QCOMPARE(run.app.State().CurrentFilePath, second);
    QCOMPARE(run.Tips(), QStringList{QString::fromStdString(second)});
    QCOMPARE(QSettings().value(QStringLiteral("RecentFiles")).toStringList(), run.Tips());
  }

  void onlyTheLastEightAreKept() {
    Run run(files_);
    QVERIFY(run.started);
    auto* recent = run.window->findChild<RecentFilesMenu*>();
    QVERIFY(recent != nullptr);
    QStringList expected;
    for (int i = 1; i <= 10; ++i) {
      const QString path = QStringLiteral("/music/%1.mfd").arg(i);
      recent->Add(path);
      expected.prepend(path);
    }
    recent->Add(QStringLiteral("/music/5.mfd"));
    expected.removeAll(QStringLiteral("/music/5.mfd"));
    expected.prepend(QStringLiteral("/music/5.mfd"));
    expected = expected.mid(0, RecentFilesMenu::kMaxFiles);
    QCOMPARE(recent->Paths(), expected);
    QCOMPARE(run.Tips(), expected);
    QCOMPARE(QSettings().value(QStringLiteral("RecentFiles")).toStringList(), expected);
  }

  // The main window comes back where it was closed, inside the screen; nothing else is stored.
  // (The sizes are above the window's least size, status bar included.)
  void windowGeometryComesBackInsideTheScreen_data() {
    QTest::addColumn<QRect>("left");
    QTest::newRow("on the screen") << QRect(40, 20, 800, 640);
    QTest::newRow("beyond the bottom right") << QRect(5000, 4000, 800, 640);
    QTest::newRow("larger than the screen") << QRect(-300, -200, 9000, 7000);
  }

  void windowGeometryComesBackInsideTheScreen() {
    QFETCH(QRect, left);
    {
      Run run(files_);
      QVERIFY(run.started);
      run.window->resize(left.size());
      run.window->move(left.topLeft());
      QVERIFY(run.window->close());
    }
    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("MainWindow/position")).toPoint(), left.topLeft());
    QCOMPARE(settings.value(QStringLiteral("MainWindow/size")).toSize(), left.size());
    QCOMPARE(settings.allKeys(), (QStringList{QStringLiteral("MainWindow/position"),
                                              QStringLiteral("MainWindow/size")}));

    Run run(files_);
    QVERIFY(run.started);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect shown(run.window->pos(), run.window->size());
    QVERIFY2(available.contains(shown), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                       .arg(shown.x())
                                                       .arg(shown.y())
                                                       .arg(shown.width())
                                                       .arg(shown.height())));
    if (available.contains(left)) QCOMPARE(shown, left);
    // The restored window has every room it had, as far as the screen allows.
    QCOMPARE(shown.size(), left.size().boundedTo(available.size()));
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::RecentFilesWindowTest)
#include "recent_files_window_test.moc"
