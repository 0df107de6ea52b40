#include "tools/ImportCsvCommand.h"

#include <filesystem>
#include <iostream>
#include <string_view>

#include "contacts/CardStore.h"
#include "csvimport/CsvImport.h"

namespace ab {

namespace {

void Complain(const std::string& message) { std::cerr << "addressbook-cli: " << message << "\n"; }

}  // namespace

int RunImportCsv(const std::string& csvPath, const std::string& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);  // LoadCardFolder reports what still fails
  // The companion never deletes a file that stands where the folder should be.
  if (!LoadCardFolder(folder, [](int) { return kAnswerNo; })) {
    Complain("cannot use '" + folder + "' as a card folder (a file of that name is in the way, or the path is too long)");
    return kImportCsvFailed;
  }
  bool openFailed = false;
  int unwritten = 0;
  CsvImportHooks hooks;
  hooks.showMessage = [&](std::string_view text, std::string_view caption) {
    Complain(std::string(caption) + ": " + std::string(text) + " '" + csvPath + "'");
    openFailed = true;
  };
  hooks.cardAdded = [&](int row, int saved) {
    const std::string path = contactTable[static_cast<std::size_t>(row)].filePath.str();
    if (saved) {
      std::cout << path << "\n";
    } else {
      Complain("could not write the card '" + path + "'");
      ++unwritten;
    }
    SortTable(SORT_BY_NAME);
  };

  CsvImportCounts counts;
  const int result = ImportCsvFile(csvPath, hooks, &counts);
  if (openFailed) return kImportCsvFailed;
  if (!counts.synced) {
    Complain("the new cards could not all be flushed to disk");
    ++unwritten;
  }
  std::cout << CsvImportSummary(counts) << "\n";
  std::cout.flush();
  if (result == 0) return kImportCsvFolderFull;
  return unwritten ? kImportCsvFailed : 0;
}

std::string ContactCount(int count) { return std::to_string(count) + (count == 1 ? " contact" : " contacts"); }

std::string CsvImportSummary(const CsvImportCounts& counts) {
  return "imported " + ContactCount(counts.imported) + ", " + std::to_string(counts.leftOut) +
         " left out because the address book was full";
}

}  // namespace ab
