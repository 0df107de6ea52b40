// From process start to the first painted main window: the window program
// started on 256 photo cards, and on an empty folder (offscreen), ending
// itself once the list has been painted (AB_QUIT_AFTER_FIRST_PAINT=1). The
// time includes its exit; "paintedMs" is the median time to the painted list,
// without it, and "peakMB" the program's largest resident size.
// AB_BENCH_PROGRAM names another build's program to time side by side.
// The cards are older than the rows cache's settle time. The first start after
// a change reads the files (FirstRead: the cache is removed before each start);
// later ones take the rows of unchanged files from the cache.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchFixtures.h"
#include "contacts/RowCache.h"

namespace {

namespace fs = std::filesystem;

void StartToFirstPaint(benchmark::State& state, int cards, bool cached = true) {
  const std::string folder = ab::bench::MakeTempFolder();
  const std::string program = folder + "/addressbook";
  const char* other = std::getenv("AB_BENCH_PROGRAM");
  fs::copy_file(other != nullptr ? other : AB_PROGRAM, program);
  fs::copy_file(AB_BUNDLE, folder + "/OSTREL_RC.dll");
  fs::create_directory(folder + "/VCardData");
  ab::bench::WriteCards(folder + "/VCardData", cards, true);
  const std::string sockets = ab::bench::MakeTempFolder();
  const std::string cache = sockets + "/cache";
  const std::vector<std::string> extra{"QT_QPA_PLATFORM=offscreen", "AB_QUIT_AFTER_FIRST_PAINT=1",
                                       "TMPDIR=" + sockets, "XDG_CACHE_HOME=" + cache};
  std::this_thread::sleep_for(ab::RowCache::kSettleTime + std::chrono::milliseconds(100));
  // The first start warms the file cache.
  if (ab::bench::RunProgram(program, {}, extra) != 0) state.SkipWithError("the program did not start");
  long peakKB = 0;
  std::vector<double> painted;
  for (auto _ : state) {
    if (!cached) fs::remove_all(cache);
    const auto start = std::chrono::steady_clock::now();
    auto paint = start;
    if (ab::bench::RunProgram(program, {}, extra, &peakKB, &paint) != 0) state.SkipWithError("the program failed");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    painted.push_back(std::chrono::duration<double, std::milli>(paint - start).count());
  }
  std::sort(painted.begin(), painted.end());
  state.counters["peakMB"] = static_cast<double>(peakKB) / 1024;
  state.counters["paintedMs"] = painted.empty() ? 0 : painted[painted.size() / 2];
  ab::bench::RemoveFolder(folder);
  ab::bench::RemoveFolder(sockets);
}

void BM_StartToFirstPaint_256PhotoCards(benchmark::State& state) { StartToFirstPaint(state, 256); }
void BM_StartToFirstPaint_256PhotoCardsFirstRead(benchmark::State& state) { StartToFirstPaint(state, 256, false); }
void BM_StartToFirstPaint_EmptyFolder(benchmark::State& state) { StartToFirstPaint(state, 0); }

}  // namespace

BENCHMARK(BM_StartToFirstPaint_256PhotoCards)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_StartToFirstPaint_256PhotoCardsFirstRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_StartToFirstPaint_EmptyFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

BENCHMARK_MAIN();
