#pragma once
// The CSV import run: one new card in the card folder, and one new row of the
// contact table, for every data row of a CSV contact export.

#include <functional>
#include <string>

#include "contacts/CardStore.h"
#include "csvimport/CsvReader.h"

namespace ab {

// Where the import meets the program around it; every hook may be left empty.
struct CsvImportHooks {
  // Shows "can not open CSV file" / "IMPORT ERROR" when the file cannot be
  // opened. Empty: nothing is shown.
  CsvMessageFn showMessage;
  // Called once per card, after the card's table row is filled and its file
  // written (`saved` is Save's result, which the run otherwise ignores). The
  // window program inserts the list row here and sorts table and list.
  // Empty: the table is sorted by `sortColumn`.
  std::function<void(int row, int saved)> cardAdded;
  int sortColumn = SORT_BY_NAME;
};

// Kept data rows beyond this are never read: however full the table, the run
// stops at row kMaxContacts + 1 at the latest.
inline constexpr int kMaxCsvRowsKept = kMaxContacts + 1;

// Imports the file into the card store (cardFolder, contactTable,
// currentRecord). 0 when the run stopped because the contact table was full,
// otherwise 1 (also when the file could not be opened or has no heading row,
// in which case nothing is imported).
int ImportCsvFile(const std::string& path, const CsvImportHooks& hooks = {});

}  // namespace ab
