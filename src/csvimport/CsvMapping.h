#pragma once
// The meaning of a CSV file's columns: the language of its headings, the
// table position of each column's heading, and the contact fields that the
// values of a data row go into.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/ContactRecord.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvReader.h"

namespace ab {

// A file has at most this many columns; further values of a row are ignored.
inline constexpr int kMaxCsvColumns = 90;
// A value (or heading) holds at most this many bytes; longer ones are cut at
// a character boundary.
inline constexpr std::size_t kMaxCsvValueBytes = 127;

// The values of one line, in column order.
using CsvRow = std::vector<std::string>;

// The working state of one import, set by ReadHeadingRow.
struct CsvColumnMapping {
  std::string_view csvLanguage = kLanguageUnknown;
  std::span<const std::string_view> headingTable;  // none for "UNKNOWN"
  CsvRow headingRow;
  // Per column 0 .. table size - 1: the position of its heading in
  // headingTable, or -1. Later columns never map.
  std::array<int, kMaxCsvColumns> columnMap{};
};

// Reads the first row: its values are the headings. Sets the language, the
// heading table and the column map (matching stops at the first heading that
// is not in the table) and returns the heading row, empty when the first row
// has no value.
const CsvRow& ReadHeadingRow(CsvReader& reader, CsvColumnMapping& mapping);

// Takes the values off `row`. False when it holds none (no record); else the
// values, padded with empty values up to the heading column count.
bool ReadRecordRow(std::string& row, const CsvColumnMapping& mapping, CsvRow& values);

// Stores the values whose headings have a field into `record`, which the
// caller has cleared, and sets the fixed slot flags. Values go in as they
// stand in the file; texts longer than a field are cut at its capacity.
void FillRecordFromCsv(ContactRecord& record, const CsvRow& values, const CsvColumnMapping& mapping);

}  // namespace ab
