// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>

#include <QActionGroup>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableView>
#include <cmath>
#include <numbers>

#include "app/command_availability.h"
#include "app/report_error.h"
#include "app/trace.h"
#include "list/list_view_rules.h"
#include "mfd/file_commands.h"
#include "ui/auto_size_columns.h"
#include "ui/menu_additions.h"
#include "ui/qt_text.h"
#include "ui/record_list_model.h"
#include "ui/rtf_reader.h"
#include "ui/status_feedback.h"

namespace cadenzo {

namespace {

// Menu items that run the command of a button.
const QHash<QString, QString>& ButtonOfMenuItem() {
  static const QHash<QString, QString> map = {
      {QStringLiteral("mnuSearch"), QStringLiteral("cmdSearch")},
      {QStringLiteral("MnuAddToPlayList"), QStringLiteral("cmdPlayList")},
      {QStringLiteral("mnuSetupPSR"), QStringLiteral("cmdSetPSR")},
      {QStringLiteral("mnuDeleteItem"), QStringLiteral("CmdDelete")},
      {QStringLiteral("mnuDeleteCheckedItems"), QStringLiteral("cmdDeleteChecked")},
      {QStringLiteral("mnuAdd"), QStringLiteral("cmdAdd")},
      {QStringLiteral("mnuModify"), QStringLiteral("cmdModify")},
      {QStringLiteral("mnuReplaceItem"), QStringLiteral("cmdReplaceStyle")},
      {QStringLiteral("mnuClearFavorites"), QStringLiteral("CmdFav")},
      {QStringLiteral("mnuClearSearch1"), QStringLiteral("cmdS1")},
      {QStringLiteral("mnuClearSearch2"), QStringLiteral("cmdS2")},
      {QStringLiteral("mnuSetFavorites"), QStringLiteral("cmdSetFav")},
      {QStringLiteral("mnuSetSearch1"), QStringLiteral("cmdSetS1")},
      {QStringLiteral("mnuSetSearch2"), QStringLiteral("cmdSetS2")},
      {QStringLiteral("mnuCheckItem"), QStringLiteral("cmdCheck")},
      {QStringLiteral("mnuUncheckItem"), QStringLiteral("CmdUnCheck")},
      {QStringLiteral("MnuInvertAllCheckmarks"), QStringLiteral("cmdInvert")},
  };
  return map;
}

// The Music Finder file a drag carries, or an empty text when the window refuses the drag.
QString DraggedMusicFinderFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  std::vector<std::string> paths;
  for (const QUrl& url : data->urls()) {
    // Only files on this computer can be read; anything else refuses the whole drop.
    if (!url.isLocalFile()) return {};
    paths.push_back(PathFromQt(url.toLocalFile()));
  }
  const auto path = DroppedMusicFinderFile(paths);
  return path ? PathToQt(*path) : QString();
}

enum class Flag { kFavorite, kSearch1, kSearch2 };

// The pictures of the set-all and clear-all buttons: a star for Favorite, a numbered badge for
// Search 1 and 2; filled when setting, grey and struck through when clearing.
QIcon FlagIcon(Flag flag, bool set, qreal dpr) {
  constexpr int kSize = 20;
  QPixmap pixmap(static_cast<int>(kSize * dpr), static_cast<int>(kSize * dpr));
  pixmap.setDevicePixelRatio(dpr);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor grey(128, 128, 128);
  const QColor ink =
      set ? (flag == Flag::kFavorite ? QColor(176, 120, 0) : QColor(28, 78, 160)) : grey;
  const QColor fill = set ? (flag == Flag::kFavorite ? QColor(246, 190, 40) : QColor(52, 120, 220))
                          : QColor(Qt::transparent);
  p.setPen(QPen(ink, 1.4));
  p.setBrush(fill);
  const QPointF centre(kSize / 2.0, kSize / 2.0 + 0.5);
  if (flag == Flag::kFavorite) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
      const double radius = i % 2 == 0 ? 8.8 : 3.8;
      const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
      const QPointF point(centre.x() + radius * std::cos(angle),
                          centre.y() + radius * std::sin(angle));
      if (i == 0) {
        star.moveTo(point);
      } else {
        star.lineTo(point);
      }
    }
    star.closeSubpath();
    p.drawPath(star);
  } else {
    p.drawEllipse(centre, 7.8, 7.8);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(set ? QColor(Qt::white) : grey);
    p.drawText(QRectF(0, 0.5, kSize, kSize), Qt::AlignCenter,
               flag == Flag::kSearch1 ? QStringLiteral("1") : QStringLiteral("2"));
  }
  if (!set) {
    p.setPen(QPen(QColor(200, 40, 40), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, kSize - 3.5), QPointF(kSize - 3.5, 3.5));
  }
  return QIcon(pixmap);
}

}  // namespace

MainWindow::MainWindow(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs) {
  PrepareMainWindow(state_);
  ui_.setupUi(this);
  SetUpList();
  SetUpPictureButtons();
  SetUpShortcuts();
  setAcceptDrops(true);
  // The status bar: what the last command did, and the progress of long work.
  AddStatusBar(*this);

  trackMenu_ = new QMenu(QStringLiteral("TrackMenu"), this);
  trackMenu_->setObjectName(QStringLiteral("mnuTrackMenu"));
  trackMenu_->addAction(ui_.mnuTrackMenuSetFavorite);
  trackMenu_->addAction(ui_.mnuTrackMenuSetS1);
  trackMenu_->addAction(ui_.MnuTrackMenuSetS2);

  // The option pairs show as radio items; their check marks always follow the state.
  for (const auto& [first, second] :
       {std::pair{ui_.mnuAuto, ui_.mnuStyleNumbers}, std::pair{ui_.mnuRed, ui_.mnuBlue},
        std::pair{ui_.mnuEditRecord, ui_.mnuToggleFavorite}}) {
    auto* group = new QActionGroup(this);
    group->addAction(first);
    group->addAction(second);
  }

  AddEditMenu(*this);
  AddMergeItem(*this);
  CollectControls();
  OnCommand(QStringLiteral("mnuPrinterFont"), [this] { ChooseListFontSize(state_, dialogs_); });
  OnCommand(QStringLiteral("mnuHideGridLines"), [this] { ToggleGridLines(state_); });

  Refresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetUpList() {
  QTableView* view = ui_.ListView1;
  // The list's font before its model: the header measures its sections once, in that font.
  ApplyListLook();
  model_ = new RecordListModel(state_.List, this);
  view->setModel(model_);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);  // the core sorts; the header only shows it
  view->setWordWrap(false);
  view->setTabKeyNavigation(false);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  view->verticalHeader()->hide();
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = view->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  header->setSortIndicator(-1, Qt::AscendingOrder);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setMinimumSectionSize(12);
  // The viewport's resize comes after the view has laid out its scroll bars and header.
  view->viewport()->installEventFilter(this);

  connect(header, &QHeaderView::sectionClicked, this, &MainWindow::OnColumnClicked);
  connect(model_, &RecordListModel::CheckChanged, this, &MainWindow::OnCheckChanged);
  connect(view, &QTableView::clicked, this,
          [this](const QModelIndex& index) { OnRowClicked(index.row()); });
  connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex& previous) {
            // Mouse clicks arrive through clicked(); this catches moves with the keyboard. The
            // first current row, which the view sets by itself when it takes the focus, is not
            // a click.
            if (syncing_ || !current.isValid() || !previous.isValid()) return;
            if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
            OnRowClicked(current.row());
          });
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { SyncSelectionFromView(); });
  connect(view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    emit RowDoubleClicked(index.row());
    Refresh();
  });
  connect(view, &QWidget::customContextMenuRequested, this, &MainWindow::OnContextMenu);
}

void MainWindow::SetUpPictureButtons() {
  const qreal dpr = devicePixelRatioF();
  const struct {
    QPushButton* button;
    Flag flag;
    bool set;
  } buttons[] = {
      {ui_.CmdFav, Flag::kFavorite, false}, {ui_.cmdS1, Flag::kSearch1, false},
      {ui_.cmdS2, Flag::kSearch2, false},   {ui_.cmdSetFav, Flag::kFavorite, true},
      {ui_.cmdSetS1, Flag::kSearch1, true}, {ui_.cmdSetS2, Flag::kSearch2, true},
  };
  for (const auto& b : buttons) {
    b.button->setIcon(FlagIcon(b.flag, b.set, dpr));
    b.button->setIconSize(QSize(20, 20));
  }
}

void MainWindow::SetUpShortcuts() {
  // The desktop's usual keys; the captions' own Alt accelerators stay as they are.
  ui_.mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  ui_.mnuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  ui_.mnuConvert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  ui_.mnuSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  ui_.mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  ui_.mnuQuickStartGuide->setShortcut(QKeySequence(Qt::Key_F1));
}

void MainWindow::CollectControls() {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    const QString name = button->objectName();
    if (name.isEmpty()) continue;
    connect(button, &QPushButton::clicked, this, [this, name] { RunCommand(name); });
  }
  // Menu items run their commands.
  for (QAction* action : findChildren<QAction*>()) {
    const QString name = action->objectName();
    if (name.isEmpty()) continue;
    connect(action, &QAction::triggered, this, [this, name] { RunCommand(name); });
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeRequest_ && !closeRequest_()) {
    event->ignore();
    Refresh();
    return;
  }
  // Closing the main window ends the program with every other window.
  event->accept();
  QApplication::closeAllWindows();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DraggedMusicFinderFile(event->mimeData()).isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (DraggedMusicFinderFile(event->mimeData()).isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DraggedMusicFinderFile(event->mimeData());
  if (path.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // Opened after the drop has finished, so that a question about unsaved changes does not keep
  // the program the file came from waiting.
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        emit FileDropped(path);
        Refresh();
      },
      Qt::QueuedConnection);
}

void MainWindow::OnCommand(const QString& objectName, std::function<void()> handler) {
  handlers_.insert(objectName, std::move(handler));
}

void MainWindow::Click(const QString& objectName) { RunCommand(objectName); }

void MainWindow::RunCommand(const QString& objectName) {
  auto it = handlers_.constFind(objectName);
  if (it == handlers_.constEnd()) {
    const auto button = ButtonOfMenuItem().constFind(objectName);
    if (button != ButtonOfMenuItem().constEnd()) it = handlers_.constFind(button.value());
  }
  if (it != handlers_.constEnd()) {
    // A copy: the handler may replace itself.
    const std::function<void()> handler = it.value();
    RunReported(dialogs_, objectName.toStdString(), handler);
  }
  // Also without a handler: a checkable item's check mark goes back to what the state says.
  Refresh();
}

void MainWindow::AddHeaders() {
  RunReported(dialogs_, "Add Headers", [this] {
    QHeaderView* header = ui_.ListView1->horizontalHeader();
    for (int c = 0; c < col::kCount; ++c) {
      header->resizeSection(
          c, ListColumns()[static_cast<std::size_t>(c)].initialWidth / kTwipsPerPixel);
    }
    FitColumns(ColumnFit::kHeaderAndContents);
  });
}

void MainWindow::Refresh() {
  // The rows, their texts or the list font may change: the next resize measures again.
  fittedWidths_.clear();
  const bool wasSyncing = syncing_;
  syncing_ = true;
  QHeaderView* header = ui_.ListView1->horizontalHeader();
  std::vector<int> widths;
  for (int c = 0; c < col::kCount; ++c) widths.push_back(header->sectionSize(c));
  const bool reset = model_->rowCount() != static_cast<int>(state_.List.Size());
  model_->Refresh();
  if (reset) {
    TraceStage("model filled");
    // A reset forgets the column widths the user or the last fit gave.
    for (int c = 0; c < col::kCount; ++c) header->resizeSection(c, widths[c]);
  }
  MirrorSelection();
  if (state_.List.SortOn()) {
    header->setSortIndicator(state_.List.SortKey(), state_.List.SortDescending()
                                                        ? Qt::DescendingOrder
                                                        : Qt::AscendingOrder);
  } else {
    header->setSortIndicator(-1, Qt::AscendingOrder);
  }
  syncing_ = wasSyncing;

  ApplyListLook();
  if (state_.PendingColumnFit != ColumnFit::kNone) {
    const ColumnFit fit = state_.PendingColumnFit;
    state_.PendingColumnFit = ColumnFit::kNone;
    FitColumns(fit);
  }
  UpdateActions();
  RefreshCaption();
}

void MainWindow::UpdateActions() {
  // The only place the commands' enabled states reach the widgets.
  const AvailableCommands available = CommandAvailability(state_);
  ui_.cmdDeleteChecked->setEnabled(available.cmdDeleteChecked);
  ui_.cmdPlayList->setEnabled(available.cmdPlayList);
  ui_.CmdDelete->setEnabled(available.CmdDelete);
  ui_.cmdModify->setEnabled(available.cmdModify);
  ui_.cmdReplaceStyle->setEnabled(available.cmdReplaceStyle);
  ui_.lblNumberChecked->setText(QString::number(available.checkedCount));

  // The item that should be checked first, so that a radio pair never shows both or neither.
  const auto setPair = [](QAction* first, QAction* second, bool firstChecked) {
    if (firstChecked) {
      first->setChecked(true);
      second->setChecked(false);
    } else {
      second->setChecked(true);
      first->setChecked(false);
    }
  };
  setPair(ui_.mnuAuto, ui_.mnuStyleNumbers, state_.AutoDetect);
  setPair(ui_.mnuEditRecord, ui_.mnuToggleFavorite, state_.DoubleClickEdits);
  if (state_.UnknownStyleColor == kBlue) {
    setPair(ui_.mnuRed, ui_.mnuBlue, false);
  } else {
    setPair(ui_.mnuRed, ui_.mnuBlue, state_.UnknownStyleColor == kRed);
  }
  ui_.mnuUserStyles->setChecked(state_.AllowUserStyles);
  ui_.mnuHideGridLines->setChecked(state_.HideGridLines);
  ShowUndoSteps(*this, state_.History);
}

void MainWindow::RefreshCaption() { setWindowTitle(ToQt(state_.Caption)); }

void MainWindow::FitColumns(ColumnFit fit) {
  if (fit == ColumnFit::kNone) return;
  const bool headerMode = fit == ColumnFit::kHeaderAndContents;
  // The rows are looked at, but only the few texts that may be a column's widest are measured.
  fittedWidths_ = MeasureColumns(ui_.ListView1, headerMode,
                                 [this](const ByteAdvances& advances, const RowRanges& rows) {
                                   return model_->WidestTexts(advances, rows);
                                 });
  fittedHeaderMode_ = headerMode;
  ApplyColumnWidths(ui_.ListView1, fittedWidths_, headerMode);
  TraceStage("columns fitted");
}

void MainWindow::ApplyListLook() {
  QTableView* view = ui_.ListView1;
  view->setShowGrid(!state_.HideGridLines);
  if (appliedFontSize_ != state_.ListFontSize) {
    appliedFontSize_ = state_.ListFontSize;
    // "Arial": the desktop's metric-compatible sans stands in where Arial is missing.
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(state_.ListFontSize);
    font.setBold(false);
    font.setItalic(false);
    view->setFont(font);
    view->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
  }
}

void MainWindow::OnRowClicked(int position) {
  if (syncing_ || position < 0) return;
  SyncSelectionFromView();
  emit RowClicked(position);
  Refresh();
}

void MainWindow::OnCheckChanged(int position) {
  if (syncing_) return;
  Present(UpdateCheckedCount(state_).outcome, dialogs_);
  emit RowCheckChanged(position);
  Refresh();
}

void MainWindow::OnColumnClicked(int column) {
  Present(SortByColumn(state_, column), dialogs_);
  emit ColumnClicked(column);
  Refresh();
}

void MainWindow::OnContextMenu(const QPoint& pos) {
  QTableView* view = ui_.ListView1;
  emit ListRightButton(view->rowAt(pos.y()));
  Refresh();
  trackMenu_->popup(view->viewport()->mapToGlobal(pos));
}

void MainWindow::SyncSelectionFromView() {
  if (syncing_) return;
  const QModelIndexList rows = ui_.ListView1->selectionModel()->selectedRows();
  for (Row& row : state_.List) row.selected = false;
  for (const QModelIndex& index : rows) {
    if (index.row() < static_cast<int>(state_.List.Size())) {
      state_.List[static_cast<std::size_t>(index.row())].selected = true;
    }
  }
}

void MainWindow::MirrorSelection() {
  QItemSelection selection;
  int first = -1;
  int runStart = -1;
  const int rows = static_cast<int>(state_.List.Size());
  const auto closeRun = [&](int end) {
    if (runStart < 0) return;
    selection.select(model_->index(runStart, 0), model_->index(end - 1, col::kCount - 1));
    runStart = -1;
  };
  for (int i = 0; i < rows; ++i) {
    if (state_.List[static_cast<std::size_t>(i)].selected) {
      if (first < 0) first = i;
      if (runStart < 0) runStart = i;
    } else {
      closeRun(i);
    }
  }
  closeRun(rows);
  QItemSelectionModel* model = ui_.ListView1->selectionModel();
  if (model->selection() != selection)
    model->select(selection, QItemSelectionModel::ClearAndSelect);
  if (first >= 0 && model->currentIndex().row() != first) {
    // A row the core selected (search, for example) comes into view.
    const QModelIndex index = model_->index(first, std::max(0, model->currentIndex().column()));
    model->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    ui_.ListView1->scrollTo(index);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_.ListView1->viewport() && event->type() == QEvent::Resize) {
    // Headers stay readable and the last column takes the spare width, with or without a file.
    // The rows have not changed since the last fit unless the window refreshed: its widths stand.
    if (fittedWidths_.empty() || !fittedHeaderMode_) {
      FitColumns(ColumnFit::kHeaderAndContents);
    } else {
      ApplyColumnWidths(ui_.ListView1, fittedWidths_, true);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace cadenzo
