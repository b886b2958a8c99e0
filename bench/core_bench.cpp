// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the core paths on files of 2,500 and 32,767 records. Each benchmark times only
// its own step: building the file and the style lists, putting the state back before the next
// iteration and tearing down the rows of the previous one happen with the timer paused.
// BM_MemcpyFloor copies the file's bytes once: no step that touches every byte can be faster;
// BM_MemcpyExportFloor does the same for the text the export writes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "catalogue/style_list.h"
#include "catalogue/target_choice.h"
#include "mfd/image_writer.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

using testing::AppFixture;
using testing::FileBuilder;
using testing::RecordBuilder;

constexpr const char* kWords[] = {"Morning", "Silver", "Velvet", "Golden", "Midnight", "Paper",
                                  "Crystal", "Amber",  "Quiet",  "Summer", "Electric", "Blue"};
constexpr const char* kModel = "PSR-S970";

// A fixture with a PSR-S970 list of 400 styles, a PSR-2000 list of the first 200, and a
// PSR-S970 file of n records: about one style in nine is a user style no list knows.
struct BenchData {
  explicit BenchData(int n) {
    std::vector<std::pair<std::string, std::string>> styles;
    for (int i = 1; i <= 400; ++i)
      styles.emplace_back("Style " + std::to_string(i), std::to_string(i));
    fx.WriteStyleList(kModel, styles);
    fx.WriteStyleList("PSR-2000", {styles.begin(), styles.begin() + 200});
    FileBuilder file{.model = kModel};
    file.records.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      file.records.push_back(RecordBuilder{.number = i,
                                           .style = 1 + (i * 7) % 450,
                                           .tempo = 60 + i % 150,
                                           .flags = static_cast<std::uint8_t>(i % 8),
                                           .music = std::string(kWords[(i * 5) % 12]) + " " +
                                                    kWords[(i * 11) % 12] + " " + std::to_string(i),
                                           .genre = kWords[i % 12],
                                           .keywords = "party,slow"});
    }
    bytes = file.Build();
    fx.PutFile("bench.mfd", bytes);
    fx.state.FileBytes = bytes;
  }

  // The state as a first open after start-up finds it: no target chosen, no rows.
  void ResetToStart() {
    fx.state.List = RecordList{};
    fx.state.TargetInstrument.clear();
    fx.state.SourceInstrument.clear();
    fx.state.FileLoaded = false;
    fx.state.Editor = EditorLists{};
    fx.state.FileBytes = bytes;
  }

  // The state right after opening the file: rows, source styles, the target's lists.
  void Open() {
    ResetToStart();
    ReadMusicFinderFile(fx.state, fx.dialogs);
  }

  AppFixture fx;
  std::vector<std::uint8_t> bytes;
};

BenchData& Data(const benchmark::State& state) {
  static BenchData small(2500);
  static BenchData large(32767);
  return state.range(0) == 2500 ? small : large;
}

void Finish(benchmark::State& state, const BenchData& d) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
  if (!d.fx.dialogs.messages.empty()) state.SkipWithError("a message was shown");
}

void BM_MemcpyFloor(benchmark::State& state) {
  auto& d = Data(state);
  std::vector<std::uint8_t> copy(d.bytes.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), d.bytes.data(), d.bytes.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes.size()));
}

// The floor of decoding in this design: n empty rows of thirteen strings appended to a list.
void BM_EmptyRowsFloor(benchmark::State& state) {
  auto& d = Data(state);
  RecordList list;
  for (auto _ : state) {
    state.PauseTiming();
    list = RecordList{};
    state.ResumeTiming();
    list.Reserve(static_cast<std::size_t>(state.range(0)));
    for (std::int64_t i = 0; i < state.range(0); ++i) list.Add();
    benchmark::DoNotOptimize(list.Size());
  }
  Finish(state, d);
}

// Decoding alone: every record into a row of an empty list (no style lists read, no pass).
void BM_Read(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  const std::vector<ComboEntry> editorStyles = d.fx.state.Editor.styles;
  for (auto _ : state) {
    state.PauseTiming();
    d.fx.state.List = RecordList{};
    d.fx.state.Editor.styles = editorStyles;
    state.ResumeTiming();
    ReadRecordRows(d.fx.state);
    benchmark::DoNotOptimize(d.fx.state.List.Size());
  }
  Finish(state, d);
}

// The preview pass after opening, for the file's own model: colours, image, log.
void BM_PreviewPass(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  for (auto _ : state) {
    SaveMusicFinderx(d.fx.state, d.fx.dialogs, kModel, false, PassMode::kPreview);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
  Finish(state, d);
}

// The preview pass for another model, which lacks half of the styles.
void BM_PreviewPassOtherTarget(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  for (auto _ : state) {
    SaveMusicFinderx(d.fx.state, d.fx.dialogs, "PSR-2000", false, PassMode::kPreview);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
  Finish(state, d);
}

// The preview pass while the list is sorted by Music: the pass walks the rows in record order
// and leaves them sorted as they were.
void BM_PreviewPassSortedByMusic(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  d.fx.state.SortColumn = col::kMusic;
  d.fx.state.List.SetSort(col::kMusic, false);
  for (auto _ : state) {
    SaveMusicFinderx(d.fx.state, d.fx.dialogs, kModel, false, PassMode::kPreview);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
  Finish(state, d);
}

// The image alone: header and every record with its stored style, as the pass writes them.
void BM_BuildImage(benchmark::State& state) {
  auto& d = Data(state);
  const int count = HeaderCount(d.bytes);
  for (auto _ : state) {
    ImageWriter writer(d.bytes, kModel);
    for (int i = 1; i <= count; ++i) {
      const std::size_t r = mfd::RecordOffset(static_cast<std::size_t>(i));
      writer.EmitRecord(writer.Written(), (d.bytes[r + 2] << 8) | d.bytes[r + 3], r);
    }
    const std::vector<std::uint8_t> image = writer.FinishImage();
    benchmark::DoNotOptimize(image.data());
  }
  Finish(state, d);
}

// The reader as the first open after start-up runs it on the loaded bytes: detection, the style
// lists, every row, the preview pass with its image and log.
void BM_ReadPreviewImage(benchmark::State& state) {
  auto& d = Data(state);
  for (auto _ : state) {
    state.PauseTiming();
    d.ResetToStart();
    state.ResumeTiming();
    ReadMusicFinderFile(d.fx.state, d.fx.dialogs);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
  Finish(state, d);
}

// The open procedure: the same with loading the file from disk.
void BM_Open(benchmark::State& state) {
  auto& d = Data(state);
  for (auto _ : state) {
    state.PauseTiming();
    d.ResetToStart();
    d.fx.state.FileBytes.clear();
    state.ResumeTiming();
    OpenMusicFinderFile(d.fx.state, d.fx.dialogs);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
  Finish(state, d);
}

// What opening another file costs on top: the rows of the previous one go.
void BM_ClearRows(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  for (auto _ : state) {
    state.PauseTiming();
    ReadRecordRows(d.fx.state);
    state.ResumeTiming();
    d.fx.state.List.Clear();
    benchmark::DoNotOptimize(d.fx.state.List.Size());
  }
  Finish(state, d);
}

// A click on the Music header of a list in record order.
void BM_SortByMusic(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  for (auto _ : state) {
    state.PauseTiming();
    d.fx.state.List.SetSort(col::kNumber, false);
    state.ResumeTiming();
    d.fx.state.List.SetSort(col::kMusic, false);
    benchmark::DoNotOptimize(d.fx.state.List[0].Cell(col::kMusic).size());
  }
  Finish(state, d);
}

// One undo step of a replace that touches every row (its genre cell and record byte): the snapshot
// before, the difference after. The counter is the bytes the step keeps in the history.
void BM_UndoStepOverAllRows(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  AppState& s = d.fx.state;
  bool tango = true;
  for (auto _ : state) {
    state.PauseTiming();
    s.History.Clear();
    const std::string genre = tango ? "Tango" : "Milonga";
    tango = !tango;
    state.ResumeTiming();
    const UndoHistory::Snapshot before = UndoHistory::Capture(s);
    for (Row& row : s.List) {
      row.SetCell(col::kGenre, genre);
      s.FileBytes[mfd::RecordOffset(row.record) + mfd::kGenre] =
          static_cast<std::uint8_t>(genre[0]);
    }
    s.History.Record("Replace", before, s);
  }
  state.counters["step_bytes"] = static_cast<double>(s.History.Bytes());
  Finish(state, d);
}

// The floor of a sort by Music: std::stable_sort of the same texts as plain strings, already
// gathered in one vector.
void BM_SortKeysFloor(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  std::vector<std::string> keys;
  for (const Row& row : d.fx.state.List) keys.emplace_back(row.Cell(col::kMusic));
  std::vector<std::string> sorted;
  for (auto _ : state) {
    state.PauseTiming();
    sorted = keys;
    state.ResumeTiming();
    std::stable_sort(sorted.begin(), sorted.end());
    benchmark::DoNotOptimize(sorted.front().size());
  }
  Finish(state, d);
}

void BM_DelimitedExport(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  for (auto _ : state) {
    const std::string text = DelimitedExportText(d.fx.state.List);
    benchmark::DoNotOptimize(text.size());
  }
  Finish(state, d);
}

// The floor of the export: copying a text of the export's size.
void BM_MemcpyExportFloor(benchmark::State& state) {
  auto& d = Data(state);
  d.Open();
  const std::string text = DelimitedExportText(d.fx.state.List);
  std::string copy(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// A block of `size` bytes of chunks without a zero byte anywhere (k = 0x0101): each path may
// only run to the end of its chunk. Reading it must take time in proportion to its size.
std::vector<std::uint8_t> UnterminatedBlock(std::size_t size) {
  std::vector<std::uint8_t> bytes = FileBuilder{}.Build();
  for (const char c : std::string("FPhd\x01\x01\x01\x01")) {
    bytes.push_back(static_cast<std::uint8_t>(c));
  }
  for (std::size_t i = 0; i < size / (6 + 0x0101); ++i) {
    for (const char c : std::string("FPdt\x01\x01\x01\x01\x01")) {
      bytes.push_back(static_cast<std::uint8_t>(c));
    }
    bytes.insert(bytes.end(), 0x0101 - 3, static_cast<std::uint8_t>('a' + i % 26));
  }
  return bytes;
}

void BM_UnterminatedFileReferences(benchmark::State& state) {
  const auto bytes = UnterminatedBlock(static_cast<std::size_t>(state.range(0)));
  std::size_t paths = 0;
  for (auto _ : state) {
    const auto refs = ReadFileReferenceBlock(bytes, 0);
    paths = refs.size();
    benchmark::DoNotOptimize(refs.data());
  }
  state.counters["chunks"] = static_cast<double>(paths);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_UnterminatedFileReferences)
    ->Arg(64 << 10)
    ->Arg(256 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);

#define CADENZO_BENCH(name, unit) BENCHMARK(name)->Arg(2500)->Arg(32767)->Unit(benchmark::unit)

CADENZO_BENCH(BM_MemcpyFloor, kMicrosecond);
CADENZO_BENCH(BM_EmptyRowsFloor, kMillisecond);
CADENZO_BENCH(BM_Read, kMillisecond);
CADENZO_BENCH(BM_PreviewPass, kMillisecond);
CADENZO_BENCH(BM_PreviewPassOtherTarget, kMillisecond);
CADENZO_BENCH(BM_PreviewPassSortedByMusic, kMillisecond);
CADENZO_BENCH(BM_BuildImage, kMillisecond);
CADENZO_BENCH(BM_ReadPreviewImage, kMillisecond);
CADENZO_BENCH(BM_Open, kMillisecond);
CADENZO_BENCH(BM_ClearRows, kMillisecond);
CADENZO_BENCH(BM_SortByMusic, kMillisecond);
CADENZO_BENCH(BM_SortKeysFloor, kMillisecond);
CADENZO_BENCH(BM_UndoStepOverAllRows, kMillisecond);
CADENZO_BENCH(BM_DelimitedExport, kMillisecond);
CADENZO_BENCH(BM_MemcpyExportFloor, kMicrosecond);

}  // namespace
}  // namespace cadenzo
