// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "list/search.h"
#include "ui_search_window.h"

class QRadioButton;

namespace cadenzo {

// What the search window asks of the main window.
struct SearchWindowHooks {
  // Select the row at this display position in ListView1 and scroll it into view (the core has
  // already made it the highlighted row; it is not a click).
  std::function<void(std::size_t position)> showRow;
  // Check marks, deleted rows, the checked-count label or enabled states changed.
  std::function<void()> listChanged;
  // The main window's play-list command (cmdPlayList).
  std::function<void()> openPlayList;
};

// The search window frmSearch "List Search". It owns its SearchState: "Close" hides the window
// and everything survives; the close box unloads it, and the next opening starts afresh.
class SearchWindow : public QWidget {
  Q_OBJECT

 public:
  SearchWindow(AppState& state, Dialogs& dialogs, SearchWindowHooks hooks,
               QWidget* parent = nullptr);

  const SearchState& Search() const { return search_; }
  const Ui::frmSearch& Controls() const { return ui_; }

 private:
  void ChooseField(int index);
  void cmdFind_Click();
  void cmdAgain_Click();
  void CheckAll();
  void cmdFilter_Click();
  void PreparePlayList();
  void ShowFound(const Result<std::optional<std::size_t>>& found);
  void ListChanged();

  AppState& state_;
  Dialogs& dialogs_;
  SearchWindowHooks hooks_;
  SearchState search_;
  Ui::frmSearch ui_;
  std::array<QRadioButton*, 7> fieldOptions_{};
};

// Shows frmSearch modeless, loading it first when it is not loaded (first use, or after its
// close box). `window` is the opener's handle; it becomes null when the window unloads.
SearchWindow* ShowSearchWindow(QPointer<SearchWindow>& window, AppState& state, Dialogs& dialogs,
                               SearchWindowHooks hooks, QWidget* parent);

}  // namespace cadenzo
