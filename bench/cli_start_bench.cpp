// The command-line companion from spawn to exit, beside a hello-world C++
// program measured in the same run: list on an empty card folder and on 256
// small cards, and a 255-row CSV import into an empty folder (every card
// durable when it returns). AB_BENCH_CLI names another build's companion to
// time side by side.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFixtures.h"
#include "CsvExportFixture.h"

namespace {

namespace fs = std::filesystem;

std::string Companion() {
  const char* other = std::getenv("AB_BENCH_CLI");
  return other != nullptr ? other : AB_CLI;
}

// Times `program args` per iteration; `prepare` runs untimed before each.
template <typename Prepare>
void TimeRuns(benchmark::State& state, const std::string& program, Prepare prepare) {
  for (auto _ : state) {
    const std::vector<std::string> args = prepare();
    const auto start = std::chrono::steady_clock::now();
    const int code = ab::bench::RunProgram(program, args);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (code != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
}

void BM_HelloWorld(benchmark::State& state) {
  TimeRuns(state, AB_HELLO_WORLD, [] { return std::vector<std::string>{}; });
}

void ListCards(benchmark::State& state, int cards) {
  const std::string folder = ab::bench::MakeTempFolder();
  ab::bench::WriteCards(folder, cards, false);
  TimeRuns(state, Companion(), [&] { return std::vector<std::string>{"list", folder}; });
  ab::bench::RemoveFolder(folder);
}

void BM_CliList_EmptyFolder(benchmark::State& state) { ListCards(state, 0); }
void BM_CliList_256SmallCards(benchmark::State& state) { ListCards(state, 256); }

void BM_CliImportCsv_255Rows(benchmark::State& state) {
  const std::string work = ab::bench::MakeTempFolder();
  const std::string csv = ab::bench::WriteExport(work, 255);
  const std::string folder = work + "/cards";
  TimeRuns(state, Companion(), [&] {
    // The import makes its cards durable with one sync of the file system; the
    // last round's cards are gone and on disk first, so it waits for its own only.
    ab::bench::RemoveFolder(folder);
    fs::create_directory(folder);
    ::sync();
    return std::vector<std::string>{"import-csv", csv, folder};
  });
  ab::bench::RemoveFolder(work);
}

}  // namespace

BENCHMARK(BM_HelloWorld)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_CliList_EmptyFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_CliList_256SmallCards)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_CliImportCsv_255Rows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

BENCHMARK_MAIN();
