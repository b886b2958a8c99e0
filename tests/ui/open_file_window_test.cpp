// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/record_list_model.h"

namespace cadenzo {

// The program started with a file on its command line, offscreen, with its shipped data.
class OpenFileWindowTest : public QObject {
  Q_OBJECT

  struct Program {
    testing::TempDir dir;
    testing::ScriptedDialogs dialogs;
    Application app;
    explicit Program(const std::vector<std::string>& args) {
      app.SetDialogs(&dialogs);
      QVERIFY(app.Main(args, CADENZO_DATA_DIR, dir.Str()));
    }
    QPushButton* Button(const char* name) {
      return app.Window()->findChild<QPushButton*>(QString::fromLatin1(name));
    }
  };

 private slots:
  void commandLineFileIsOpenedAndShown() {
    Program p({std::string("\"") + CADENZO_DATA_DIR + "examples/Example.mfd\""});
    QVERIFY2(p.dialogs.messages.empty(),
             p.dialogs.messages.empty() ? "" : p.dialogs.messages[0].text.c_str());
    QTableView* view = p.app.Window()->ListView1();
    QCOMPARE(view->model()->rowCount(), 300);
    QCOMPARE(
        p.app.Window()->windowTitle(),
        QStringLiteral("Cadenzo   Example.mfd  Source Instrument = PSR-S970   Default Style = ") +
            QString::fromStdString(p.app.State().DefaultStyle));
    QVERIFY(!p.app.State().DefaultStyle.empty());
    const QStringList headers = {
        "Number", "Genre", "Music", "Style or File", "TimeSig",      "Tempo", "Keywords",
        "Fav ",   "S1",    "S2",    "Intro",         "Next Section", " "};
    for (int c = 0; c < headers.size(); ++c) {
      QCOMPARE(view->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    }
    for (const char* on : {"cmdSearch", "cmdAdd", "CmdFav", "cmdS1", "cmdS2", "cmdCheck",
                           "CmdUnCheck", "cmdInvert"}) {
      QVERIFY2(p.Button(on)->isEnabled(), on);
    }
    for (const char* off :
         {"cmdPlayList", "cmdModify", "CmdDelete", "cmdDeleteChecked", "cmdReplaceStyle"}) {
      QVERIFY2(!p.Button(off)->isEnabled(), off);
    }
    QCOMPARE(p.app.Window()->cboInst()->currentText(), QStringLiteral("PSR-S970"));
    // On its own model every record is saved as it shows, its user styles and the references
    // to the hard disk too: no cell is red.
    int userStyles = 0;
    for (const auto& row : p.app.State().List) {
      QCOMPARE(row.styleColor, kBlack);
      if (row.Cell(col::kStyle) == "5005") ++userStyles;
    }
    QCOMPARE(userStyles, 1);
    QVERIFY(!p.app.State().ShowConversionNotes);
  }

  void choosingTargetsResetsTheDefaultStyleAndCaption() {
    for (const bool withFile : {true, false}) {
      std::vector<std::string> args;
      if (withFile) args.push_back(std::string(CADENZO_DATA_DIR) + "examples/Example.mfd");
      Program p(args);
      QComboBox* combo = p.app.Window()->cboInst();
      QCOMPARE(combo->count(), 41);
      for (const char* model : {"PSR-2000", "TYROS 5", "PSR-S970"}) {
        const int index = combo->findText(QString::fromLatin1(model));
        QVERIFY(index >= 0);
        p.app.State().DefaultStyle = "None";
        emit combo->activated(index);
        const std::string listPath = std::string(CADENZO_DATA_DIR) + model + ".dat";
        const std::string list = testing::ReadText(listPath);
        // The last style line of the list is the new default style.
        const auto lastLine = list.substr(0, list.size() - 2);
        const auto name = lastLine.substr(lastLine.rfind("\r\n") + 2);
        const std::string expected = std::string(name.substr(0, name.find(';')));
        QCOMPARE(p.app.State().TargetInstrument, std::string(model));
        QCOMPARE(p.app.State().DefaultStyle, expected);
        const QString source =
            withFile ? QStringLiteral("  Source Instrument = PSR-S970") : QString();
        const QString file = withFile ? QStringLiteral("Example.mfd") : QString();
        QCOMPARE(p.app.Window()->windowTitle(), QStringLiteral("Cadenzo   ") + file + source +
                                                    QStringLiteral("   Default Style = ") +
                                                    QString::fromStdString(expected));
      }
      if (withFile) {
        // On the older model some styles are missing: red cells and conversion notes.
        emit combo->activated(combo->findText(QStringLiteral("PSR-2000")));
        QVERIFY(p.app.State().ShowConversionNotes);
      }
    }
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::OpenFileWindowTest)
#include "open_file_window_test.moc"
