// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a real X display with a window manager (see run_with_window_manager.sh): where
// the focus goes after a message, which window stays in front, and where tool windows open.
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "support/builders.h"
#include "ui/application.h"
#include "ui/edit_window.h"
#include "ui/main_controller.h"

namespace cadenzo {

namespace {

QString Describe(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QWidget* TopLevel(const char* objectName) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
  }
  return nullptr;
}

// Answers the next modal dialog once it is up: `answer` gets the dialog, notes what it needs and
// closes it. The window the dialog belonged to is kept.
class ModalAnswer : public QObject {
 public:
  explicit ModalAnswer(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timer] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      timer->stop();
      owner = modal->parentWidget() != nullptr ? modal->parentWidget()->window() : nullptr;
      // Let the window manager give it the focus before it goes, as a person would.
      QTimer::singleShot(150, modal, [this, modal] { answer_(modal); });
    });
    timer->start(50);
  }
  QWidget* owner = nullptr;

 private:
  std::function<void(QWidget*)> answer_;
};

}  // namespace

class WindowManagerTest : public QObject {
  Q_OBJECT

  QTemporaryDir settings_;
  testing::TempDir files_;
  std::unique_ptr<Application> app_;

  void ExpectBesideTheMainWindow(QWidget* tool) {
    const QRect available = app_->Window()->screen()->availableGeometry();
    const QRect main = app_->Window()->frameGeometry();
    QTRY_VERIFY2(
        available.contains(tool->frameGeometry()),
        qPrintable(tool->objectName() + QLatin1Char(' ') + Describe(tool->frameGeometry()) +
                   QStringLiteral(" outside ") + Describe(available)));
    // There is room beside the main window on this screen: the tool window leaves it clear.
    QVERIFY2(!tool->frameGeometry().intersects(main),
             qPrintable(tool->objectName() + QLatin1Char(' ') + Describe(tool->frameGeometry()) +
                        QStringLiteral(" covers the main window at ") + Describe(main)));
  }

 private slots:
  void initTestCase() {
    QVERIFY(QGuiApplication::platformName() == QLatin1String("xcb"));
    QCoreApplication::setOrganizationName(QStringLiteral("Cadenzo"));
    QCoreApplication::setApplicationName(QStringLiteral("Cadenzo"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
    const std::filesystem::path example = files_.Path() / "Songs.mfd";
    std::filesystem::copy_file(std::string(CADENZO_DATA_DIR) + "examples/Example.mfd", example);
    app_ = std::make_unique<Application>();
    QVERIFY(app_->Main({example.string()}, CADENZO_DATA_DIR, files_.Str()));
    QVERIFY(QTest::qWaitForWindowExposed(app_->Window()));
    // The window manager may still be settling: ask until the main window has the focus.
    for (int i = 0; i < 50 && !app_->Window()->isActiveWindow(); ++i) {
      app_->Window()->activateWindow();
      QTest::qWait(100);
    }
    QVERIFY(app_->Window()->isActiveWindow());
    // At the screen's left edge, so that there is room beside it.
    const QPoint corner = app_->Window()->screen()->availableGeometry().topLeft();
    app_->Window()->move(corner);
    QTRY_COMPARE(app_->Window()->frameGeometry().topLeft(), corner);
    QCOMPARE(app_->State().List.Size(), 300u);
  }

  void cleanupTestCase() {
    app_->State().FileSaved = true;
    app_.reset();
  }

  void tempoMessageGivesTheFocusBackToTheTempoField() {
    // Add starts from the clicked row.
    QTableView* view = app_->Window()->ListView1();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(0, 1)).center());
    app_->Window()->Click(QStringLiteral("cmdAdd"));
    EditWindow* editor = app_->Controller()->Editor();
    QVERIFY(editor->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), editor);
    ExpectBesideTheMainWindow(editor);

    auto* tempo = editor->findChild<QLineEdit*>(QStringLiteral("txtTempo"));
    tempo->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), tempo);
    tempo->selectAll();
    QTest::keyClicks(tempo, QStringLiteral("20"));
    QString text;
    ModalAnswer answer([&](QWidget* modal) {
      text = static_cast<QMessageBox*>(modal)->text();
      static_cast<QMessageBox*>(modal)->accept();
    });
    QTest::keyClick(tempo, Qt::Key_Tab);
    QTRY_COMPARE(text, QStringLiteral("Tempo must be between 32 and 280"));
    QCOMPARE(answer.owner, editor);
    QTRY_COMPARE(QApplication::activeWindow(), editor);
    QTRY_COMPARE(QApplication::focusWidget(), tempo);
    editor->hide();
  }

  void playListStaysInFrontAfterItsQuestions() {
    app_->Window()->Click(QStringLiteral("cmdInvert"));
    app_->Window()->Click(QStringLiteral("cmdPlayList"));
    QWidget* playList = TopLevel("frmPlayList");
    QVERIFY(playList != nullptr);
    QTRY_COMPARE(QApplication::activeWindow(), playList);
    ExpectBesideTheMainWindow(playList);
    auto* list = playList->findChild<QTreeView*>(QStringLiteral("ListView1"));
    list->setCurrentIndex(list->model()->index(0, 0));

    for (const char* button : {"cmdOrder", "cmdNotes"}) {
      QString prompt;
      ModalAnswer answer([&](QWidget* modal) {
        auto* input = static_cast<QInputDialog*>(modal);
        prompt = input->labelText();
        input->setTextValue(QStringLiteral("2"));
        input->accept();
      });
      playList->findChild<QPushButton*>(QLatin1String(button))->click();
      QVERIFY2(!prompt.isEmpty(), button);
      QCOMPARE(answer.owner, playList);
      QTRY_COMPARE(QApplication::activeWindow(), playList);
      QTest::qWait(300);
      QCOMPARE(QApplication::activeWindow(), playList);
    }
  }

  void toolWindowsOpenBesideTheMainWindow() {
    for (const char* command : {"cmdSearch", "mnuQuickStartGuide", "cmdModify"}) {
      app_->Window()->Click(QLatin1String(command));
    }
    for (const char* window : {"frmSearch", "frmInfo", "frmEdit", "frmPlayList"}) {
      QWidget* tool = TopLevel(window);
      QVERIFY2(tool != nullptr, window);
      ExpectBesideTheMainWindow(tool);
    }
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::WindowManagerTest)
#include "window_manager_test.moc"
