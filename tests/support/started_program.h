// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <string>
#include <vector>

#include "mfd/record.h"
#include "support/builders.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"

// The started program on a small songs file, driven as a person would: the window tests of a
// working session share it.
namespace cadenzo::testing {

inline constexpr int kRecords = 4;

// A four-record file on a media model. Every record is a Favorite and in Search 1 with keywords;
// the last one points at a song on USB.
inline std::vector<std::uint8_t> SongsFile() {
  FileBuilder file{.model = "PSR-S970"};
  for (int i = 0; i < kRecords; ++i) {
    file.records.push_back(RecordBuilder{.number = i,
                                         .style = 291,
                                         .tempo = 100 + i,
                                         .flags = mfd::kFavorite | mfd::kSearch1,
                                         .music = "Song " + std::to_string(i),
                                         .keywords = "kw" + std::to_string(i),
                                         .intro = 2,
                                         .next = 5});
  }
  file.records.back().style = mfd::kMediaStyle;
  file.fileRefs = std::vector<FileRefBuilder>{{.position = kRecords - 1, .path = "I:\\Hit.mid"}};
  return file.Build();
}

// The program started with that file named on its command line.
struct Program {
  Program() {
    path = tmp.Write("songs.mfd", SongsFile()).string();
    app.SetDialogs(&dialogs);
    started = app.Main({path}, CADENZO_DATA_DIR, (tmp.Path() / "user").string() + "/");
    window = app.Window();
    if (window != nullptr) {
      window->resize(1100, 700);
      view = window->ListView1();
    }
  }
  AppState& State() { return app.State(); }
  EditWindow* Editor() { return app.Controller()->Editor(); }

  void Press(const char* name) const {
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  void Trigger(const char* name) const {
    window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
  }
  void ClickRow(int row) const {
    const QPoint at = view->visualRect(view->model()->index(row, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  }
  void CheckRow(int row) const {
    QVERIFY(view->model()->setData(view->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole));
  }
  template <typename T>
  T* InEditor(const char* name) {
    return Editor()->findChild<T*>(QString::fromLatin1(name));
  }
  // The visible top-level window with this objectName.
  static QWidget* TopLevel(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    }
    return nullptr;
  }
  static std::vector<QWidget*> VisibleWindows() {
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) out.push_back(w);
    }
    return out;
  }
  std::uint8_t Flags(int n) { return State().FileBytes[mfd::RecordOffset(n) + mfd::kFlags]; }
  int Shown(const std::string& text) const {
    const auto texts = dialogs.Texts();
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
  }

  TempDir tmp;
  ScriptedDialogs dialogs;
  Application app;
  std::string path;
  bool started = false;
  MainWindow* window = nullptr;
  QTableView* view = nullptr;
};

}  // namespace cadenzo::testing
