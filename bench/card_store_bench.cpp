// Start-up loading of the card folder, and reading and writing one card.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchFixtures.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

namespace {

using namespace ab;

int AnswerNo(int) { return kAnswerNo; }

// A program folder whose VCardData holds 256 cards.
void LoadCardStoreBench(benchmark::State& state, bool withMedia) {
  const std::string program = bench::MakeTempFolder();
  std::filesystem::create_directory(program + "/VCardData");
  bench::WriteCards(program + "/VCardData", 256, withMedia);
  for (auto _ : state) {
    if (!LoadCardStore(program, AnswerNo) || contactCount != 256) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(contactTable[0]);
  }
  state.counters["cards"] = contactCount;
  bench::RemoveFolder(program);
}

void BM_LoadCardStore_256PhotoCards(benchmark::State& state) { LoadCardStoreBench(state, true); }
void BM_LoadCardStore_256SmallCards(benchmark::State& state) { LoadCardStoreBench(state, false); }

void BM_ReadCard_PhotoCard(benchmark::State& state) {
  const std::string folder = bench::MakeTempFolder();
  bench::WriteCards(folder, 1, true);
  const std::string path = folder + "/VC0.vcf";
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  ContactRecord record;
  for (auto _ : state)
    if (!ReadCard(record, path)) state.SkipWithError("read failed");
  bench::RemoveFolder(folder);
}

void BM_SaveAs_PhotoCard(benchmark::State& state) {
  const std::string folder = bench::MakeTempFolder();
  ContactRecord record;
  bench::FillSampleRecord(record, 1, true);
  const std::string path = folder + "/VC1.vcf";
  for (auto _ : state)
    if (!SaveAs(record, path)) state.SkipWithError("save failed");
  bench::RemoveFolder(folder);
}

// A card from another program: version 3.0, a dozen properties without a
// field (kept as card text and checked again on every save), a photo.
void BM_SaveAs_CardWithKeptProperties(benchmark::State& state) {
  std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\nTEL;TYPE=CELL:1\r\nTEL;TYPE=CELL:2\r\n";
  for (int i = 0; i < 12; ++i) text += "X-KEPT-" + std::to_string(i) + ";TYPE=home,pref:value\\, number " + std::to_string(i) + "\r\n";
  ContactRecord record;
  bench::FillSampleRecord(record, 1, true);
  const std::string sample = RenderCardFile(record);  // the sample's photo as a card holds it
  const auto photo = sample.find("PHOTO");
  text += sample.substr(photo, sample.find("END:VCARD") - photo) + "END:VCARD\r\n";
  const std::string folder = bench::MakeTempFolder();
  if (!ReadCardFromText(record, text) || record.extraProperties.size() != 13) state.SkipWithError("read failed");
  for (auto _ : state)
    if (!SaveAs(record, folder + "/VC2.vcf")) state.SkipWithError("save failed");
  bench::RemoveFolder(folder);
}

BENCHMARK(BM_LoadCardStore_256PhotoCards)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadCardStore_256SmallCards)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ReadCard_PhotoCard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAs_PhotoCard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAs_CardWithKeptProperties)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
