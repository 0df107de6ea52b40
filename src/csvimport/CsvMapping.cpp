#include "csvimport/CsvMapping.h"

#include <algorithm>

#include "contacts/FixedText.h"
#include "contacts/TypeFlags.h"

namespace ab {

namespace {

// A heading of each edition, by string ID.
struct ColumnIds {
  int english;
  int chinese;
};

constexpr ColumnIds kTitle{5100, 5000};
constexpr ColumnIds kFirstName{5101, 5001};
constexpr ColumnIds kMiddleName{5102, 5002};
constexpr ColumnIds kLastName{5103, 5003};
constexpr ColumnIds kSuffix{5104, 5004};
constexpr ColumnIds kEmailAddresses[] = {{5156, 5079}, {5158, 5081}, {5160, 5083}};

using StoreFn = void (*)(ContactRecord&, std::string_view);

struct FieldColumn {
  ColumnIds ids;
  StoreFn store;
};

// The columns that feed one field each (names and e-mail are joined or
// counted and handled on their own); every other column is read and dropped.
constexpr FieldColumn kFieldColumns[] = {
    {{5106, 5006}, [](ContactRecord& r, std::string_view v) { r.orgUnit = v; }},
    {{5107, 5007}, [](ContactRecord& r, std::string_view v) { r.title = v; }},
    {{5108, 5008}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_BUSINESS].street = v; }},
    {{5111, 5011}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_BUSINESS].locality = v; }},
    {{5112, 5012}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_BUSINESS].region = v; }},
    {{5113, 5013}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_BUSINESS].postalCode = v; }},
    {{5114, 5014}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_BUSINESS].country = v; }},
    {{5115, 5015}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_HOME].street = v; }},
    {{5118, 5018}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_HOME].locality = v; }},
    {{5119, 5019}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_HOME].region = v; }},
    {{5120, 5020}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_HOME].postalCode = v; }},
    {{5121, 5021}, [](ContactRecord& r, std::string_view v) { r.addresses[SLOT_HOME].country = v; }},
    {{5131, 5031}, [](ContactRecord& r, std::string_view v) { r.workPhones[PHONE_VOICE].number = v; }},
    {{5130, 5030}, [](ContactRecord& r, std::string_view v) { r.workPhones[PHONE_FAX].number = v; }},
    {{5134, 5034}, [](ContactRecord& r, std::string_view v) { r.workPhones[PHONE_CELL].number = v; }},
    {{5137, 5037}, [](ContactRecord& r, std::string_view v) { r.homePhones[PHONE_VOICE].number = v; }},
    {{5136, 5036}, [](ContactRecord& r, std::string_view v) { r.homePhones[PHONE_FAX].number = v; }},
    {{5143, 5043}, [](ContactRecord& r, std::string_view v) { r.homePhones[PHONE_PAGER].number = v; }},
    {{5140, 5040}, [](ContactRecord& r, std::string_view v) { r.homePhones[PHONE_CELL].number = v; }},
    {{5146, 5046}, [](ContactRecord& r, std::string_view v) { r.homePhones[PHONE_VIDEO].number = v; }},
    {{5186, 5049},
     [](ContactRecord& r, std::string_view v) {
       r.urls[SLOT_BUSINESS].url = v;
       r.urls[SLOT_HOME].url = v;
     }},
};

// Every imported record gets these, whether or not the values are empty.
void SetSlotFlags(ContactRecord& r) {
  r.addresses[SLOT_BUSINESS].flags = FLAG_WORK;
  r.addresses[SLOT_HOME].flags = FLAG_HOME;
  r.workPhones[PHONE_VOICE].flags = FLAG_WORK | FLAG_VOICE;
  r.workPhones[PHONE_FAX].flags = FLAG_WORK | FLAG_FAX;
  r.workPhones[PHONE_CELL].flags = FLAG_WORK | FLAG_CELL;
  r.homePhones[PHONE_VOICE].flags = FLAG_HOME | FLAG_VOICE;
  r.homePhones[PHONE_FAX].flags = FLAG_HOME | FLAG_FAX;
  r.homePhones[PHONE_PAGER].flags = FLAG_HOME | FLAG_PAGER;
  r.homePhones[PHONE_CELL].flags = FLAG_HOME | FLAG_CELL;
  r.homePhones[PHONE_VIDEO].flags = FLAG_HOME | FLAG_VIDEO;
  r.urls[SLOT_BUSINESS].flags = FLAG_WORK;
  r.urls[SLOT_HOME].flags = FLAG_HOME;
}

std::string CutValue(std::string value) {
  value.resize(CutToUnits(value, kMaxCsvValueBytes));
  return value;
}

// An empty value that still points at text, as FixedText's copy wants.
constexpr std::string_view kNoValue = "";

// The values of the row by table position (0 .. 89); unmapped columns are
// dropped and positions without a column are empty.
class PositionValues {
 public:
  PositionValues(const CsvRow& values, const CsvColumnMapping& mapping) : language_(mapping.csvLanguage) {
    byPosition_.fill(kNoValue);
    const std::size_t columns = std::min(values.size(), mapping.headingTable.size());
    for (std::size_t column = 0; column < columns; ++column) {
      const int position = mapping.columnMap[column];
      if (position >= 0 && position < kMaxCsvColumns) byPosition_[static_cast<std::size_t>(position)] = values[column];
    }
  }

  // The value of a heading in the file's language.
  std::string_view operator[](ColumnIds ids) const {
    int position = -1;
    if (language_ == kLanguageEnglish) position = ids.english - kEnglishHeadingFirstId;
    if (language_ == kLanguageChinese) position = ids.chinese - kChineseHeadingFirstId;
    if (position < 0 || position >= kMaxCsvColumns) return kNoValue;
    return byPosition_[static_cast<std::size_t>(position)];
  }

 private:
  std::string_view language_;
  std::array<std::string_view, kMaxCsvColumns> byPosition_;
};

}  // namespace

const CsvRow& ReadHeadingRow(CsvReader& reader, CsvColumnMapping& mapping) {
  mapping = CsvColumnMapping{};
  std::string& row = reader.NextRow();
  std::string heading = CsvReader::NextField(row);
  mapping.csvLanguage = DetectCsvLanguage(CutValue(heading));
  while (heading != kEndOfFields && mapping.headingRow.size() < static_cast<std::size_t>(kMaxCsvColumns)) {
    mapping.headingRow.push_back(CutValue(std::move(heading)));
    heading = CsvReader::NextField(row);
  }

  mapping.headingTable = HeadingTable(mapping.csvLanguage);
  mapping.columnMap.fill(-1);
  const std::size_t columns = std::min(mapping.headingTable.size(), mapping.headingRow.size());
  for (std::size_t column = 0; column < columns; ++column) {
    const auto& table = mapping.headingTable;
    const auto match = std::find_if(table.begin(), table.end(), [&](std::string_view entry) {
      return HeadingMatches(entry, mapping.headingRow[column]);
    });
    if (match == table.end()) break;  // this column and every later one stay unmapped
    mapping.columnMap[column] = static_cast<int>(match - table.begin());
  }
  return mapping.headingRow;
}

bool ReadRecordRow(std::string& row, const CsvColumnMapping& mapping, CsvRow& values) {
  values.clear();
  while (values.size() < static_cast<std::size_t>(kMaxCsvColumns)) {
    std::string value = CsvReader::NextField(row);
    if (value == kEndOfFields) break;
    values.push_back(CutValue(std::move(value)));
  }
  if (values.empty()) return false;
  if (values.size() < mapping.headingRow.size()) values.resize(mapping.headingRow.size());
  return true;
}

void FillRecordFromCsv(ContactRecord& record, const CsvRow& values, const CsvColumnMapping& mapping) {
  const PositionValues value(values, mapping);

  for (const FieldColumn& column : kFieldColumns) column.store(record, value[column.ids]);
  SetSlotFlags(record);

  // The name parts are joined with nothing between them.
  const std::string first(value[kFirstName]);
  const std::string middle(value[kMiddleName]);
  const std::string last(value[kLastName]);
  const std::string suffix(value[kSuffix]);
  record.familyName = last;
  record.givenName = first + middle;
  record.additionalNames = first + middle + last + suffix;
  record.formattedName = std::string(value[kTitle]) + first + middle + last + suffix;

  // An address keeps the slot of its column, even after an empty one.
  for (int n = 0; n < 3; ++n) {
    const std::string_view address = value[kEmailAddresses[n]];
    if (address.empty()) continue;
    record.emails[static_cast<std::size_t>(n)].address = address;
    record.emailCount = n + 1;
  }
  if (!value[kEmailAddresses[0]].empty()) {
    record.emails[0].flags = FLAG_PREF;
    record.preferredEmail = 0;
  }
}

}  // namespace ab
