#include "csvimport/CsvExport.h"

#include <vector>

#include "contacts/AtomicFile.h"
#include "contacts/CardStore.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"
#include "csvimport/CsvMapping.h"
#include "csvimport/ProgramStrings.h"

namespace ab {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The values that are not a single field as it stands, by column; the
// import builds the same fields back from these columns.
struct ComposedColumn {
  int column;
  std::string_view (*get)(const ContactRecord&);
};
constexpr ComposedColumn kNameColumns[] = {
    {COL_FIRST_NAME, [](const ContactRecord& r) { return r.givenName.view(); }},
    {COL_LAST_NAME, [](const ContactRecord& r) { return r.familyName.view(); }},
    {COL_DISPLAY_NAME, [](const ContactRecord& r) { return r.formattedName.view(); }},
};
constexpr ComposedColumn kTailColumns[] = {
    {COL_EMAIL_1, [](const ContactRecord& r) { return r.emailCount > 0 ? r.emails[0].address.view() : ""; }},
    {COL_EMAIL_2, [](const ContactRecord& r) { return r.emailCount > 1 ? r.emails[1].address.view() : ""; }},
    {COL_EMAIL_3, [](const ContactRecord& r) { return r.emailCount > 2 ? r.emails[2].address.view() : ""; }},
    {COL_WEB_PAGE, [](const ContactRecord& r) { return r.urls[SLOT_BUSINESS].url.view(); }},
    {COL_HOME_WEB_PAGE, [](const ContactRecord& r) { return r.urls[SLOT_HOME].url.view(); }},
};

void AddValue(std::string& line, std::string_view value) {
  if (!line.empty()) line += ',';
  line += '"';
  for (const char c : value) line += c == '"' ? std::string("\"\"") : std::string(1, c);
  line += '"';
}

// The line of every column, each value given by `value`.
template <typename ValueOf>
std::string LineOf(const ValueOf& value) {
  std::string line;
  for (const ComposedColumn& c : kNameColumns) AddValue(line, value(c.column, c.get));
  for (const CsvFieldColumn& c : CsvFieldColumns()) AddValue(line, value(c.column, c.get));
  for (const ComposedColumn& c : kTailColumns) AddValue(line, value(c.column, c.get));
  return line + "\r\n";
}

}  // namespace

std::string CsvExportHeadingLine() {
  return LineOf([](int column, auto) { return LoadProgramString(column); });
}

std::string CsvExportLine(const ContactRecord& record) {
  return LineOf([&](int, auto get) { return DecodeStoredText(get(record)); });
}

bool ExportCsvFile(const std::string& path, std::string* error) {
  std::string bytes = std::string(kUtf8ByteOrderMark) + CsvExportHeadingLine();
  ContactRecord record;
  for (int row = 0; row < contactCount; ++row) {
    const ContactRow& cells = contactTable[static_cast<std::size_t>(row)];
    if (!ReadCard(record, cells.filePath.str())) {
      record.Clear();
      record.formattedName = cells.displayName.view();
      record.emails[0].address = cells.email.view();
      record.emailCount = cells.email.empty() ? 0 : 1;
      record.workPhones[PHONE_VOICE].number = cells.workPhone.view();
      record.homePhones[PHONE_VOICE].number = cells.homePhone.view();
    }
    bytes += CsvExportLine(record);
  }
  if (ReplaceFileAtomically(path, bytes)) return true;
  if (error) *error = "cannot write '" + path + "'";
  return false;
}

}  // namespace ab
