#include "tools/ExportCsvCommand.h"

#include <filesystem>
#include <iostream>

#include "contacts/CardStore.h"
#include "csvimport/CsvExport.h"
#include "tools/ImportCsvCommand.h"

namespace ab {

int RunExportCsv(const std::string& folder, const std::string& out) {
  std::error_code ignored;
  // Loading would make a missing folder; an export only reads one.
  if (!std::filesystem::is_directory(folder, ignored) || !LoadCardFolder(folder, [](int) { return kAnswerNo; })) {
    std::cerr << "addressbook-cli: '" << folder << "' is no card folder\n";
    return 1;
  }
  std::string error;
  if (!ExportCsvFile(out, &error)) {
    std::cerr << "addressbook-cli: " << error << "\n";
    return 1;
  }
  std::cout << "exported " << ContactCount(contactCount) << "\n";
  return 0;
}

}  // namespace ab
