#include "csvimport/CsvImport.h"

#include <memory>
#include <vector>

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvMapping.h"

namespace ab {

int ImportCsvFile(const std::string& path, const CsvImportHooks& hooks) {
  CsvReader reader(path, hooks.showMessage);
  if (!reader.IsOpen()) return 1;

  CsvColumnMapping mapping;
  // Without a heading row there is nothing to give the values a meaning.
  if (ReadHeadingRow(reader, mapping).empty()) return 1;

  // The whole file is read before the first card is made.
  std::vector<CsvRow> rows;
  CsvRow values;
  for (std::string* row = &reader.NextRow(); !row->empty() && rows.size() < kMaxCsvRowsKept;
       row = &reader.NextRow()) {
    if (ReadRecordRow(*row, mapping, values)) rows.push_back(std::move(values));
  }

  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  ContactRecord& record = *currentRecord;
  for (const CsvRow& row : rows) {
    if (contactCount + 1 > kMaxContacts) return 0;
    currentRow = contactCount++;
    std::string cardPath;
    MakeCardFileName(cardPath, cardFolder.str());
    contactTable[static_cast<std::size_t>(currentRow)].filePath = cardPath;
    ReadCard(record, cardPath);  // no such file yet: a cleared record with the new path
    FillRecordFromCsv(record, row, mapping);
    // A new card never replaces another file; the row takes the name it got.
    const int saved = SaveNew(record);
    FillRow(record, currentRow);
    if (hooks.cardAdded)
      hooks.cardAdded(currentRow, saved);
    else
      SortTable(hooks.sortColumn);
  }
  return 1;
}

}  // namespace ab
