// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/edit_window.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/command_availability.h"
#include "editing/edit_commands.h"
#include "editing/record_editor.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace cadenzo {
namespace {

std::string MountPointOf(const std::string& path) {
  const QStorageInfo storage(PathToQt(path));
  return storage.isValid() ? PathFromQt(storage.rootPath()) : std::string();
}

// Sets a combo box's items when they differ from the wanted texts.
void SetItems(QComboBox* combo, const QStringList& texts) {
  QStringList current;
  for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
  if (current == texts) return;
  combo->clear();
  combo->addItems(texts);
}

// A leave-the-box check runs when the focus moves to another control of the window, not when a
// message box, a pop-up list or another window takes it.
bool LeavesTheBox(const QFocusEvent* event) {
  switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
      return false;
    default:
      return true;
  }
}

}  // namespace

EditWindow::EditWindow(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  ui_.setupUi(this);
  setModal(false);
  volumeRootOf_ = MountPointOf;
  for (const auto& item : SectionItems()) {
    ui_.cboIntro->addItem(ToQt(item.text), item.data);
    ui_.cboSection->addItem(ToQt(item.text), item.data);
  }
  ui_.cboGenre->installEventFilter(this);
  ui_.cboGenre->lineEdit()->installEventFilter(this);
  ui_.cboStyle->installEventFilter(this);
  ui_.txtTempo->installEventFilter(this);
  Connect();
  RefreshFromState();
}

void EditWindow::SetListChangedCallback(std::function<void(int record)> callback) {
  listChanged_ = std::move(callback);
}

void EditWindow::SetVolumeRootOf(VolumeRootOf volumeRootOf) {
  volumeRootOf_ = std::move(volumeRootOf);
}

void EditWindow::Connect() {
  Ui::frmEdit& ui = ui_;
  connect(ui.cboGenre->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.Editor.cboGenre = FromQt(text); });
  connect(ui.cboGenre, &QComboBox::activated, this, [this](int index) {
    state_.Editor.cboGenre = FromQt(ui_.cboGenre->itemText(index));
    Mirror();
  });
  connect(ui.txtMusic, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.Editor.txtMusic = FromQt(text); });
  connect(ui.txtTempo, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.Editor.txtTempo = FromQt(text); });
  connect(ui.txtKeywords, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.Editor.txtKeywords = FromQt(text); });
  connect(ui.cboStyle, &QComboBox::activated, this, [this](int index) {
    ChoosePresetStyle(state_, index);
    Mirror();
  });
  const std::pair<QRadioButton*, TimeSigOption> options[] = {{ui.opt00, TimeSigOption::k00},
                                                             {ui.opt24, TimeSigOption::k24},
                                                             {ui.opt34, TimeSigOption::k34},
                                                             {ui.opt44, TimeSigOption::k44},
                                                             {ui.opt68, TimeSigOption::k68}};
  for (const auto& [button, option] : options) {
    connect(button, &QRadioButton::clicked, this, [this, option = option] {
      ChooseTimeSignature(state_, option);
      Mirror();
    });
  }
  connect(ui.chkFavorite, &QCheckBox::clicked, this,
          [this](bool on) { state_.Editor.chkFavorite = on; });
  connect(ui.chkSearch1, &QCheckBox::clicked, this,
          [this](bool on) { state_.Editor.chkSearch1 = on; });
  connect(ui.chkSearch2, &QCheckBox::clicked, this,
          [this](bool on) { state_.Editor.chkSearch2 = on; });
  connect(ui.cboIntro, &QComboBox::activated, this,
          [this](int index) { state_.Editor.cboIntro = index; });
  connect(ui.cboSection, &QComboBox::activated, this,
          [this](int index) { state_.Editor.cboSection = index; });
  connect(ui.cmdBrowse, &QPushButton::clicked, this, [this] { OnBrowse(false); });
  connect(ui.cmdBrowse2, &QPushButton::clicked, this, [this] { OnBrowse(true); });
  connect(ui.Command1, &QPushButton::clicked, this, [this] {
    ClearEditorInputs(state_);
    Mirror();
  });
  connect(ui.cmdcancel, &QPushButton::clicked, this, &EditWindow::reject);
  connect(ui.cmdOK, &QPushButton::clicked, this, &EditWindow::OnOk);
}

void EditWindow::FillLists() {
  QStringList genres;
  for (const auto& genre : state_.Editor.genres) genres << ToQt(genre);
  SetItems(ui_.cboGenre, genres);
  QStringList styles;
  for (const auto& style : state_.Editor.styles) styles << ToQt(style.text);
  SetItems(ui_.cboStyle, styles);
  for (int i = 0; i < ui_.cboStyle->count(); ++i) {
    ui_.cboStyle->setItemData(i, state_.Editor.styles[static_cast<std::size_t>(i)].data);
  }
  if (state_.Editor.styleDropHeight > 0) {
    const int rowHeight = std::max(1, ui_.cboStyle->fontMetrics().height() + 4);
    ui_.cboStyle->setMaxVisibleItems(std::max(1, state_.Editor.styleDropHeight / rowHeight));
  }
}

void EditWindow::RefreshFromState() {
  FillLists();
  Mirror();
}

void EditWindow::Mirror() {
  Ui::frmEdit& ui = ui_;
  const EditorLists& editor = state_.Editor;
  const QList<QWidget*> widgets = findChildren<QWidget*>();
  std::vector<std::unique_ptr<QSignalBlocker>> blockers;
  for (QWidget* w : widgets) blockers.push_back(std::make_unique<QSignalBlocker>(w));

  ui.cboGenre->setCurrentIndex(ui.cboGenre->findText(ToQt(editor.cboGenre), Qt::MatchExactly));
  ui.cboGenre->setEditText(ToQt(editor.cboGenre));
  ui.txtMusic->setText(ToQt(editor.txtMusic));
  ui.cboStyle->setCurrentIndex(editor.cboStyle < ui.cboStyle->count() ? editor.cboStyle : -1);
  ui.lblSelectedFile->setText(ToQt(editor.lblSelectedFile));
  for (const auto& choice : TimeSigChoices()) {
    auto* option = findChild<QRadioButton*>(ToQt(std::string(choice.control)));
    if (option != nullptr) option->setChecked(choice.control == editor.timeSigOption);
  }
  ui.txtTempo->setText(ToQt(editor.txtTempo));
  ui.txtKeywords->setText(ToQt(editor.txtKeywords));
  ui.chkFavorite->setChecked(editor.chkFavorite);
  ui.chkSearch1->setChecked(editor.chkSearch1);
  ui.chkSearch2->setChecked(editor.chkSearch2);
  ui.cboIntro->setCurrentIndex(editor.cboIntro < ui.cboIntro->count() ? editor.cboIntro : -1);
  ui.cboSection->setCurrentIndex(editor.cboSection < ui.cboSection->count() ? editor.cboSection
                                                                            : -1);
  // The only place the timing controls' enabled states reach the widgets.
  const AvailableCommands available = CommandAvailability(state_);
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    if (auto* w = findChild<QWidget*>(QString::fromLatin1(kTimingControls[i]))) {
      w->setEnabled(TimingControlEnabled(available, i));
    }
  }
  const MediaControls media = MediaControlsFor(state_.TargetInstrument);
  ui.cmdBrowse->setVisible(media.cmdBrowse);
  ui.cmdBrowse2->setVisible(media.cmdBrowse2);
  ui.Label12->setVisible(media.labels);
  ui.lblSelectedFile->setVisible(media.labels);
}

void EditWindow::ShowEditor() {
  RefreshFromState();
  if (parentWidget() != nullptr) {
    ShowToolWindow(*this, *parentWidget()->window());
  } else {
    show();
    raise();
    activateWindow();
  }
}

void EditWindow::StartAddRecord() {
  const Result<bool> start = cadenzo::StartAddRecord(state_);
  Present(start.outcome, dialogs_);
  if (start.value) ShowEditor();
}

void EditWindow::StartModifyRecord() {
  const Result<bool> start = cadenzo::StartModifyRecord(state_);
  Present(start.outcome, dialogs_);
  if (start.value) ShowEditor();
}

void EditWindow::reject() {
  // Cancel: nothing is stored; the window only hides.
  hide();
}

bool EditWindow::ValidateTempo() {
  if (validating_) return true;
  validating_ = true;
  const Outcome checked = CheckTempoInput(state_);
  Present(checked, dialogs_);
  const bool ok = checked.Ok();
  validating_ = false;
  if (!ok) QTimer::singleShot(0, ui_.txtTempo, [this] { ui_.txtTempo->setFocus(); });
  return ok;
}

bool EditWindow::ValidateFocused() {
  QWidget* focus = focusWidget();
  if (focus == ui_.txtTempo) return ValidateTempo();
  if (focus == ui_.cboGenre || focus == ui_.cboGenre->lineEdit()) {
    AcceptTypedGenre(state_.Editor);
    FillLists();
  } else if (focus == ui_.cboStyle) {
    Present(LeaveStyleChoice(state_), dialogs_);
  }
  return true;
}

bool EditWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && isVisible() && !validating_ &&
      LeavesTheBox(static_cast<QFocusEvent*>(event))) {
    if (watched == ui_.txtTempo) {
      ValidateTempo();
    } else if (watched == ui_.cboGenre || watched == ui_.cboGenre->lineEdit()) {
      // The combo box and its line edit both lose the focus; the check runs once.
      if (!ui_.cboGenre->hasFocus() && !ui_.cboGenre->lineEdit()->hasFocus()) {
        AcceptTypedGenre(state_.Editor);
        FillLists();
        Mirror();
      }
    } else if (watched == ui_.cboStyle) {
      Present(LeaveStyleChoice(state_), dialogs_);
      Mirror();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void EditWindow::OnOk() {
  if (!ValidateFocused()) return;
  const OkResult result = RunUndoable(state_, state_.EditIsNew ? "Add" : "Modify",
                                      [this] { return StoreEditedRecord(state_, dialogs_); });
  Present(result.outcome, dialogs_);
  FillLists();
  Mirror();
  if (result.listChanged && listChanged_) listChanged_(result.recordToShow);
  if (result.focusMusic) ui_.txtMusic->setFocus();
  if (result.stored) hide();
}

void EditWindow::OnBrowse(bool hd) {
  Present(hd ? BrowseHdMedia(state_, dialogs_, volumeRootOf_)
             : BrowseUsbMedia(state_, dialogs_, volumeRootOf_),
          dialogs_);
  Mirror();
}

}  // namespace cadenzo
