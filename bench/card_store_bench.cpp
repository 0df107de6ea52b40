// Start-up loading of the card folder, and reading and writing one card.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// The floor for loading photo cards: the same 256 files read whole and the
// BASE64 data of their lines (those made of the alphabet only) decoded into
// memory, with nothing parsed.
std::size_t DecodeBase64Lines(const std::string& text, std::vector<std::uint8_t>& out) {
  static const auto kValue = [] {
    std::array<std::int8_t, 256> value{};
    value.fill(-1);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return value;
  }();
  out.resize(text.size());
  std::size_t n = 0;
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    const int v = kValue[static_cast<unsigned char>(c)];
    if (v < 0) continue;
    bits = bits << 6 | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      out[n++] = static_cast<std::uint8_t>(bits >> 16);
      out[n++] = static_cast<std::uint8_t>(bits >> 8);
      out[n++] = static_cast<std::uint8_t>(bits);
      count = 0;
    }
  }
  out.resize(n);
  return n;
}

void BM_Floor_ReadAndDecode256PhotoCards(benchmark::State& state) {
  const std::string folder = bench::MakeTempFolder();
  bench::WriteCards(folder, 256, true);
  std::vector<std::string> paths;
  for (int i = 0; i < 256; ++i) paths.push_back(folder + "/VC" + std::to_string(i) + ".vcf");
  std::size_t decoded = 0;
  for (auto _ : state) {
    decoded = 0;
    for (const std::string& path : paths) {
      std::ifstream in(path, std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::vector<std::uint8_t> bytes;
      decoded += DecodeBase64Lines(text, bytes);
      benchmark::DoNotOptimize(bytes.data());
    }
  }
  state.counters["decodedKB"] = static_cast<double>(decoded) / 1024;
  bench::RemoveFolder(folder);
}

// Sorting a full table of 256 rows by name, from the same shuffled order each round.
void BM_SortTable_256Rows(benchmark::State& state) {
  ContactRecord record;
  std::vector<ContactRow> shuffled(256);
  for (int i = 0; i < 256; ++i) {
    bench::FillSampleRecord(record, (i * 7919) % 1000, false);
    FillRowOf(record, shuffled[static_cast<std::size_t>(i)]);
  }
  contactCount = 256;
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(shuffled.begin(), shuffled.end(), contactTable.begin());
    state.ResumeTiming();
    SortTable(SORT_BY_NAME);
    benchmark::DoNotOptimize(contactTable[0]);
  }
}

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
BENCHMARK(BM_Floor_ReadAndDecode256PhotoCards)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadCardStore_256SmallCards)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SortTable_256Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadCard_PhotoCard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAs_PhotoCard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAs_CardWithKeptProperties)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
