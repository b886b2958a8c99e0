// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/convert_window.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "mfd/file_commands.h"
#include "ui/qt_text.h"

namespace cadenzo {

namespace {

constexpr const char* kNoRowChecked =
    "No row is checked, so there is nothing to save with \"Checked Records Only\".\r\n"
    "Check the rows to save, or choose \"All Records\".";

}  // namespace

ConvertWindow::ConvertWindow(AppState& state, Dialogs& dialogs, std::function<void()> afterSave,
                             QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), afterSave_(std::move(afterSave)) {
  setObjectName(QStringLiteral("frmConvert"));
  setWindowTitle(QStringLiteral("Save As Options"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Source Instrument:")), 0, 0);
  txtSourceInstrument_ = new QLineEdit;
  txtSourceInstrument_->setObjectName(QStringLiteral("txtSourceInstrument"));
  txtSourceInstrument_->setReadOnly(true);  // shown only; the source comes from the file
  grid->addWidget(txtSourceInstrument_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Target Instrument:")), 1, 0);
  lblTargetInstrument_ = new QLabel;
  lblTargetInstrument_->setObjectName(QStringLiteral("lblTargetInstrument"));
  grid->addWidget(lblTargetInstrument_, 1, 1);

  auto* frame = new QGroupBox(QStringLiteral("Select Save Option"));
  optAllRecords_ = new QRadioButton(QStringLiteral("All Records"));
  optAllRecords_->setObjectName(QStringLiteral("optAllRecords"));
  optCheckedRecords_ = new QRadioButton(QStringLiteral("Checked Records Only"));
  optCheckedRecords_->setObjectName(QStringLiteral("optCheckedRecords"));
  auto* options = new QVBoxLayout(frame);
  // As wide as their text, however wide the summary below makes the window: a click beside the
  // text does not choose.
  options->addWidget(optAllRecords_, 0, Qt::AlignLeft);
  options->addWidget(optCheckedRecords_, 0, Qt::AlignLeft);

  // What the save would do, before anything is written.
  lblDryRun_ = new QLabel;
  lblDryRun_->setObjectName(QStringLiteral("lblDryRun"));
  lblDryRun_->setWordWrap(true);
  lblDryRun_->setTextFormat(Qt::PlainText);
  lblDryRun_->setMinimumWidth(360);
  auto* cmdDryRunDetails = new QPushButton(QStringLiteral("Details..."));
  cmdDryRunDetails->setObjectName(QStringLiteral("cmdDryRunDetails"));
  auto* dryRun = new QHBoxLayout;
  dryRun->addWidget(lblDryRun_, 1);
  dryRun->addWidget(cmdDryRunDetails, 0, Qt::AlignTop);

  auto* cmdSave = new QPushButton(QStringLiteral("Save"));
  cmdSave->setObjectName(QStringLiteral("cmdSave"));
  cmdSave->setDefault(true);
  auto* cmdCancel = new QPushButton(QStringLiteral("Cancel"));
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdSave);
  buttons->addWidget(cmdCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(frame);
  layout->addLayout(dryRun);
  layout->addLayout(buttons);

  connect(cmdSave, &QPushButton::clicked, this, &ConvertWindow::Save);
  connect(cmdCancel, &QPushButton::clicked, this, &ConvertWindow::close);
  connect(cmdDryRunDetails, &QPushButton::clicked, this, &ConvertWindow::ShowDryRunDetails);
  connect(optCheckedRecords_, &QRadioButton::toggled, this, &ConvertWindow::ShowDryRun);
  // The target and the options are chosen in the main window, also while this one is open:
  // after any of its commands has done its work, the summary follows.
  if (parent != nullptr) {
    if (auto* targets = parent->findChild<QComboBox*>(QStringLiteral("cboInst"))) {
      connect(targets, &QComboBox::activated, this, &ConvertWindow::ShowInstruments,
              Qt::QueuedConnection);
      connect(targets, &QComboBox::currentTextChanged, this, &ConvertWindow::ShowInstruments,
              Qt::QueuedConnection);
    }
    for (QAction* action : parent->findChildren<QAction*>()) {
      connect(action, &QAction::triggered, this, &ConvertWindow::ShowInstruments,
              Qt::QueuedConnection);
    }
  }
  // Every opening starts from "All Records"; coming back to the open window keeps the choice.
  optAllRecords_->setChecked(true);
  ShowInstruments();
}

bool ConvertWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) ShowInstruments();
  return QDialog::event(event);
}

void ConvertWindow::ShowInstruments() {
  txtSourceInstrument_->setText(ToQt(state_.SourceInstrument));
  lblTargetInstrument_->setText(ToQt(state_.TargetInstrument));
  ShowDryRun();
}

void ConvertWindow::ShowDryRun() {
  if (!state_.FileLoaded || state_.TargetInstrument.empty()) {
    lblDryRun_->clear();
    changes_.clear();
    return;
  }
  try {
    DryRun run = PlanDryRun(state_, state_.TargetInstrument, optCheckedRecords_->isChecked());
    lblDryRun_->setText(ToQt(run.summary));
    changes_ = std::move(run.changes);
  } catch (const std::exception&) {
    // The save itself reports what went wrong; the summary only stays empty.
    lblDryRun_->clear();
    changes_.clear();
  }
}

void ConvertWindow::ShowDryRunDetails() {
  ShowDryRun();
  QString text;
  for (const PlanChange& change : changes_) text += ToQt(ChangeLine(change)) + u'\n';
  if (changes_.empty()) text = QStringLiteral("Every record is written as it is.");
  auto* details = new QDialog(this);
  details->setObjectName(QStringLiteral("frmDryRunDetails"));
  details->setWindowTitle(QStringLiteral("Records the Save Changes"));
  details->setAttribute(Qt::WA_DeleteOnClose);
  auto* view = new QPlainTextEdit(text);
  view->setObjectName(QStringLiteral("txtDryRunDetails"));
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* summary = new QLabel(lblDryRun_->text());
  summary->setWordWrap(true);
  auto* cmdClose = new QPushButton(QStringLiteral("Close"));
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  connect(cmdClose, &QPushButton::clicked, details, &QDialog::close);
  auto* layout = new QVBoxLayout(details);
  layout->addWidget(summary);
  layout->addWidget(view);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cmdClose);
  layout->addLayout(row);
  details->resize(640, 420);
  details->show();
}

void ConvertWindow::Save() {
  const bool checkedOnly = optCheckedRecords_->isChecked();
  if (checkedOnly && std::none_of(state_.List.begin(), state_.List.end(),
                                  [](const Row& row) { return row.checked && !row.deleted; })) {
    // A file without records is no useful result of this choice: nothing is written, and the
    // window stays for another choice.
    dialogs_.Show(kNoRowChecked);
    return;
  }
  hide();
  const PassResult result = ConvertCommandSave(state_, dialogs_, checkedOnly);
  Present(result.outcome, dialogs_);
  if (afterSave_) afterSave_();
  // Records would need a default style the target lacks: let the user choose another.
  if (result.refusedDefaultStyle)
    DefaultStyleWindow::Open(state_, dialogs_, afterSave_, parentWidget());
  close();
}

DefaultStyleWindow* DefaultStyleWindow::Open(AppState& state, Dialogs& dialogs,
                                             std::function<void()> afterOk, QWidget* parent) {
  const DefaultStyleChoices choices = LoadDefaultStyle(state);
  Present(choices.outcome, dialogs);
  if (choices.entries.empty()) return nullptr;
  auto* window = new DefaultStyleWindow(state, dialogs, std::move(afterOk), parent);
  for (const auto& entry : choices.entries) {
    window->cboStyle_->addItem(ToQt(entry.text), entry.data);
  }
  window->cboStyle_->setCurrentIndex(choices.selected);
  window->cboStyle_->setMaxVisibleItems(30);  // about 525 pixels of drop-down
  window->show();
  return window;
}

DefaultStyleWindow::DefaultStyleWindow(AppState& state, Dialogs& dialogs,
                                       std::function<void()> afterOk, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), afterOk_(std::move(afterOk)) {
  setObjectName(QStringLiteral("frmDefaultStyle"));
  setWindowTitle(QStringLiteral("Select Default Style"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* label = new QLabel(QStringLiteral(
      "Select a style to be used during a Save As operation when the style specified is not "
      "available on the target instrument. Selecting 'None' will eliminate the record."));
  label->setWordWrap(true);
  cboStyle_ = new QComboBox;
  cboStyle_->setObjectName(QStringLiteral("cboStyle"));
  auto* cmdOk = new QPushButton(QStringLiteral("OK"));
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(cboStyle_);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cmdOk);
  layout->addLayout(row);
  resize(420, sizeHint().height());
  connect(cmdOk, &QPushButton::clicked, this, &DefaultStyleWindow::Ok);
}

void DefaultStyleWindow::Ok() {
  Present(DefaultStyleCommandOK(state_, dialogs_, FromQt(cboStyle_->currentText())), dialogs_);
  if (afterOk_) afterOk_();
  close();
}

}  // namespace cadenzo
