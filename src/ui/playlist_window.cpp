// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/playlist_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <utility>

#include "playlist/play_list_export.h"
#include "playlist/play_list_print.h"
#include "ui/list_printer.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"
#include "ui_playlist_window.h"

namespace cadenzo {

// The list control's view of the core play list: its columns and cell texts.
class PlayListModel : public QAbstractTableModel {
 public:
  PlayListModel(const PlayList& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

  void Reset() {
    beginResetModel();
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.Size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : list_.ColumnCount();
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const auto& row = list_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
      return index.column() < static_cast<int>(row.cells.size()) ? ToQt(row.Cell(index.column()))
                                                                 : QString();
    }
    if (role == Qt::TextAlignmentRole) return Alignment(index.column());
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= list_.ColumnCount()) return {};
    if (role == Qt::DisplayRole) {
      return ToQt(std::string(list_.Columns()[static_cast<std::size_t>(section)].header));
    }
    if (role == Qt::TextAlignmentRole) return Alignment(section);
    return {};
  }

 private:
  QVariant Alignment(int column) const {
    const auto alignment = list_.Columns()[static_cast<std::size_t>(column)].alignment;
    Qt::Alignment a = Qt::AlignLeft;
    if (alignment == ColumnAlignment::kCentre) a = Qt::AlignHCenter;
    if (alignment == ColumnAlignment::kRight) a = Qt::AlignRight;
    return QVariant::fromValue(a | Qt::AlignVCenter);
  }

  const PlayList& list_;
};

PlayListWindow::PlayListWindow(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs), ui_(new Ui::frmPlayList) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("frmPlayList"));
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);

  model_ = new PlayListModel(list_, this);
  ui_->ListView1->setModel(model_);
  QHeaderView* header = ui_->ListView1->header();
  header->setSectionsClickable(true);
  header->setStretchLastSection(true);
  header->setSectionsMovable(false);

  connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
    Present(SortPlayList(list_, column), dialogs_);
    Refresh();
  });
  connect(ui_->ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { OnCurrentRowChanged(current.row()); });
  connect(ui_->cmdOrder, &QPushButton::clicked, this, [this] {
    Present(ChangePlayListPosition(list_, dialogs_), dialogs_);
    Refresh();
  });
  connect(ui_->cmdNotes, &QPushButton::clicked, this, [this] {
    Present(EnterPlayListComment(list_, dialogs_), dialogs_);
    Refresh();
  });
  connect(ui_->mnuDefault, &QAction::triggered, this,
          [this] { ChooseLayout(PlayListLayout::kDefault); });
  connect(ui_->mnuSong_Genre, &QAction::triggered, this,
          [this] { ChooseLayout(PlayListLayout::kSongGenre); });
  connect(ui_->mnuTextFile, &QAction::triggered, this,
          [this] { Present(ExportPlayListText(list_, state_, dialogs_), dialogs_); });
  connect(ui_->mnuTextFileImportable, &QAction::triggered, this,
          [this] { Present(ExportPlayListImportable(list_, state_, dialogs_), dialogs_); });
  connect(ui_->mnuPrint, &QAction::triggered, this, &PlayListWindow::mnuPrint_Click);
  connect(ui_->mnuExit, &QAction::triggered, this, &PlayListWindow::mnuExit_Click);

  ShowLayout();
  Refresh();
}

PlayListWindow::~PlayListWindow() = default;

void PlayListWindow::Form_Activate() {
  Present(FillPlayList(list_, state_.List), dialogs_);
  Refresh();
}

void PlayListWindow::Refresh() {
  refreshing_ = true;
  model_->Reset();
  QHeaderView* header = ui_->ListView1->header();
  header->setSortIndicatorShown(list_.SortOn());
  if (list_.SortOn()) {
    header->setSortIndicator(list_.SortKey(),
                             list_.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  }
  if (const auto selected = list_.SelectedIndex()) {
    const QModelIndex index = model_->index(static_cast<int>(*selected), 0);
    ui_->ListView1->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  AutoSizeColumns();
  refreshing_ = false;
}

void PlayListWindow::AutoSizeColumns() {
  for (int c = 0; c < model_->columnCount(QModelIndex()); ++c) {
    ui_->ListView1->resizeColumnToContents(c);
  }
}

void PlayListWindow::ChooseLayout(PlayListLayout layout) {
  Present(ChoosePlayListLayout(list_, layout, state_.List), dialogs_);
  ShowLayout();
  Refresh();
}

void PlayListWindow::ShowLayout() {
  const bool defaultLayout = list_.Layout() == PlayListLayout::kDefault;
  // The check marks show the layout in use, also when the shown one was chosen again.
  ui_->mnuDefault->setChecked(defaultLayout);
  ui_->mnuSong_Genre->setChecked(!defaultLayout);
  // Comments have a column only in the default layout.
  ui_->cmdNotes->setEnabled(defaultLayout);
}

void PlayListWindow::OnCurrentRowChanged(int row) {
  if (refreshing_ || row < 0) return;
  list_.ClickRow(static_cast<std::size_t>(row));
}

void PlayListWindow::mnuPrint_Click() {
  ListPrintJob job = PlayListPrintJob(list_, state_.AppPath);
  TakeColumnWidths(job, *ui_->ListView1);
  ListPrinter(std::move(job)).Preview(this, dialogs_);
}

void PlayListWindow::PrintToPdf(const QString& path) {
  ListPrintJob job = PlayListPrintJob(list_, state_.AppPath);
  TakeColumnWidths(job, *ui_->ListView1);
  ListPrinter(std::move(job)).PrintToPdf(path);
}

void PlayListWindow::mnuExit_Click() {
  exiting_ = true;
  close();
}

void PlayListWindow::CloseWithProgram() { mnuExit_Click(); }

void PlayListWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  if (!isActiveWindow()) {
    // A message or input box of this window's own commands takes the activation only for a
    // moment: coming back from it is no return to the window, and keeps the clicked row.
    awayInDialog_ = QApplication::activeModalWidget() != nullptr;
    return;
  }
  if (std::exchange(awayInDialog_, false)) return;
  Form_Activate();
}

void PlayListWindow::closeEvent(QCloseEvent* event) {
  if (exiting_) {
    event->accept();
    return;
  }
  event->ignore();
  dialogs_.Show("Please use the menu item Exit to close");
}

void PlayListWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  AutoSizeColumns();
}

PlayListWindow* OpenPlayList(QWidget* parent, AppState& state, Dialogs& dialogs) {
  const Result<bool> prepared = PreparePlayList(state);
  Present(prepared.outcome, dialogs);
  if (!prepared.value) return nullptr;
  // One play list per run, whichever window asks for it.
  PlayListWindow* window = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* candidate = qobject_cast<PlayListWindow*>(top);
    if (candidate != nullptr && candidate->Serves(state)) window = candidate;
  }
  if (window == nullptr) {
    QWidget* root = parent;
    while (root != nullptr && root->parentWidget() != nullptr) root = root->parentWidget();
    window = new PlayListWindow(state, dialogs, root);
  }
  if (parent != nullptr) {
    ShowToolWindow(*window, *parent->window());
  } else {
    window->show();
    window->raise();
    window->activateWindow();
  }
  // Activation may not reach a window the window manager keeps inactive; appending twice adds
  // nothing the first call did not.
  window->Form_Activate();
  return window;
}

}  // namespace cadenzo
