// SPDX-License-Identifier: GPL-3.0-or-later
// Save As with a default style that the target's list lacks, driven through the real windows.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "mfd/processing_pass.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"

namespace cadenzo {

class SaveDefaultStyleWindowTest : public QObject {
  Q_OBJECT

  struct Program {
    testing::TempDir dir;
    testing::ScriptedDialogs dialogs;
    Application app;
    Program() {
      app.SetDialogs(&dialogs);
      QVERIFY(app.Main({std::string("\"") + CADENZO_DATA_DIR + "examples/Example.mfd\""},
                       CADENZO_DATA_DIR, dir.Str()));
    }
    void Trigger(const char* name) {
      auto* action = app.Window()->findChild<QAction*>(QString::fromLatin1(name));
      QVERIFY2(action != nullptr, name);
      action->trigger();
    }
    static QWidget* TopLevel(const char* objectName) {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
      }
      return nullptr;
    }
  };

 private slots:
  void refusesAndOpensTheDefaultStyleChoice() {
    Program p;
    AppState& state = p.app.State();
    // PSR-2000 lacks many of the example's styles; the default kept from the source's list is
    // not on its list, as after a target list whose fill stopped at a bad line.
    const std::string kept = state.DefaultStyle;
    QComboBox* targets = p.app.Window()->cboInst();
    emit targets->activated(targets->findText(QStringLiteral("PSR-2000")));
    QCOMPARE(state.TargetInstrument, std::string("PSR-2000"));
    state.DefaultStyle = kept;
    QVERIFY(!DefaultStyleOnTarget(state.AppPath, "PSR-2000", kept));
    p.Trigger("mnuUserStyles");
    QVERIFY(!state.AllowUserStyles);
    p.dialogs.messages.clear();

    p.Trigger("mnuConvert");
    QWidget* options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    QCoreApplication::processEvents();

    // Nothing asked, nothing written: the reason, then the default style choice.
    QCOMPARE(p.dialogs.Texts(),
             std::vector<std::string>{DefaultStyleMissingMessage(kept, "PSR-2000")});
    QVERIFY(p.dialogs.fileRequests.empty());
    QVERIFY(!std::filesystem::exists(p.dir.Path() / "out.mfd"));
    QWidget* choice = Program::TopLevel("frmDefaultStyle");
    QVERIFY(choice != nullptr);
    auto* combo = choice->findChild<QComboBox*>(QStringLiteral("cboStyle"));
    QCOMPARE(combo->itemText(0), QStringLiteral("None"));
    QVERIFY(combo->currentIndex() > 0);  // a style of the target's list, not the missing one

    // Choosing a style of the list lets the save go on.
    combo->setCurrentIndex(combo->findText(QStringLiteral("Swing")) >= 0
                               ? combo->findText(QStringLiteral("Swing"))
                               : combo->count() - 1);
    const std::string chosen = combo->currentText().toStdString();
    choice->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    QCoreApplication::processEvents();
    QCOMPARE(state.DefaultStyle, chosen);
    QVERIFY(DefaultStyleOnTarget(state.AppPath, "PSR-2000", state.DefaultStyle));

    p.dialogs.messages.clear();
    p.dialogs.QueueAnswer(Answer::kYes);  // the conversion confirmation
    p.dialogs.QueueFile((p.dir.Path() / "out.mfd").string());
    p.Trigger("mnuConvert");
    options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    QCoreApplication::processEvents();
    QVERIFY(std::filesystem::exists(p.dir.Path() / "out.mfd"));
    QVERIFY(p.dialogs.AllAnswered());
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::SaveDefaultStyleWindowTest)
#include "save_default_style_window_test.moc"
