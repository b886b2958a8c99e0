// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "mfd/processing_pass.h"

class QComboBox;
class QLineEdit;
class QLabel;
class QRadioButton;

namespace cadenzo {

// frmConvert, "Save As Options": shows the source and target and starts the save.
class ConvertWindow : public QDialog {
  Q_OBJECT

 public:
  ConvertWindow(AppState& state, Dialogs& dialogs, std::function<void()> afterSave,
                QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;

 private:
  // The source and target as they are now; the save option keeps the user's choice.
  void ShowInstruments();
  // What the save would do now, worked out without writing anything.
  void ShowDryRun();
  void ShowDryRunDetails();
  void Save();

  AppState& state_;
  Dialogs& dialogs_;
  std::function<void()> afterSave_;
  QLineEdit* txtSourceInstrument_ = nullptr;
  QLabel* lblTargetInstrument_ = nullptr;
  QRadioButton* optAllRecords_ = nullptr;
  QRadioButton* optCheckedRecords_ = nullptr;
  QLabel* lblDryRun_ = nullptr;
  std::vector<PlanChange> changes_;  // the records the shown plan changes
};

// frmDefaultStyle, "Select Default Style".
class DefaultStyleWindow : public QDialog {
  Q_OBJECT

 public:
  // Returns null when the window has nothing to show (a message was shown instead).
  static DefaultStyleWindow* Open(AppState& state, Dialogs& dialogs, std::function<void()> afterOk,
                                  QWidget* parent);

 private:
  DefaultStyleWindow(AppState& state, Dialogs& dialogs, std::function<void()> afterOk,
                     QWidget* parent);
  void Ok();

  AppState& state_;
  Dialogs& dialogs_;
  std::function<void()> afterOk_;
  QComboBox* cboStyle_ = nullptr;
};

}  // namespace cadenzo
