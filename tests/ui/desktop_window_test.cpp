// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTableView>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"

namespace cadenzo {

namespace {

// A started program with the shipped data, answering its dialogs from a script.
struct Program {
  Program() {
    app.SetDialogs(&dialogs);
    started = app.Main({}, CADENZO_DATA_DIR, tmp.Str());
    window = app.Window();
  }
  // A copy of the shipped example under another name in the scratch folder.
  std::string Example(const std::string& name) const {
    const std::filesystem::path target = tmp.Path() / name;
    std::filesystem::copy_file(std::string(CADENZO_DATA_DIR) + "examples/Example.mfd", target,
                               std::filesystem::copy_options::overwrite_existing);
    return target.string();
  }
  QWidget* TopLevel(const char* objectName) const {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    }
    return nullptr;
  }

  testing::TempDir tmp;
  testing::ScriptedDialogs dialogs;
  Application app;
  bool started = false;
  MainWindow* window = nullptr;
};

std::unique_ptr<QMimeData> UrlsData(const QList<QUrl>& urls) {
  auto data = std::make_unique<QMimeData>();
  data->setUrls(urls);
  return data;
}

// Drags the data over the window and drops it, as the window system would; true when the
// window accepted the drag.
bool DragAndDrop(QWidget* window, const QMimeData* data) {
  const QPoint centre = window->rect().center();
  QDragEnterEvent enter(centre, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QDropEvent drop(QPointF(centre), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
  // The file opens once the drop has finished.
  QCoreApplication::processEvents();
  return enter.isAccepted() && drop.isAccepted();
}

}  // namespace

class DesktopWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void droppedMusicFinderFileOpensLikeFileOpen() {
    Program p;
    QVERIFY(p.started);
    // The window takes drops, and drops over the list land on it.
    QVERIFY(p.window->acceptDrops());
    QVERIFY(!p.window->ListView1()->acceptDrops());
    QVERIFY(!p.window->ListView1()->viewport()->acceptDrops());
    const std::string path = p.Example("Dropped Songs.MFD");
    const auto data = UrlsData({QUrl::fromLocalFile(QString::fromStdString(path))});
    QVERIFY(DragAndDrop(p.window, data.get()));
    QCOMPARE(p.app.State().List.Size(), 300u);
    QCOMPARE(p.app.State().CurrentFilePath, path);
    QCOMPARE(p.app.State().OpenFolder, p.tmp.Str());
    QVERIFY2(p.window->windowTitle().startsWith(QStringLiteral("Cadenzo   Dropped Songs.MFD")),
             qPrintable(p.window->windowTitle()));
    QCOMPARE(p.window->cboInst()->currentText(), QStringLiteral("PSR-S970"));
    QVERIFY(p.dialogs.messages.empty());
  }

  void otherDropsAreRefused_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::newRow("text file") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"))}
                               << QString();
    QTest::newRow("two files") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a.mfd")),
                                              QUrl::fromLocalFile(QStringLiteral("/tmp/b.mfd"))}
                               << QString();
    QTest::newRow("remote file") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.mfd"))}
                                 << QString();
    QTest::newRow("plain text") << QList<QUrl>{} << QStringLiteral("/tmp/a.mfd");
  }

  void otherDropsAreRefused() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    Program p;
    QVERIFY(p.started);
    auto data = UrlsData(urls);
    if (!text.isEmpty()) data->setText(text);
    QVERIFY(!DragAndDrop(p.window, data.get()));
    QVERIFY(!p.app.State().FileLoaded);
    QVERIFY(p.app.State().CurrentFilePath.empty());
    QVERIFY(p.dialogs.messages.empty());
  }

  void dropAsksAboutUnsavedChangesFirst() {
    Program p;
    QVERIFY(p.started);
    const std::string first = p.Example("first.mfd");
    const std::string second = p.Example("second.mfd");
    const auto firstData = UrlsData({QUrl::fromLocalFile(QString::fromStdString(first))});
    const auto secondData = UrlsData({QUrl::fromLocalFile(QString::fromStdString(second))});
    QVERIFY(DragAndDrop(p.window, firstData.get()));
    QCOMPARE(p.app.State().CurrentFilePath, first);

    // Yes, save first: the Save As Options window opens and the open file stays.
    p.app.State().FileSaved = false;
    p.dialogs.QueueAnswer(Answer::kYes);
    QVERIFY(DragAndDrop(p.window, secondData.get()));
    QCOMPARE(p.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(p.dialogs.messages[0].text,
             std::string("Your file has not been saved. Do you want to save now ?"));
    QCOMPARE(p.dialogs.messages[0].title, std::string("Open"));
    QCOMPARE(p.app.State().CurrentFilePath, first);
    QWidget* options = p.TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    options->close();

    // No: the dropped file replaces the changed one.
    p.dialogs.QueueAnswer(Answer::kNo);
    QVERIFY(DragAndDrop(p.window, secondData.get()));
    QCOMPARE(p.dialogs.messages.size(), std::size_t{2});
    QCOMPARE(p.app.State().CurrentFilePath, second);
    QVERIFY(p.app.State().FileSaved);
    QVERIFY(p.dialogs.AllAnswered());
  }

  void shortcutsAreUniqueAndNamed_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("open") << "mnuOpen" << QKeySequence(Qt::CTRL | Qt::Key_O);
    QTest::newRow("new") << "mnuNew" << QKeySequence(Qt::CTRL | Qt::Key_N);
    QTest::newRow("save as") << "mnuConvert" << QKeySequence(Qt::CTRL | Qt::Key_S);
    QTest::newRow("search") << "mnuSearch" << QKeySequence(Qt::CTRL | Qt::Key_F);
    QTest::newRow("exit") << "mnuExit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
    QTest::newRow("guide") << "mnuQuickStartGuide" << QKeySequence(Qt::Key_F1);
  }

  void shortcutsAreUniqueAndNamed() {
    QFETCH(QString, item);
    QFETCH(QKeySequence, keys);
    Program p;
    QVERIFY(p.started);
    QStringList owners;
    for (QAction* action : p.window->findChildren<QAction*>()) {
      if (action->shortcuts().contains(keys)) owners << action->objectName();
    }
    QCOMPARE(owners, QStringList{item});
  }

  void shortcutsRunTheirCommands() {
    Program p;
    QVERIFY(p.started);
    p.window->show();
    p.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.window));

    // Ctrl+S without a file: the Save As command's own refusal.
    QTest::keyClick(p.window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{"Select a file to view first"});

    // Ctrl+N and Ctrl+O show their file dialogs; Cancel changes nothing.
    p.dialogs.QueueFile(std::nullopt);
    QTest::keyClick(p.window, Qt::Key_N, Qt::ControlModifier);
    p.dialogs.QueueFile(p.Example("opened.mfd"));
    QTest::keyClick(p.window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(p.dialogs.fileRequests.size(), std::size_t{2});
    QCOMPARE(p.dialogs.fileRequests[0].title, std::string("New"));
    QCOMPARE(p.dialogs.fileRequests[1].title, std::string("Open"));
    QCOMPARE(p.app.State().List.Size(), 300u);

    // Ctrl+F opens the search window once a file is open.
    QTest::keyClick(p.window, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(p.TopLevel("frmSearch") != nullptr);

    // F1: the quick start guide in the information window.
    p.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.window));
    QTest::keyClick(p.window, Qt::Key_F1);
    QWidget* info = p.TopLevel("frmInfo");
    QVERIFY(info != nullptr);
    QVERIFY(p.dialogs.AllAnswered());

    // Ctrl+Q: Exit, with its question when the file has changed.
    p.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.window));
    p.app.State().FileSaved = false;
    p.dialogs.QueueAnswer(Answer::kNo);
    QTest::keyClick(p.window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(p.dialogs.messages.back().title, std::string("Closing Cadenzo"));
    QVERIFY(!p.window->isVisible());
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::DesktopWindowTest)
#include "desktop_window_test.moc"
