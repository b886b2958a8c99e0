// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's list commands on a big file, timed end to end in the real program window
// (offscreen): from the click a user makes until the event loop is idle and the list's viewport
// has repainted. Each command runs several times from the same starting state, which is restored
// outside the timed span; the table gives median, min and max and marks lines over 100 ms.
//   window_commands_bench [FILE.mfd] [--runs N] [--only TEXT]
// Without FILE, a file of 32,767 records of the bundled example's kind is generated. --only runs
// the commands whose names begin with TEXT (for a profile of one command).
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/document.h"
#include "charset/cp1252.h"
#include "list/list_view_rules.h"
#include "list/row_commands.h"
#include "mfd/bulk_replace.h"
#include "rows/columns.h"
#include "support/builders.h"
#include "support/paint_counter.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/search_window.h"
#include "ui/style_replace_window.h"

namespace cadenzo {
namespace {

constexpr double kLimitMs = 100.0;
constexpr int kRecords = 32767;
constexpr int kCheckedToDelete = 10000;

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("window_commands_bench: " + what);
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

using testing::PaintCounter;

// The CPU time of this thread (the program's windows all run on it), in milliseconds.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Span {
  double wall = 0;
  double cpu = 0;
  int paints = 0;  // paints of the list
};

struct Timing {
  std::string name;
  std::vector<double> ms;   // wall time of each run
  std::vector<double> cpu;  // CPU time of each run
  std::vector<double> paints;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

class Bench {
 public:
  Bench(const std::string& file, int runs, std::string only) : runs_(runs), only_(std::move(only)) {
    app_.SetDialogs(&dialogs_);
    const std::string user = (tmp_.Path() / "user").string() + "/";
    Require(app_.Main({file}, CADENZO_DATA_DIR, user), "the program did not start");
    window_ = app_.Window();
    window_->resize(1100, 700);
    view_ = window_->ListView1();
    view_->viewport()->installEventFilter(&paints_);
    Settle();
    Require(State().List.Size() == kRecords,
            "the file holds " + std::to_string(State().List.Size()) + " rows, not 32,767");
  }

  void Run() {
    // The text for the import, exported from the file as it opened.
    const std::string text = (tmp_.Path() / "export.txt").string();
    dialogs_.QueueFile(text);
    Trigger("mnuTextFile");
    Require(std::filesystem::exists(text), "the export wrote nothing");

    Sorts();
    FindAndCheckAll();
    CheckAllRows();
    DeleteChecked();
    ReplaceGenre();
    Import(text);
  }

  void Print() const {
    // CPU: median CPU time of the program's thread; paints: median paints of the list a run.
    std::printf("%-32s %10s %10s %10s %10s %6s\n", "Command (32,767 rows)", "median", "min", "max",
                "CPU", "paints");
    for (const Timing& t : timings_) {
      const double median = Median(t.ms);
      std::printf("%-32s %8.1fms %8.1fms %8.1fms %8.1fms %6.0f%s\n", t.name.c_str(), median,
                  *std::min_element(t.ms.begin(), t.ms.end()),
                  *std::max_element(t.ms.begin(), t.ms.end()), Median(t.cpu), Median(t.paints),
                  median > kLimitMs ? "  > 100 ms" : "");
    }
  }

 private:
  AppState& State() { return app_.State(); }

  // Lets the event loop finish what the command posted (layouts, timers, updates).
  static void Settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
  }

  bool Selected(const std::string& name) const { return only_.empty() || name.starts_with(only_); }

  // Times `command` `runs_` times; `setup` before each run and `check` after it are not timed.
  void Time(const std::string& name, const std::function<void()>& setup,
            const std::function<void()>& command, const std::function<void()>& check) {
    if (!Selected(name)) return;
    Timing timing{name, {}};
    for (int run = 0; run < runs_; ++run) {
      setup();
      Settle();
      const Span span = TimedSpan(command);
      timing.ms.push_back(span.wall);
      timing.cpu.push_back(span.cpu);
      timing.paints.push_back(span.paints);
      check();
    }
    timings_.push_back(std::move(timing));
    std::fprintf(stderr, "%s done\n", name.c_str());
  }

  // The span a run takes, in milliseconds of wall and of CPU time. Not inlined, so that a profiler
  // can be limited to it (valgrind --tool=callgrind --toggle-collect='*TimedSpan*').
  [[gnu::noinline]] Span TimedSpan(const std::function<void()>& command) {
    const int paintsBefore = paints_.count;
    const double cpuBefore = ThreadCpuMs();
    QElapsedTimer clock;
    clock.start();
    command();
    // The list is painted once, with whatever else the command left to paint, as the event loop
    // would: the update asked for here joins the one the command asked for, if any.
    view_->viewport()->update();
    Settle();
    const Span span{static_cast<double>(clock.nsecsElapsed()) / 1e6, ThreadCpuMs() - cpuBefore,
                    paints_.count - paintsBefore};
    Require(paints_.count > paintsBefore, "the list was not repainted");
    return span;
  }

  void Trigger(const char* action) {
    QAction* a = window_->findChild<QAction*>(QString::fromLatin1(action));
    Require(a != nullptr, std::string("no action ") + action);
    a->trigger();
  }
  static void Press(QWidget* parent, const char* name) {
    auto* button = parent->findChild<QPushButton*>(QString::fromLatin1(name));
    Require(button != nullptr && button->isEnabled(), std::string("no enabled button ") + name);
    QTest::mouseClick(button, Qt::LeftButton);
  }
  void ClickHeader(int column) {
    QHeaderView* header = view_->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  void ClickRow(int row) {
    view_->scrollTo(view_->model()->index(row, 2));
    const QPoint at = view_->visualRect(view_->model()->index(row, 2)).center();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, at);
  }
  // Changes the state as a core command would, then lets the window show it (not timed).
  void Uncheck() {
    UncheckAll(State());
    window_->Refresh();
  }
  int Checked() { return State().List.CheckedCount(); }
  int DeletedRows() {
    return static_cast<int>(std::count_if(State().List.begin(), State().List.end(),
                                          [](const Row& row) { return row.deleted; }));
  }
  void Undo(const std::string& step) {
    Require(State().History.UndoName() == step, "the last step is not " + step);
    Trigger("mnuUndo");
    Settle();
  }

  void Sorts() {
    for (int c = 0; c < col::kCount; ++c) {
      std::string header(TrimBlanks(ListColumns()[static_cast<std::size_t>(c)].header));
      if (header.empty()) header = "last column";
      const int other = c == col::kNumber ? col::kMusic : col::kNumber;
      const auto sortedBy = [this](int key, bool descending) {
        return [this, key, descending] {
          Require(State().List.SortOn() && State().List.SortKey() == key &&
                      State().List.SortDescending() == descending,
                  "the list is not sorted as clicked");
        };
      };
      Time(
          "sort " + header + " ascending",
          [this, other] {
            State().List.SetSort(other, false);
            window_->Refresh();
          },
          [this, c] { ClickHeader(c); }, sortedBy(c, false));
      Time(
          "sort " + header + " descending",
          [this, c] {
            State().List.SetSort(c, false);
            window_->Refresh();
          },
          [this, c] { ClickHeader(c); }, sortedBy(c, true));
    }
    State().List.SetSort(col::kNumber, false);
    window_->Refresh();
  }

  // Find and Check All in the search window, with a Music text that matches about half the rows.
  void FindAndCheckAll() {
    if (!Selected("Find and Check All")) return;
    std::string best;
    int bestCount = 0;
    for (const char* text : {"r", "e", "an", "er", "ar", "in", "o", "t", "ow", "ra"}) {
      SearchState probe;
      probe.SearchColumn = col::kMusic;
      probe.SearchText = text;
      const auto count =
          static_cast<int>(std::count_if(State().List.begin(), State().List.end(),
                                         [&](const Row& row) { return RowMatches(row, probe); }));
      if (best.empty() || std::abs(count - kRecords / 2) < std::abs(bestCount - kRecords / 2)) {
        best = text;
        bestCount = count;
      }
    }
    Trigger("mnuSearch");
    Settle();
    auto* search = window_->findChild<SearchWindow*>();
    Require(search != nullptr && search->isVisible(), "the search window did not open");
    search->findChild<QRadioButton*>(QStringLiteral("Option1_1"))->click();
    search->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QString::fromStdString(best));
    std::fprintf(stderr, "Find and Check All: Music containing \"%s\", %d rows\n", best.c_str(),
                 bestCount);
    Time(
        "Find and Check All (" + std::to_string(bestCount) + ")", [this] { Uncheck(); },
        [search] { Press(search, "cmdCheck"); },
        [this, bestCount] { Require(Checked() == bestCount, "Find and Check All checked"); });
    search->close();
    Uncheck();
  }

  void CheckAllRows() {
    Time(
        "Check All", [this] { Uncheck(); }, [this] { Press(window_, "cmdCheck"); },
        [this] { Require(Checked() == kRecords, "Check All left rows unchecked"); });
    Uncheck();
  }

  void DeleteChecked() {
    Time(
        "Del Chk'd of 10,000 rows",
        [this] {
          UncheckAll(State());
          const std::size_t rows = State().List.Size();
          for (int k = 0; k < kCheckedToDelete; ++k) {
            State().List[static_cast<std::size_t>(k) * rows / kCheckedToDelete].checked = true;
          }
          UpdateCheckedCount(State());
          window_->Refresh();
          Require(Checked() == kCheckedToDelete, "the rows to delete are not checked");
        },
        [this] { Press(window_, "cmdDeleteChecked"); },
        [this] {
          Require(DeletedRows() == kCheckedToDelete, "Del Chk'd deleted another count");
          Undo("Delete Checked");
          Require(DeletedRows() == 0, "Undo left deleted rows");
        });
  }

  // The genre of every row replaced in the replace window. Every row first gets the same genre
  // (not timed), so that the replacement touches them all.
  void ReplaceGenre() {
    if (!Selected("Replace genre")) return;
    std::vector<std::string> genres;
    for (const Row& row : State().List) {
      if (std::find(genres.begin(), genres.end(), row.Cell(col::kGenre)) == genres.end()) {
        genres.emplace_back(row.Cell(col::kGenre));
      }
    }
    for (const std::string& genre : genres) {
      if (genre == "Pop") continue;
      StyleReplaceValues values{
          .mode = ReplaceMode::kGenre, .currentGenre = genre, .newGenre = std::string("Pop")};
      (void)RunUndoable(State(), "Replace",
                        [&] { return ReplaceInAllRecords(State(), dialogs_, values); });
    }
    window_->Refresh();
    Settle();
    ClickRow(0);
    Require(State().SelectedRecord != 0, "no row selected");
    Press(window_, "cmdReplaceStyle");
    Settle();
    auto* replace = window_->findChild<StyleReplaceWindow*>();
    Require(replace != nullptr && replace->isVisible(), "the replace window did not open");
    replace->findChild<QRadioButton*>(QStringLiteral("optGenre"))->click();
    auto* genre = replace->findChild<QComboBox*>(QStringLiteral("cboGenre"));
    genre->setCurrentIndex(genre->findText(QStringLiteral("Rock")));
    Require(replace->Values().currentGenre == "Pop" && replace->Values().newGenre == "Rock",
            "the replace window does not replace Pop by Rock");
    const auto allGenres = [this](const char* genre) {
      return std::all_of(State().List.begin(), State().List.end(),
                         [genre](const Row& row) { return row.Cell(col::kGenre) == genre; });
    };
    Time(
        "Replace genre in every row", [] {}, [replace] { Press(replace, "cmdAllEntries"); },
        [this, allGenres] {
          Require(allGenres("Rock"), "the replacement missed rows");
          Undo("Replace Pop by Rock");
          Require(allGenres("Pop"), "Undo left rows replaced");
        });
    replace->close();
  }

  // File > New (not timed), then the import of the exported text into the empty file.
  void Import(const std::string& text) {
    const std::string blank =
        std::string(CADENZO_DATA_DIR) +
        "Blank 3 - PSR-S6x0 to S975, SX600 700 900, CVP-5x9 6x9, GENOS, TYROS 4 5.mfd";
    Time(
        "Import 32,767 lines",
        [this, blank, text] {
          if (!State().FileSaved) dialogs_.QueueAnswer(Answer::kNo);
          dialogs_.QueueFile(blank);
          Trigger("mnuNew");
          Require(State().List.Empty(), "File > New left rows");
          dialogs_.QueueFile(text);
        },
        [this] { Trigger("mnuTextDelimitedInput"); },
        [this] {
          Require(State().List.Size() == kRecords,
                  "the import gave " + std::to_string(State().List.Size()) + " rows");
        });
  }

  int runs_;
  std::string only_;
  testing::TempDir tmp_;
  testing::ScriptedDialogs dialogs_;
  PaintCounter paints_;  // before the program, so that it outlives the list it watches
  Application app_;
  MainWindow* window_ = nullptr;
  QTableView* view_ = nullptr;
  std::vector<Timing> timings_;
};

}  // namespace
}  // namespace cadenzo

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::string file;
  std::string only;
  int runs = 7;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::stoi(argv[++i]));
    } else if (arg == "--only" && i + 1 < argc) {
      only = argv[++i];
    } else {
      file = arg;
    }
  }
  const cadenzo::testing::TempDir home;
  // The window's settings go to a folder of this run.
  qputenv("XDG_CONFIG_HOME", (home.Path() / "config").string().c_str());
  qputenv("XDG_DATA_HOME", (home.Path() / "data").string().c_str());
  QApplication qtApp(argc, argv);
  try {
    if (file.empty()) {
      file = (home.Path() / "bench32767.mfd").string();
      const int made = QProcess::execute(
          QStringLiteral(CADENZO_MAKE_MFD_DATA),
          {QStringLiteral("example"), QStringLiteral(CADENZO_DATA_DIR "PSR-S970.dat"),
           QString::fromStdString(file), QString::number(cadenzo::kRecords)});
      cadenzo::Require(made == 0, "make_mfd_data failed");
    }
    std::printf("load before: %s\n", cadenzo::LoadAverage().c_str());
    cadenzo::Bench bench(file, runs, only);
    bench.Run();
    bench.Print();
    std::printf("load after: %s\n", cadenzo::LoadAverage().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
