// SPDX-License-Identifier: GPL-3.0-or-later
// Save As Options says what the save would do before anything is written, driven through the
// real windows: the summary follows the target and the records choice, Details lists the records
// that change, and the save then writes what the summary said.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <filesystem>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"

namespace cadenzo {

class SaveAsDryRunWindowTest : public QObject {
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
    void ChooseTarget(const char* model) {
      QComboBox* targets = app.Window()->cboInst();
      emit targets->activated(targets->findText(QString::fromLatin1(model)));
      QCoreApplication::processEvents();
    }
    static QWidget* TopLevel(const char* objectName) {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
      }
      return nullptr;
    }
  };

  // The figure before a part of the summary ("12 unchanged"), 0 when the part is left out.
  static int Figure(const QString& summary, const QString& part) {
    const QRegularExpression pattern(QStringLiteral("(\\d+) ") + QRegularExpression::escape(part));
    const auto match = pattern.match(summary);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
  }

 private slots:
  void summaryFollowsTheTargetAndTheSaveWritesWhatItSaid() {
    Program p;
    AppState& state = p.app.State();
    p.ChooseTarget("PSR-S970");  // the file's own model keeps every record
    p.Trigger("mnuConvert");
    QWidget* options = Program::TopLevel("frmConvert");
    QVERIFY(options != nullptr);
    auto* summary = options->findChild<QLabel*>(QStringLiteral("lblDryRun"));
    QVERIFY(summary != nullptr);
    const QString own = summary->text();
    QVERIFY2(own.startsWith(QStringLiteral("300 records will be written: ")), qPrintable(own));
    QVERIFY2(!own.contains(QStringLiteral("left out")), qPrintable(own));

    // The target changes in the main window while the options are open, the main window being
    // the active one.
    QCoreApplication::processEvents();
    p.app.Window()->activateWindow();
    QCoreApplication::processEvents();
    QVERIFY(!options->isActiveWindow());
    p.ChooseTarget("PSR-2000");
    QCOMPARE(state.TargetInstrument, std::string("PSR-2000"));
    const QString text = summary->text();
    QVERIFY2(text != own, qPrintable(text));
    const int written = Figure(text, QStringLiteral("records will be written"));
    const int unchanged = Figure(text, QStringLiteral("unchanged"));
    const int media = Figure(text, QStringLiteral("media records the target cannot keep"));
    QVERIFY2(media > 0 && written > 0, qPrintable(text));
    QCOMPARE(Figure(text, QStringLiteral("left out")), 300 - written);

    // Details: one line for every record that is not written as it is, the media records
    // among them.
    options->findChild<QPushButton*>(QStringLiteral("cmdDryRunDetails"))->click();
    QWidget* details = Program::TopLevel("frmDryRunDetails");
    QVERIFY(details != nullptr);
    auto* view = details->findChild<QPlainTextEdit*>(QStringLiteral("txtDryRunDetails"));
    QVERIFY(view != nullptr && view->isReadOnly());
    const QStringList lines = view->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 300 - unchanged);
    QCOMPARE(lines.filter(QStringLiteral("left out: PSR-2000 cannot keep this media file")).size(),
             media);
    QVERIFY2(lines.first().startsWith(QStringLiteral("0001  ")), qPrintable(lines.first()));
    details->close();

    // Checked records only: the rows not checked are left out, and the summary says how many.
    int notChecked = 0;
    for (const Row& row : state.List) notChecked += !row.checked && !row.deleted ? 1 : 0;
    QVERIFY(notChecked > 0);
    options->findChild<QRadioButton*>(QStringLiteral("optCheckedRecords"))->click();
    QCOMPARE(Figure(summary->text(), QStringLiteral("not checked")), notChecked);
    options->findChild<QRadioButton*>(QStringLiteral("optAllRecords"))->click();
    QCOMPARE(summary->text(), text);

    // An option of the main window's menus: without user styles none is kept as one.
    QVERIFY(text.contains(QStringLiteral("kept as user styles")));
    p.Trigger("mnuUserStyles");
    QCoreApplication::processEvents();
    QVERIFY(!state.AllowUserStyles);
    QVERIFY2(!summary->text().contains(QStringLiteral("user style")), qPrintable(summary->text()));
    p.Trigger("mnuUserStyles");
    QCoreApplication::processEvents();
    QCOMPARE(summary->text(), text);

    // Nothing is written until Save; then the file holds the records the summary counted.
    const std::filesystem::path out = p.dir.Path() / "out.mfd";
    QVERIFY(!std::filesystem::exists(out));
    p.dialogs.QueueAnswer(Answer::kYes);
    p.dialogs.QueueFile(out.string());
    options->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    QCoreApplication::processEvents();
    QVERIFY(std::filesystem::exists(out));
    const std::string bytes = testing::ReadText(out);
    QCOMPARE(static_cast<int>(HeaderCount(std::vector<std::uint8_t>(bytes.begin(), bytes.end()))),
             written);
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::SaveAsDryRunWindowTest)
#include "save_as_dry_run_window_test.moc"
