// Feeds arbitrary bytes as a CSV contact export to the whole import: the
// reader, the column mapping and the import run into a card folder of its own
// (in memory where /dev/shm exists). Besides the sanitizers' own checks, every
// imported contact has its table row, and each row's card reads back with the
// row's display name (as far as the row has room for it).

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "contacts/CardStore.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"
#include "csvimport/CsvImport.h"

namespace fs = std::filesystem;

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}
#define CHECK(condition) Check((condition), #condition)

const fs::path& WorkFolder() {
  static const fs::path folder = [] {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path made = base / ("fuzz-csv-" + std::to_string(::getpid()));
    fs::create_directories(made / "cards");
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path& work = WorkFolder();
  const fs::path cards = work / "cards";
  for (const auto& entry : fs::directory_iterator(cards)) fs::remove(entry.path());
  const std::string csv = (work / "input.csv").string();
  std::ofstream(csv, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  ab::contactCount = 0;
  ab::cardFolder = cards.string() + "/";
  ab::CsvImportCounts counts;
  ab::ImportCsvFile(csv, {}, &counts);
  CHECK(counts.imported == ab::contactCount && counts.imported >= 0 && counts.leftOut >= 0);
  CHECK(counts.imported + counts.leftOut <= static_cast<int>(size) + 1);
  ab::ContactRecord record;
  for (int row = 0; row < ab::contactCount; ++row) {
    const ab::ContactRow& cells = ab::contactTable[static_cast<std::size_t>(row)];
    CHECK(ab::ReadCard(record, cells.filePath.str()) == 1);
    // The cell holds the name as far as it has room: a card's name may have one unit more.
    const decltype(cells.displayName) shown(ab::DecodeStoredText(record.formattedName.view()));
    CHECK(shown.view() == cells.displayName.view());
  }
  return 0;
}
