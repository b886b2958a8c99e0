// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/about.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "textio/rtf_parser.h"
#include "ui/info_windows.h"
#include "ui/program_icon.h"
#include "ui/rtf_reader.h"

namespace cadenzo {

namespace {

// One run of the information commands against a main window stand-in.
struct Fixture {
  Fixture() {
    mainWindow.resize(900, 730);
    state.AppPath = app.Str();
    state.UserFolder = user.Str();
  }
  testing::TempDir app;
  testing::TempDir user;
  testing::ScriptedDialogs dialogs;
  AppState state;
  QWidget mainWindow;
  InfoWindows windows{state, dialogs, dialogs, &mainWindow};
};

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

bool HavePdfToText() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

void ProcessDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

}  // namespace

class InfoWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void infoWindowHasItsCaptionControlsAndMenus() {
    Fixture f;
    f.app.Write("QuickStartGuide.rtf", std::string("{\\rtf1 Hello}"));
    f.windows.ShowQuickStartGuide();
    FrmInfo* info = f.windows.InfoWindow();
    QVERIFY(info != nullptr);
    QCOMPARE(info->objectName(), QStringLiteral("frmInfo"));
    QCOMPARE(info->windowTitle(), QStringLiteral("Cadenzo-Information & Help"));
    QVERIFY(info->isVisible());
    QVERIFY(info->findChild<QTextEdit*>(QStringLiteral("rtfInfo")) != nullptr);
    QVERIFY(info->RtfInfo()->isReadOnly());
    const QList<QAction*> menus = info->menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    const QStringList names = {QStringLiteral("mnuCopy"), QStringLiteral("mnuPrint"),
                               QStringLiteral("mnuExit")};
    const QStringList captions = {QStringLiteral("Copy"), QStringLiteral("Print"),
                                  QStringLiteral("Exit")};
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(menus[i]->objectName(), names[i]);
      QCOMPARE(menus[i]->text(), captions[i]);
    }
    QVERIFY(!info->windowIcon().isNull());
  }

  void shippedGuideLoadsIndentedAndAsTallAsTheMainWindow() {
    Fixture f;
    f.state.AppPath = CADENZO_DATA_DIR;
    f.windows.ShowQuickStartGuide();
    QVERIFY2(f.dialogs.messages.empty(),
             f.dialogs.messages.empty() ? "" : f.dialogs.messages.front().text.c_str());
    FrmInfo* info = f.windows.InfoWindow();
    QVERIFY(info != nullptr);
    QCOMPARE(info->height(), f.mainWindow.height());
    QTextDocument* doc = info->RtfInfo()->document();
    const QString text = doc->toPlainText();
    for (const char* expected : {"Quick Start", "Open", "Target Instrument", "Search", "Play List",
                                 "Delimited", "Set PSR", "MusicFinder File"}) {
      QVERIFY2(text.contains(QLatin1String(expected)), expected);
    }
    QVERIFY(!text.contains(QLatin1Char('\\')));  // no control word shows as text
    bool sawBold = false;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
      QVERIFY(block.blockFormat().leftMargin() >= TwipsToPixels(600));
      QVERIFY(block.blockFormat().rightMargin() >= TwipsToPixels(600));
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().fontWeight() >= QFont::Bold) sawBold = true;
      }
    }
    QVERIFY(sawBold);
    QCOMPARE(info->RtfInfo()->textCursor().position(), 0);
  }

  void missingGuideShowsTheMessageAndNoWindow() {
    Fixture f;
    f.windows.ShowQuickStartGuide();
    QCOMPARE(f.dialogs.Texts(), std::vector<std::string>{
                                    "Cannot find the Information File named QuickStartGuide.rtf"});
    QVERIFY(f.windows.InfoWindow() == nullptr);
  }

  void logViewersNameTheMissingLog() {
    Fixture f;
    f.windows.ShowConversionLog();
    f.windows.ShowDelimitedFileLog();
    QCOMPARE(f.dialogs.Texts(),
             (std::vector<std::string>{"Cannot find the Information File named ExportLog.txt",
                                       "Cannot find the Information File named ImportLog.txt"}));
    QVERIFY(f.windows.InfoWindow() == nullptr);
  }

  void logViewersShowTheLogAsPlainText() {
    Fixture f;
    f.user.Write("ExportLog.txt", std::string("Log of {\\b x}\r\nPop\t0012\r\n"));
    f.user.Write("ImportLog.txt", std::string("Item #\tGenre\tSong\tStyle\r\n"));
    f.windows.ShowConversionLog();
    FrmInfo* info = f.windows.InfoWindow();
    QVERIFY(info != nullptr);
    QCOMPARE(info->windowTitle(), QStringLiteral("Items missing styles in target instrument"));
    QCOMPARE(info->RtfInfo()->toPlainText(), QStringLiteral("Log of {\\b x}\nPop\t0012\n"));
    QCOMPARE(info->RtfInfo()->document()->begin().blockFormat().leftMargin(), TwipsToPixels(600));
    QCOMPARE(info->RtfInfo()->textCursor().position(), 0);

    f.windows.ShowDelimitedFileLog();
    QCOMPARE(f.windows.InfoWindow(), info);  // the same window, reloaded
    QCOMPARE(info->windowTitle(),
             QStringLiteral("Items not included due in last Import operation"));
    QVERIFY(info->RtfInfo()->toPlainText().startsWith(QStringLiteral("Item #\tGenre")));
    QVERIFY(f.dialogs.messages.empty());
  }

  void styleListViewIndentsAllButTheTitle() {
    Fixture f;
    f.windows.ShowStyleList();
    QCOMPARE(f.dialogs.Texts(),
             std::vector<std::string>{"Please select a Target Instrument first"});
    QVERIFY(f.windows.InfoWindow() == nullptr);

    f.app.Write("GENOS.dat", std::string("Cool 8Beat;0001\r\n  Ballad ;0002\r\n"));
    f.state.TargetInstrument = "GENOS";
    f.windows.ShowStyleList();
    FrmInfo* info = f.windows.InfoWindow();
    QVERIFY(info != nullptr);
    QCOMPARE(info->windowTitle(), QStringLiteral("Styles in target instrument"));
    const QTextDocument* doc = info->RtfInfo()->document();
    QCOMPARE(doc->toPlainText(), QStringLiteral("    GENOS STYLES\nCool 8Beat\nBallad\n"));
    QCOMPARE(doc->begin().blockFormat().leftMargin(), 0.0);
    QCOMPARE(doc->begin().next().blockFormat().leftMargin(), TwipsToPixels(600));
    QCOMPARE(doc->begin().next().blockFormat().rightMargin(), TwipsToPixels(600));
    QCOMPARE(info->RtfInfo()->textCursor().position(), 0);
  }

  void exitDiscardsTheWindowAndTheNextUseLoadsAfresh() {
    Fixture f;
    f.user.Write("ExportLog.txt", std::string("first\r\n"));
    f.windows.ShowConversionLog();
    QPointer<FrmInfo> info = f.windows.InfoWindow();
    QVERIFY(info);
    info->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    ProcessDeletes();
    QVERIFY(info.isNull());
    QVERIFY(f.windows.InfoWindow() == nullptr);

    f.user.Write("ImportLog.txt", std::string("second\r\n"));
    f.windows.ShowDelimitedFileLog();
    QVERIFY(f.windows.InfoWindow() != nullptr);
    QCOMPARE(f.windows.InfoWindow()->RtfInfo()->toPlainText(), QStringLiteral("second\n"));
  }

  void copyPutsTheSelectionAsPlainAndRichText() {
    Fixture f;
    f.app.Write("QuickStartGuide.rtf",
                std::string("{\\rtf1 Plain \\b bold caf\\'e9\\b0  tail\\par second}"));
    f.windows.ShowQuickStartGuide();
    QTextEdit* rtf = f.windows.InfoWindow()->RtfInfo();
    QTextCursor cursor(rtf->document());
    cursor.setPosition(6);
    cursor.setPosition(15, QTextCursor::KeepAnchor);  // "bold café"
    rtf->setTextCursor(cursor);
    QApplication::clipboard()->setText(QStringLiteral("old"));
    f.windows.InfoWindow()->findChild<QAction*>(QStringLiteral("mnuCopy"))->trigger();

    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data != nullptr);
    QCOMPARE(data->text(), QString::fromUtf8("bold caf\xC3\xA9"));
    QVERIFY(data->hasFormat(QStringLiteral("text/rtf")));
    const QByteArray rtfBytes = data->data(QStringLiteral("text/rtf"));
    const RtfDocument copied = ParseRtf(std::string_view(rtfBytes.constData(), rtfBytes.size()));
    QCOMPARE(copied.paragraphs.size(), std::size_t{1});
    QCOMPARE(copied.paragraphs[0].Text(), std::u32string(U"bold caf\u00e9"));
    QVERIFY(copied.paragraphs[0].runs[0].format.bold);
    QCOMPARE(copied.paragraphs[0].format.leftIndent, 600);
  }

  void copyWithoutSelectionEmptiesTheClipboard() {
    Fixture f;
    f.app.Write("QuickStartGuide.rtf", std::string("{\\rtf1 text}"));
    f.windows.ShowQuickStartGuide();
    QApplication::clipboard()->setText(QStringLiteral("old"));
    f.windows.InfoWindow()->findChild<QAction*>(QStringLiteral("mnuCopy"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString());
  }

  void printsTheSelectionOrTheWholeText() {
    if (!HavePdfToText()) QSKIP("pdftotext is not installed");
    Fixture f;
    f.app.Write("QuickStartGuide.rtf",
                std::string("{\\rtf1 Alpha line\\par Bravo line\\par Charlie line}"));
    f.windows.ShowQuickStartGuide();
    FrmInfo* info = f.windows.InfoWindow();

    auto printToPdf = [&](const QString& name) {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      const QString path = QString::fromStdString(f.user.Str()) + name;
      printer.setOutputFileName(path);
      printer.setPrintRange(QPrinter::Selection);  // as the dialog starts with a selection
      if (!info->PrintTo(printer)) return QString();
      return PdfText(path);
    };

    const QString all = printToPdf(QStringLiteral("all.pdf"));
    QVERIFY(all.contains(QStringLiteral("Alpha")));
    QVERIFY(all.contains(QStringLiteral("Charlie")));

    QTextCursor cursor(info->RtfInfo()->document());
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    info->RtfInfo()->setTextCursor(cursor);
    const QString selected = printToPdf(QStringLiteral("selection.pdf"));
    QVERIFY(selected.contains(QStringLiteral("Bravo line")));
    QVERIFY(!selected.contains(QStringLiteral("Alpha")));
    QVERIFY(!selected.contains(QStringLiteral("Charlie")));
  }

  void cancellingThePrintDialogSaysNothing() {
    Fixture f;
    f.app.Write("QuickStartGuide.rtf", std::string("{\\rtf1 Alpha\\par Bravo}"));
    f.windows.ShowQuickStartGuide();
    FrmInfo* info = f.windows.InfoWindow();
    QTextCursor cursor(info->RtfInfo()->document());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    info->RtfInfo()->setTextCursor(cursor);

    bool seen = false;
    bool offersSelection = false;
    bool startsWithSelection = false;
    QString dialogName;
    std::function<void()> cancel;
    cancel = [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        QTimer::singleShot(50, cancel);
        return;
      }
      seen = true;
      dialogName = dialog->objectName();
      offersSelection = dialog->testOption(QAbstractPrintDialog::PrintSelection);
      startsWithSelection = dialog->printer()->printRange() == QPrinter::Selection;
      dialog->reject();
    };
    QTimer::singleShot(50, cancel);
    info->findChild<QAction*>(QStringLiteral("mnuPrint"))->trigger();
    QVERIFY(seen);
    QCOMPARE(dialogName, QStringLiteral("dlg1"));
    QVERIFY(offersSelection);
    QVERIFY(startsWithSelection);
    QVERIFY(f.dialogs.messages.empty());
  }

  void manualOpensWithTheDesktopAndSaysNothing() {
    Fixture f;
    f.windows.OpenManual();
    QCOMPARE(f.dialogs.openedDocuments, std::vector<std::string>{f.app.Str() + "Cadenzo.pdf"});
    QVERIFY(f.dialogs.messages.empty());
  }

  void aboutBoxTexts() {
    Fixture f;
    f.state.AppPath = CADENZO_DATA_DIR;  // for the program's icon
    f.windows.ShowAbout();
    QPointer<FrmAbout> about = f.windows.AboutBox();
    QVERIFY(about);
    QCOMPARE(about->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about->windowTitle(), QStringLiteral("About Cadenzo"));
    QVERIFY(!about->isModal());
    QVERIFY(about->isVisible());
    auto label = [&](const char* name) {
      auto* l = about->findChild<QLabel*>(QLatin1String(name));
      return l == nullptr ? QStringLiteral("<missing>") : l->text();
    };
    QCOMPARE(label("lblTitle"), QStringLiteral("Cadenzo"));
    QCOMPARE(label("lblVersion"), QStringLiteral("Version ") + QStringLiteral(CADENZO_VERSION));
    QVERIFY(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))
                .match(label("lblVersion"))
                .hasMatch());
    QVERIFY(!label("lblDescription").isEmpty());
    QCOMPARE(label("lblDisclaimer"), QString());
    auto* picIcon = about->findChild<QLabel*>(QStringLiteral("picIcon"));
    QVERIFY(picIcon != nullptr && !picIcon->pixmap().isNull());
    auto* cmdOK = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    auto* cmdSysInfo = about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    QVERIFY(cmdOK != nullptr && cmdSysInfo != nullptr);
    QCOMPARE(cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(cmdSysInfo->text(), QStringLiteral("&System Info..."));

    cmdSysInfo->click();
    QCOMPARE(f.dialogs.Texts(),
             std::vector<std::string>{"System Information Is Unavailable At This Time"});

    f.windows.ShowAbout();
    QCOMPARE(f.windows.AboutBox(), about.data());  // one box while it is open
    cmdOK->click();
    ProcessDeletes();
    QVERIFY(about.isNull());
    QVERIFY(f.windows.AboutBox() == nullptr);
  }

  void readerFillsTheDocumentAndReadsItBack() {
    const RtfDocument parsed = ParseRtf(
        "{\\rtf1 \\qc\\sa120\\b\\fs36 Title\\par\\pard\\li600\\ri300\\fi-300 "
        "\\i slanted\\i0  and \\ul under\\ulnone\\line next\\par}");
    QTextDocument doc;
    FillTextDocument(doc, parsed);
    QCOMPARE(doc.blockCount(), 2);
    const QTextBlock title = doc.begin();
    QCOMPARE(title.text(), QStringLiteral("Title"));
    QCOMPARE(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(title.blockFormat().bottomMargin(), TwipsToPixels(120));
    const QTextCharFormat titleChars = title.begin().fragment().charFormat();
    QCOMPARE(titleChars.fontWeight(), int(QFont::Bold));
    QCOMPARE(titleChars.fontPointSize(), 18.0);
    const QTextBlock body = title.next();
    QCOMPARE(body.blockFormat().leftMargin(), 40.0);
    QCOMPARE(body.blockFormat().rightMargin(), 20.0);
    QCOMPARE(body.blockFormat().textIndent(), -20.0);
    QCOMPARE(body.text(), QStringLiteral("slanted and under") + QChar(QChar::LineSeparator) +
                              QStringLiteral("next"));
    QVERIFY(body.begin().fragment().charFormat().fontItalic());

    QVERIFY(RtfFromTextDocument(doc) == parsed);
  }

  void shippedIconAndManualAreThere() {
    const QIcon icon = ProgramIcon(CADENZO_DATA_DIR);
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    const QString manual = QStringLiteral(CADENZO_DATA_DIR "Cadenzo.pdf");
    QVERIFY(QFileInfo(manual).size() > 10000);
    if (!HavePdfToText()) QSKIP("pdftotext is not installed");
    const QString text = PdfText(manual);
    QVERIFY(text.contains(QStringLiteral("Cadenzo")));
    QVERIFY(text.contains(QStringLiteral("Play List")));
  }
};

}  // namespace cadenzo

QTEST_MAIN(cadenzo::InfoWindowTest)
#include "info_window_test.moc"
