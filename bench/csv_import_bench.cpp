// The CSV import: a 255-row English export into an empty card folder (255
// cards written, the table sorted 255 times), and the reading and mapping
// alone.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "BenchFixtures.h"
#include "CsvExportFixture.h"
#include "contacts/CardStore.h"
#include "csvimport/CsvImport.h"
#include "csvimport/CsvMapping.h"

namespace {

using namespace ab;

constexpr int kRows = 255;

void BM_ImportCsv_255Rows(benchmark::State& state) {
  const std::string work = bench::MakeTempFolder();
  const std::string csv = bench::WriteExport(work, kRows);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string folder = work + "/cards" + std::to_string(round++);
    LoadCardFolder(folder, [](int) { return kAnswerNo; });
    state.ResumeTiming();

    const int result = ImportCsvFile(csv);

    state.PauseTiming();
    const auto written = std::distance(std::filesystem::directory_iterator(folder), {});
    bench::RemoveFolder(folder);
    state.ResumeTiming();
    if (result != 1 || contactCount != kRows || written != kRows) {
      state.SkipWithError("import failed: not every row became a card file");
      break;
    }
  }
  state.counters["cards"] = kRows;
  bench::RemoveFolder(work);
}

void BM_ReadAndMapCsv_255Rows(benchmark::State& state) {
  const std::string work = bench::MakeTempFolder();
  const std::string csv = bench::WriteExport(work, kRows);
  ContactRecord record;
  for (auto _ : state) {
    CsvReader reader(csv, nullptr);
    CsvColumnMapping mapping;
    ReadHeadingRow(reader, mapping);
    int rows = 0;
    for (CsvRow values; reader.NextRow(values);) {
      if (!ReadRecordRow(values, mapping)) continue;
      record.Clear();
      FillRecordFromCsv(record, values, mapping);
      ++rows;
    }
    if (rows != kRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(record.formattedName);
  }
  bench::RemoveFolder(work);
}

BENCHMARK(BM_ImportCsv_255Rows)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadAndMapCsv_255Rows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
