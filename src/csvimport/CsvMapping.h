#pragma once
// The meaning of a CSV file's columns: the language of its headings, the
// column each heading stands for, and the contact fields that the values of a
// data row go into.

#include <array>
#include <bitset>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/ContactRecord.h"
#include "csvimport/CsvColumns.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvReader.h"

namespace ab {

// A value (or heading) keeps at most this many units; longer ones are cut
// between two characters.
inline constexpr std::size_t kMaxCsvValueUnits = 127;

// What one heading of the file stands for.
struct CsvHeadingMeaning {
  int column = COL_NONE;
  // A numbered group's part ("Phone 2 - Value") whose column the row's type
  // value picks: the index of the group's type column, else -1.
  int typeColumn = -1;
  GroupHeading group;
};

// The working state of one import, set by ReadHeadingRow.
struct CsvColumnMapping {
  std::string_view csvLanguage = kLanguageUnknown;
  CsvRow headingRow;
  std::vector<CsvHeadingMeaning> meanings;  // one per heading
};

// Reads the first record that is not blank: its values are the headings. Sets
// the language (that of the first heading found in a table) and what each
// heading stands for; a heading of no table and no alias stands for nothing,
// and the other headings still count. Returns the heading row, empty when the
// file has no record with a value.
const CsvRow& ReadHeadingRow(CsvReader& reader, CsvColumnMapping& mapping);

// Turns the values of a data row into a record row: false when none of them
// holds more than blanks (no record); else true with every value cut to
// kMaxCsvValueUnits, and the row padded with empty values, or cut, to the
// heading count.
bool ReadRecordRow(CsvRow& values, const CsvColumnMapping& mapping);

// The values of one record row by the column they stand for. When two
// headings stand for one column, the first value that is not empty counts.
class CsvFieldValues {
 public:
  CsvFieldValues(const CsvRow& values, const CsvColumnMapping& mapping);
  // The value of a column; empty when the row has none.
  std::string_view operator[](int column) const;
  // Whether a heading of the row stands for the column, even with an empty value.
  bool Has(int column) const;

 private:
  std::array<std::string_view, kColumnIdCount> values_{};
  std::bitset<kColumnIdCount> present_;
};

// A column that holds one text field of the record as it stands.
struct CsvFieldColumn {
  int column;
  std::string_view (*get)(const ContactRecord&);
  void (*set)(ContactRecord&, std::string_view);
};
// Those columns, in the order the export writes them.
std::span<const CsvFieldColumn> CsvFieldColumns();

// Stores the values into `record`, which the caller has cleared, and sets the
// fixed slot flags. Values go in as they stand in the file; texts longer than
// a field are cut at its capacity.
void FillRecordFromCsv(ContactRecord& record, const CsvRow& values, const CsvColumnMapping& mapping);

// Whether the text holds Chinese, Japanese or Korean script.
bool IsCjkText(std::string_view text);

}  // namespace ab
