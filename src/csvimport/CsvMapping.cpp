#include "csvimport/CsvMapping.h"

#include <algorithm>
#include <initializer_list>

#include "contacts/CardCompare.h"
#include "contacts/FixedText.h"
#include "contacts/TypeFlags.h"
#include "csvimport/CsvCharset.h"

namespace ab {

namespace {

// A column for the field that `Field` gives of a record.
template <auto Field>
constexpr CsvFieldColumn Column(int column) {
  return {column, [](const ContactRecord& r) { return Field(r).view(); },
          [](ContactRecord& r, std::string_view v) { Field(r) = v; }};
}

// The streets take the second and third street lines too, and the web
// addresses, names and e-mail addresses are built from several columns: they
// are handled on their own.
constexpr CsvFieldColumn kFieldColumns[] = {
    Column<[](auto& r) -> auto& { return r.orgName; }>(COL_COMPANY),
    Column<[](auto& r) -> auto& { return r.orgUnit; }>(COL_DEPARTMENT),
    Column<[](auto& r) -> auto& { return r.title; }>(COL_JOB_TITLE),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_BUSINESS].street; }>(COL_BUSINESS_STREET),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_BUSINESS].locality; }>(COL_BUSINESS_CITY),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_BUSINESS].region; }>(COL_BUSINESS_STATE),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_BUSINESS].postalCode; }>(COL_BUSINESS_POSTAL_CODE),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_BUSINESS].country; }>(COL_BUSINESS_COUNTRY),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_BUSINESS].poBox; }>(COL_BUSINESS_PO_BOX),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_HOME].street; }>(COL_HOME_STREET),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_HOME].locality; }>(COL_HOME_CITY),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_HOME].region; }>(COL_HOME_STATE),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_HOME].postalCode; }>(COL_HOME_POSTAL_CODE),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_HOME].country; }>(COL_HOME_COUNTRY),
    Column<[](auto& r) -> auto& { return r.addresses[SLOT_HOME].poBox; }>(COL_HOME_PO_BOX),
    Column<[](auto& r) -> auto& { return r.workPhones[PHONE_VOICE].number; }>(COL_BUSINESS_PHONE),
    Column<[](auto& r) -> auto& { return r.workPhones[PHONE_FAX].number; }>(COL_BUSINESS_FAX),
    Column<[](auto& r) -> auto& { return r.workPhones[PHONE_CELL].number; }>(COL_CAR_PHONE),
    Column<[](auto& r) -> auto& { return r.homePhones[PHONE_VOICE].number; }>(COL_HOME_PHONE),
    Column<[](auto& r) -> auto& { return r.homePhones[PHONE_FAX].number; }>(COL_HOME_FAX),
    Column<[](auto& r) -> auto& { return r.homePhones[PHONE_PAGER].number; }>(COL_PAGER),
    Column<[](auto& r) -> auto& { return r.homePhones[PHONE_CELL].number; }>(COL_MOBILE_PHONE),
    Column<[](auto& r) -> auto& { return r.homePhones[PHONE_VIDEO].number; }>(COL_TTY_TDD_PHONE),
    Column<[](auto& r) -> auto& { return r.note; }>(COL_NOTES),
};

constexpr int kEmailColumns[] = {COL_EMAIL_1, COL_EMAIL_2, COL_EMAIL_3};

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

// A value cut to its room and card-safe (UTF-8, line breaks and semicolons in
// the stored form, no byte a card cannot hold), so the table row shows what
// the card reads back.
std::string CutValue(std::string_view raw) {
  std::string text = CardSafeText(raw);
  text.resize(CutToUnits(text, kMaxCsvValueUnits));
  return text;
}

// The parts that are not blank, without their blanks, joined by `gap`.
std::string Join(std::initializer_list<std::string_view> parts, std::string_view gap) {
  std::string joined;
  for (const std::string_view part : parts) {
    const std::string_view text = TrimBlanks(part);
    if (text.empty()) continue;
    if (!joined.empty()) joined += gap;
    joined += text;
  }
  return joined;
}

// The second and third street lines join the street on lines of their own.
template <typename Street>
void AddStreetLines(Street& street, std::string_view second, std::string_view third) {
  street = Join({street.view(), second, third}, std::string_view("\x01\x01"));
}

// Name parts joined with single blanks, "Dr. Alice B. Example Jr."; names in
// Chinese, Japanese or Korean script family name first without blanks, as
// their users write them ("王小明").
void FillNames(ContactRecord& r, const CsvFieldValues& v) {
  const std::string_view title = v[COL_TITLE], first = v[COL_FIRST_NAME], middle = v[COL_MIDDLE_NAME],
                         last = v[COL_LAST_NAME], suffix = v[COL_SUFFIX];
  const bool cjk = IsCjkText(first) || IsCjkText(middle) || IsCjkText(last);
  r.familyName = TrimBlanks(last);
  std::string formatted;
  if (cjk) {
    r.givenName = Join({first, middle}, "");
    r.additionalNames = Join({last, first, middle, suffix}, "");
    formatted = Join({last, first, middle, suffix, title}, "");
  } else {
    r.givenName = Join({first, middle}, " ");
    r.additionalNames = Join({first, middle, last, suffix}, " ");
    formatted = Join({title, first, middle, last, suffix}, " ");
  }
  // A display name of the file wins; a row without any name is called by
  // what else it tells about the contact.
  for (const std::string_view name : {v[COL_DISPLAY_NAME], std::string_view(formatted), v[COL_NICKNAME],
                                      v[COL_COMPANY], v[COL_EMAIL_1], v[COL_EMAIL_2], v[COL_EMAIL_3]}) {
    if (TrimBlanks(name).empty()) continue;
    r.formattedName = TrimBlanks(name);
    break;
  }
}

}  // namespace

bool IsCjkText(std::string_view text) {
  return HasCodePointIn(text, 0x1100, 0x11FF) ||   // Hangul Jamo
         HasCodePointIn(text, 0x2E80, 0x9FFF) ||   // CJK radicals, kana, ideographs
         HasCodePointIn(text, 0xAC00, 0xD7AF) ||   // Hangul syllables
         HasCodePointIn(text, 0xF900, 0xFAFF) ||   // compatibility ideographs
         HasCodePointIn(text, 0x20000, 0x2FFFF);  // ideographs beyond the first plane
}

const CsvRow& ReadHeadingRow(CsvReader& reader, CsvColumnMapping& mapping) {
  mapping = CsvColumnMapping{};
  CsvRow row;
  while (reader.NextRow(row)) {
    if (std::none_of(row.begin(), row.end(), [](const std::string& v) { return !TrimBlanks(v).empty(); })) continue;
    for (std::string& heading : row) mapping.headingRow.push_back(CutValue(std::move(heading)));
    break;
  }

  const CsvRow& headings = mapping.headingRow;
  for (const std::string& heading : headings) {
    mapping.csvLanguage = DetectCsvLanguage(heading);
    if (mapping.csvLanguage != kLanguageUnknown) break;
  }
  mapping.meanings.resize(headings.size());
  for (std::size_t i = 0; i < headings.size(); ++i) {
    CsvHeadingMeaning& meaning = mapping.meanings[i];
    meaning.column = ColumnOfHeading(headings[i]);
    const auto group = ParseGroupHeading(headings[i]);
    if (meaning.column != COL_NONE || !group || group->IsTypePart()) continue;
    for (std::size_t k = 0; k < headings.size(); ++k) {
      const auto other = ParseGroupHeading(headings[k]);
      if (other && other->IsTypePart() && FoldHeading(other->kind) == FoldHeading(group->kind) &&
          other->number == group->number) {
        meaning.typeColumn = static_cast<int>(k);
        meaning.group = *group;
        break;
      }
    }
  }
  return headings;
}

bool ReadRecordRow(CsvRow& values, const CsvColumnMapping& mapping) {
  if (std::none_of(values.begin(), values.end(), [](const std::string& v) { return !TrimBlanks(v).empty(); }))
    return false;
  values.resize(mapping.headingRow.size());
  for (std::string& value : values) value = CutValue(std::move(value));
  return true;
}

CsvFieldValues::CsvFieldValues(const CsvRow& values, const CsvColumnMapping& mapping) {
  const std::size_t columns = std::min(values.size(), mapping.meanings.size());
  for (std::size_t i = 0; i < columns; ++i) {
    const CsvHeadingMeaning& meaning = mapping.meanings[i];
    int column = meaning.column;
    const auto typeColumn = static_cast<std::size_t>(meaning.typeColumn);
    if (meaning.typeColumn >= 0) column = typeColumn < values.size() ? ColumnOfTypedPart(meaning.group, values[typeColumn]) : COL_NONE;
    if (column < kFirstColumnId || column >= kFirstColumnId + kColumnIdCount) continue;
    const auto slot = static_cast<std::size_t>(column - kFirstColumnId);
    present_.set(slot);
    if (values_[slot].empty()) values_[slot] = values[i];
  }
}

std::string_view CsvFieldValues::operator[](int column) const {
  if (column < kFirstColumnId || column >= kFirstColumnId + kColumnIdCount) return {};
  return values_[static_cast<std::size_t>(column - kFirstColumnId)];
}

bool CsvFieldValues::Has(int column) const {
  return column >= kFirstColumnId && column < kFirstColumnId + kColumnIdCount &&
         present_.test(static_cast<std::size_t>(column - kFirstColumnId));
}

std::span<const CsvFieldColumn> CsvFieldColumns() { return kFieldColumns; }

void FillRecordFromCsv(ContactRecord& record, const CsvRow& values, const CsvColumnMapping& mapping) {
  const CsvFieldValues v(values, mapping);
  for (const CsvFieldColumn& column : kFieldColumns) column.set(record, v[column.column]);
  AddStreetLines(record.addresses[SLOT_BUSINESS].street, v[COL_BUSINESS_STREET_2], v[COL_BUSINESS_STREET_3]);
  AddStreetLines(record.addresses[SLOT_HOME].street, v[COL_HOME_STREET_2], v[COL_HOME_STREET_3]);
  SetSlotFlags(record);
  FillNames(record, v);

  // The web page is both addresses, unless the file has a column for the home one.
  record.urls[SLOT_BUSINESS].url = v[COL_WEB_PAGE];
  record.urls[SLOT_HOME].url = v.Has(COL_HOME_WEB_PAGE) ? v[COL_HOME_WEB_PAGE] : v[COL_WEB_PAGE];

  // An address keeps the slot of its column, even after an empty one.
  for (int n = 0; n < 3; ++n) {
    const std::string_view address = v[kEmailColumns[n]];
    if (address.empty()) continue;
    record.emails[static_cast<std::size_t>(n)].address = address;
    record.emailCount = n + 1;
  }
  if (!v[COL_EMAIL_1].empty()) {
    record.emails[0].flags = FLAG_PREF;
    record.preferredEmail = 0;
  }
}

}  // namespace ab
