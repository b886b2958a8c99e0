// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style_replace_window.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace cadenzo {

StyleReplaceWindow::StyleReplaceWindow(AppState& state, Dialogs& dialogs,
                                       std::function<void()> onReplaced, QWidget* parent)
    : QWidget(parent, Qt::Window),
      state_(state),
      dialogs_(dialogs),
      onReplaced_(std::move(onReplaced)) {
  ui_.setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);

  const StyleReplaceSetup setup = LoadStyleReplace(state_);
  for (const ComboEntry& entry : setup.styles) ui_.cboStyle->addItem(ToQt(entry.text), entry.data);
  ui_.cboStyle->setCurrentIndex(-1);
  const int rowHeight = std::max(1, ui_.cboStyle->fontMetrics().height() + 2);
  ui_.cboStyle->setMaxVisibleItems(std::max(1, kStyleReplaceDropHeight / rowHeight));

  genres_ = setup.genres;
  for (const std::string& genre : genres_) ui_.cboGenre->addItem(ToQt(genre));
  ui_.cboGenre->setCurrentIndex(setup.genreIndex);
  if (setup.genreIndex < 0) ui_.cboGenre->setEditText(QString());

  ui_.lblCurrentStyle->setText(ToQt(setup.currentStyle));
  ui_.lblGenre->setText(ToQt(setup.currentGenre));
  ui_.optStyle->setChecked(setup.mode == ReplaceMode::kStyle);
  ui_.optGenre->setChecked(setup.mode == ReplaceMode::kGenre);
  ui_.optKeyword->setChecked(setup.mode == ReplaceMode::kKeyword);
  ui_.Option1->setChecked(setup.match == KeywordMatch::kWholeKeyword);
  ui_.Option2->setChecked(setup.match == KeywordMatch::kCharacters);

  for (QRadioButton* option : {ui_.optStyle, ui_.optGenre, ui_.optKeyword}) {
    connect(option, &QRadioButton::toggled, this, &StyleReplaceWindow::UpdateActions);
  }
  connect(ui_.cmdAllEntries, &QPushButton::clicked, this, &StyleReplaceWindow::AllEntries);
  connect(ui_.cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(ui_.cboGenre->lineEdit(), &QLineEdit::editingFinished, this,
          &StyleReplaceWindow::GenreEdited);
  UpdateActions();
  // The error of the load shows once the window has what it could fill in.
  Present(setup.outcome, dialogs_);
}

StyleReplaceWindow* StyleReplaceWindow::Open(AppState& state, Dialogs& dialogs,
                                             std::function<void()> onReplaced, QWidget* parent) {
  const Outcome ready = PrepareStyleReplace(state);
  Present(ready, dialogs);
  if (!ready.Ok()) return nullptr;
  auto* window = new StyleReplaceWindow(state, dialogs, std::move(onReplaced), parent);
  if (parent != nullptr) {
    ShowToolWindow(*window, *parent->window());
  } else {
    window->show();
  }
  return window;
}

void StyleReplaceWindow::UpdateActions() {
  const bool style = ui_.optStyle->isChecked();
  const bool genre = ui_.optGenre->isChecked();
  const bool keyword = ui_.optKeyword->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{ui_.lblStyleReplace, ui_.lblCurrentStyle,
                                                    ui_.lblStyleWith, ui_.cboStyle}) {
    w->setEnabled(style);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{ui_.lblGenreReplace, ui_.lblGenre,
                                                    ui_.lblGenreWith, ui_.cboGenre}) {
    w->setEnabled(genre);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{ui_.lblKeywordReplace, ui_.txtCurrentKeyword,
                                                    ui_.lblKeywordWith, ui_.txtKeyword, ui_.Option1,
                                                    ui_.Option2, ui_.lblKeywordNote}) {
    w->setEnabled(keyword);
  }
}

void StyleReplaceWindow::GenreEdited() {
  const std::string typed = FromQt(ui_.cboGenre->currentText());
  const int index = AddTypedGenre(genres_, typed);
  if (index < 0) return;
  if (index >= ui_.cboGenre->count()) ui_.cboGenre->addItem(ToQt(typed));
  ui_.cboGenre->setCurrentIndex(index);
}

StyleReplaceValues StyleReplaceWindow::Values() const {
  StyleReplaceValues values;
  if (ui_.optGenre->isChecked()) {
    values.mode = ReplaceMode::kGenre;
  } else if (ui_.optKeyword->isChecked()) {
    values.mode = ReplaceMode::kKeyword;
  }
  values.currentStyle = FromQt(ui_.lblCurrentStyle->text());
  if (const int i = ui_.cboStyle->currentIndex(); i >= 0) {
    values.newStyle =
        ComboEntry{FromQt(ui_.cboStyle->itemText(i)), ui_.cboStyle->itemData(i).toInt()};
  }
  values.currentGenre = FromQt(ui_.lblGenre->text());
  if (const int i = ui_.cboGenre->currentIndex(); i >= 0) {
    values.newGenre = FromQt(ui_.cboGenre->itemText(i));
  }
  values.currentKeyword = FromQt(ui_.txtCurrentKeyword->text());
  values.newKeyword = FromQt(ui_.txtKeyword->text());
  values.match = ui_.Option2->isChecked() ? KeywordMatch::kCharacters : KeywordMatch::kWholeKeyword;
  return values;
}

void StyleReplaceWindow::AllEntries() {
  const StyleReplaceValues values = Values();
  const Result<bool> ran = RunUndoable(state_, ReplacementStepName(values), [&] {
    return ReplaceInAllRecords(state_, dialogs_, values);
  });
  Present(ran.outcome, dialogs_);
  if (ran.value && onReplaced_) onReplaced_();
}

}  // namespace cadenzo
