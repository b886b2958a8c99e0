// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace cadenzo {

SearchWindow::SearchWindow(AppState& state, Dialogs& dialogs, SearchWindowHooks hooks,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), dialogs_(dialogs), hooks_(std::move(hooks)) {
  ui_.setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);

  fieldOptions_ = {ui_.Option1_1, ui_.Option1_2, ui_.Option1_3, ui_.Option1_4,
                   ui_.Option1_5, ui_.Option1_6, ui_.Option1_7};
  for (std::size_t i = 0; i < fieldOptions_.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    connect(fieldOptions_[i], &QRadioButton::clicked, this, [this, index] { ChooseField(index); });
  }
  connect(ui_.txtFind, &QLineEdit::textChanged, this,
          [this](const QString& text) { search_.txtFind = FromQt(text); });
  // Enter in the search field finds the first match, as Find does.
  connect(ui_.txtFind, &QLineEdit::returnPressed, this, &SearchWindow::cmdFind_Click);
  connect(ui_.OptMatchWord, &QRadioButton::toggled, this,
          [this](bool on) { search_.wholeWord = on; });
  connect(ui_.cmdFind, &QPushButton::clicked, this, &SearchWindow::cmdFind_Click);
  connect(ui_.cmdAgain, &QPushButton::clicked, this, &SearchWindow::cmdAgain_Click);
  connect(ui_.cmdCheck, &QPushButton::clicked, this, &SearchWindow::CheckAll);
  connect(ui_.cmdFilter, &QPushButton::clicked, this, &SearchWindow::cmdFilter_Click);
  connect(ui_.cmdPlayList, &QPushButton::clicked, this, &SearchWindow::PreparePlayList);
  connect(ui_.cmdExit, &QPushButton::clicked, this, &QWidget::hide);

  // Load: the window shows the state it starts with (Music, Containing, empty text).
  fieldOptions_[static_cast<std::size_t>(search_.fieldIndex - 1)]->setChecked(true);
  ui_.optMatchContaining->setChecked(!search_.wholeWord);
  ui_.OptMatchWord->setChecked(search_.wholeWord);
  ui_.txtFind->setText(ToQt(search_.txtFind));
}

void SearchWindow::ChooseField(int index) {
  ChooseSearchField(search_, index);
  ui_.txtFind->setText(ToQt(search_.txtFind));
  ui_.txtFind->setFocus();
}

void SearchWindow::ShowFound(const Result<std::optional<std::size_t>>& found) {
  Present(found.outcome, dialogs_);
  if (found.value && hooks_.showRow) hooks_.showRow(*found.value);
}

void SearchWindow::ListChanged() {
  if (hooks_.listChanged) hooks_.listChanged();
}

void SearchWindow::cmdFind_Click() { ShowFound(FindFirst(state_, search_)); }

void SearchWindow::cmdAgain_Click() { ShowFound(FindNext(state_, search_)); }

void SearchWindow::CheckAll() {
  Present(FindAndCheckAll(state_, search_).outcome, dialogs_);
  ListChanged();
}

void SearchWindow::cmdFilter_Click() {
  Present(
      RunUndoable(state_, "Filter List", [this] { return FilterList(state_, search_, dialogs_); }),
      dialogs_);
  ListChanged();
}

void SearchWindow::PreparePlayList() {
  const Result<bool> checked = OpenInPlayList(state_, search_);
  Present(checked.outcome, dialogs_);
  const bool go = checked.value && checked.outcome.Ok();
  ListChanged();
  if (go && hooks_.openPlayList) hooks_.openPlayList();
}

SearchWindow* ShowSearchWindow(QPointer<SearchWindow>& window, AppState& state, Dialogs& dialogs,
                               SearchWindowHooks hooks, QWidget* parent) {
  if (window.isNull()) window = new SearchWindow(state, dialogs, std::move(hooks), parent);
  if (parent != nullptr) {
    ShowToolWindow(*window, *parent->window());
  } else {
    window->show();
    window->raise();
    window->activateWindow();
  }
  return window.data();
}

}  // namespace cadenzo
