// Benchmarks of the core paths on files of 2,500 and 32,767 records, each beside a memcpy of
// the same bytes as the floor.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/app_state.h"
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

// A fixture with a PSR-S970 list of 400 styles and a file of n records using them.
struct BenchData {
  explicit BenchData(int n) {
    std::vector<std::pair<std::string, std::string>> styles;
    for (int i = 1; i <= 400; ++i)
      styles.emplace_back("Style " + std::to_string(i), std::to_string(i));
    fx.WriteStyleList("PSR-S970", styles);
    fx.WriteStyleList("PSR-2000", {styles.begin(), styles.begin() + 200});
    FileBuilder file;
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
    path = fx.PutFile("bench.mfd", bytes);
  }
  AppFixture fx;
  std::vector<std::uint8_t> bytes;
  std::string path;
};

BenchData& Data(int n) {
  static BenchData small(2500);
  static BenchData large(32767);
  return n == 2500 ? small : large;
}

void BM_MemcpyFloor(benchmark::State& state) {
  auto& d = Data(static_cast<int>(state.range(0)));
  std::vector<std::uint8_t> copy(d.bytes.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), d.bytes.data(), d.bytes.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes.size()));
}

// Reading alone: the records into rows, without the preview pass.
void BM_ReadRecords(benchmark::State& state) {
  auto& d = Data(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    d.fx.state.FileBytes = d.bytes;
    d.fx.state.TargetInstrument = "PSR-S970";
    d.fx.state.FileLoaded = false;
    d.fx.state.UserFolder = "/nonexistent/";  // the log is not the subject here
    ReadMusicFinderFile(d.fx.state, d.fx.dialogs);
    benchmark::DoNotOptimize(d.fx.state.List.Size());
  }
  d.fx.state.UserFolder = d.fx.dir.Str() + "user/";
  d.fx.dialogs.messages.clear();
}

// Open as the window does: load the file, read it, run the preview pass and build the image.
void BM_OpenReadPreview(benchmark::State& state) {
  auto& d = Data(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    d.fx.state.TargetInstrument = "PSR-S970";
    OpenMusicFinderFile(d.fx.state, d.fx.dialogs);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
}

void BM_PreviewPass(benchmark::State& state) {
  auto& d = Data(static_cast<int>(state.range(0)));
  d.fx.state.TargetInstrument = "PSR-S970";
  OpenMusicFinderFile(d.fx.state, d.fx.dialogs);
  for (auto _ : state) {
    SaveMusicFinderx(d.fx.state, d.fx.dialogs, "PSR-2000", false, PassMode::kPreview);
    benchmark::DoNotOptimize(d.fx.state.SaveBytes.size());
  }
}

void BM_SortByMusic(benchmark::State& state) {
  auto& d = Data(static_cast<int>(state.range(0)));
  OpenMusicFinderFile(d.fx.state, d.fx.dialogs);
  bool descending = false;
  for (auto _ : state) {
    d.fx.state.List.SetSort(col::kMusic, descending);
    descending = !descending;
    benchmark::DoNotOptimize(d.fx.state.List[0].Cell(col::kMusic).size());
  }
}

void BM_DelimitedExport(benchmark::State& state) {
  auto& d = Data(static_cast<int>(state.range(0)));
  OpenMusicFinderFile(d.fx.state, d.fx.dialogs);
  for (auto _ : state) {
    const std::string text = DelimitedExportText(d.fx.state.List);
    benchmark::DoNotOptimize(text.size());
  }
}

BENCHMARK(BM_MemcpyFloor)->Arg(2500)->Arg(32767)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadRecords)->Arg(2500)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenReadPreview)->Arg(2500)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPass)->Arg(2500)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByMusic)->Arg(2500)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DelimitedExport)->Arg(2500)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cadenzo
