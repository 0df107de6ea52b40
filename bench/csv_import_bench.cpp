// The CSV import: a 255-row English export into an empty card folder (255
// cards written, the table sorted 255 times), and the reading and mapping
// alone.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BenchFixtures.h"
#include "contacts/CardStore.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvImport.h"
#include "csvimport/CsvMapping.h"

namespace {

using namespace ab;

constexpr int kRows = 255;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A full export: every English heading, and rows with names, three e-mail
// addresses, telephones, both addresses and a web page; other columns empty.
std::string EnglishExport(int rows) {
  const auto headings = HeadingTable(kLanguageEnglish);
  std::string csv;
  for (std::size_t i = 0; i < headings.size(); ++i) csv += (i ? "," : "") + Quoted(std::string(headings[i]));
  csv += "\r\n";
  for (int r = 0; r < rows; ++r) {
    const std::string n = std::to_string((r * 7919) % 1000);  // names in no particular order
    for (std::size_t i = 0; i < headings.size(); ++i) {
      const std::string_view h = headings[i];
      std::string value;
      if (h == "First Name") value = "Given" + n;
      if (h == "Last Name") value = "Family" + n;
      if (h == "Job Title") value = "Engineer";
      if (h == "Business Street") value = n + " Market Street";
      if (h == "Business City" || h == "Home City") value = "Springfield";
      if (h == "Business Phone" || h == "Home Phone" || h == "Mobile Phone") value = "+1 555 0" + n;
      if (h == "E-mail Address") value = "person" + n + "@example.com";
      if (h == "E-mail 2 Address") value = "other" + n + "@example.org";
      if (h == "Web Page") value = "http://example.com/~" + n;
      csv += (i ? "," : "") + Quoted(value);
    }
    csv += "\r\n";
  }
  return csv;
}

std::string WriteExport(const std::string& folder) {
  const std::string path = folder + "/contacts.csv";
  std::ofstream(path, std::ios::binary) << EnglishExport(kRows);
  return path;
}

void BM_ImportCsv_255Rows(benchmark::State& state) {
  const std::string work = bench::MakeTempFolder();
  const std::string csv = WriteExport(work);
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
  const std::string csv = WriteExport(work);
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
