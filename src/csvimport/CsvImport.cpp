#include "csvimport/CsvImport.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "contacts/AtomicFile.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvExtraProperties.h"
#include "csvimport/CsvMapping.h"

namespace ab {

int ImportCsvFile(const std::string& path, const CsvImportHooks& hooks, CsvImportCounts* counts) {
  CsvImportCounts done;
  if (counts) *counts = done;
  CsvReader reader(path, hooks.showMessage);
  if (!reader.IsOpen()) return 1;

  CsvColumnMapping mapping;
  // Without a heading row there is nothing to give the values a meaning.
  if (ReadHeadingRow(reader, mapping).empty()) return 1;

  // The whole file is read before the first card is made; rows beyond the
  // table's room are only counted.
  const auto room = static_cast<std::size_t>(std::max(0, kMaxContacts - contactCount));
  std::vector<CsvRow> rows;
  for (CsvRow values; reader.NextRow(values);) {
    if (!ReadRecordRow(values, mapping)) continue;
    if (rows.size() < room)
      rows.push_back(std::move(values));
    else
      ++done.leftOut;
  }

  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  ContactRecord& record = *currentRecord;
  SyncBatch written;
  for (const CsvRow& row : rows) {
    currentRow = contactCount++;
    std::string cardPath;
    MakeCardFileName(cardPath, cardFolder.str());
    contactTable[static_cast<std::size_t>(currentRow)].filePath = cardPath;
    ReadCard(record, cardPath);  // no such file yet: a cleared record with the new path
    FillRecordFromCsv(record, row, mapping);
    record.extraProperties = CsvExtraProperties(row, mapping);
    // A new card never replaces another file; the row takes the name it got.
    const int saved = SaveNew(record, &written);
    // The row shows the name the card reads back with, also for a row without one.
    SupplyDisplayName(record);
    FillRow(record, currentRow);
    ++done.imported;
    if (hooks.cardAdded)
      hooks.cardAdded(currentRow, saved);
    else
      SortTable(hooks.sortColumn);
  }
  done.synced = written.Flush();
  if (counts) *counts = done;
  return done.leftOut > 0 ? 0 : 1;
}

}  // namespace ab
