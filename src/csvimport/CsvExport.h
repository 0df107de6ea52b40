#pragma once
// Writing every contact of the contact table to one CSV file that spreadsheets
// open with one contact per row and that the CSV import reads back into the
// same fields.

#include <string>
#include <string_view>

#include "contacts/ContactRecord.h"

namespace ab {

// One record as a line of the file: every value quoted (RFC 4180), texts
// decoded from the stored form, CR LF at the end. The values stand under the
// headings of CsvExportHeadingLine.
std::string CsvExportLine(const ContactRecord& record);
// The heading line: the English headings of the columns the record's fields
// go to, CR LF at the end.
std::string CsvExportHeadingLine();

// Writes every contact of the table, in table order, each card read afresh
// from its file (a card that cannot be read gives the row's display name,
// e-mail address and telephones): UTF-8 behind a byte-order mark, the heading
// line, one line per contact. The file is replaced atomically. False on
// failure, with the reason in `error`; an existing file is then untouched.
bool ExportCsvFile(const std::string& path, std::string* error = nullptr);

}  // namespace ab
