#pragma once
// addressbook-cli import-csv FILE FOLDER: the window program's CSV import,
// with FOLDER itself as the card folder.

#include <string>

#include "csvimport/CsvImport.h"

namespace ab {

// Exit codes of the command besides 0 (every data row imported).
inline constexpr int kImportCsvFailed = 1;      // the file or the folder could not be used
inline constexpr int kImportCsvFolderFull = 3;  // the folder filled up: some or all rows not imported

// Loads FOLDER (made when missing) as the card folder, imports the CSV file
// into it and prints the path of every card written, one per line, then the
// counts (CsvImportSummary) on stdout. Problems go to stderr.
int RunImportCsv(const std::string& csvPath, const std::string& folder);

// "imported 3 contacts, 0 left out because the address book was full".
std::string CsvImportSummary(const CsvImportCounts& counts);
// "1 contact", "3 contacts".
std::string ContactCount(int count);

}  // namespace ab
