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
  // Shows why the file is not read: "can not open CSV file", or that it is
  // too large, with the caption "IMPORT ERROR". Empty: nothing is shown.
  CsvMessageFn showMessage;
  // Called once per card, after the card's table row is filled and its file
  // written (`saved` is Save's result, which the run otherwise ignores). The
  // window program inserts the list row here and sorts table and list.
  // Empty: the table is sorted by `sortColumn`.
  std::function<void(int row, int saved)> cardAdded;
  int sortColumn = SORT_BY_NAME;
};

// What a run did, for the message at its end.
struct CsvImportCounts {
  int imported = 0;  // cards made, each with its table row
  int leftOut = 0;   // data rows not imported because the address book was full
  bool synced = true;  // false when the new cards could not all be flushed to disk
};

// Imports the file into the card store (cardFolder, contactTable,
// currentRecord): every data row with a value becomes a card, as long as the
// table has room. 0 when rows were left out because the contact table was
// full, otherwise 1 (also when the file could not be read or has no heading
// row, in which case nothing is imported). `counts`, when given, gets the
// counts of the run. The new cards are on disk when it returns; they are
// flushed together at the end of the run.
int ImportCsvFile(const std::string& path, const CsvImportHooks& hooks = {}, CsvImportCounts* counts = nullptr);

}  // namespace ab
