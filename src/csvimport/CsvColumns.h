#pragma once
// What a CSV column stands for, whatever the program that wrote the file: the
// string ID of the English heading of its column (5100-5186), or of one of the
// program's own columns (5190-5197). Headings of the Traditional Chinese
// edition and the other spellings of the alias table lead to the same IDs.

#include <optional>
#include <string>
#include <string_view>

namespace ab {

// The columns that the import and the export know by name.
enum CsvColumnId : int {
  COL_NONE = -1,
  COL_TITLE = 5100,
  COL_FIRST_NAME = 5101,
  COL_MIDDLE_NAME = 5102,
  COL_LAST_NAME = 5103,
  COL_SUFFIX = 5104,
  COL_COMPANY = 5105,
  COL_DEPARTMENT = 5106,
  COL_JOB_TITLE = 5107,
  COL_BUSINESS_STREET = 5108,
  COL_BUSINESS_STREET_2 = 5109,
  COL_BUSINESS_STREET_3 = 5110,
  COL_BUSINESS_CITY = 5111,
  COL_BUSINESS_STATE = 5112,
  COL_BUSINESS_POSTAL_CODE = 5113,
  COL_BUSINESS_COUNTRY = 5114,
  COL_HOME_STREET = 5115,
  COL_HOME_STREET_2 = 5116,
  COL_HOME_STREET_3 = 5117,
  COL_HOME_CITY = 5118,
  COL_HOME_STATE = 5119,
  COL_HOME_POSTAL_CODE = 5120,
  COL_HOME_COUNTRY = 5121,
  COL_BUSINESS_FAX = 5130,
  COL_BUSINESS_PHONE = 5131,
  COL_CAR_PHONE = 5134,
  COL_HOME_FAX = 5136,
  COL_HOME_PHONE = 5137,
  COL_MOBILE_PHONE = 5140,
  COL_PAGER = 5143,
  COL_TTY_TDD_PHONE = 5146,
  COL_ANNIVERSARY = 5149,
  COL_BIRTHDAY = 5152,
  COL_CATEGORIES = 5153,
  COL_EMAIL_1 = 5156,
  COL_EMAIL_2 = 5158,
  COL_EMAIL_3 = 5160,
  COL_NOTES = 5172,
  COL_WEB_PAGE = 5186,
  COL_DISPLAY_NAME = 5190,
  COL_NICKNAME = 5191,
  COL_BUSINESS_PO_BOX = 5192,
  COL_HOME_PO_BOX = 5193,
  COL_HOME_WEB_PAGE = 5194,
  COL_BIRTH_YEAR = 5195,
  COL_BIRTH_MONTH = 5196,
  COL_BIRTH_DAY = 5197,
};

// Column IDs run from kFirstColumnId to kFirstColumnId + kColumnIdCount - 1.
inline constexpr int kFirstColumnId = 5100;
inline constexpr int kColumnIdCount = 98;

// The column a heading stands for, or COL_NONE.
int ColumnOfHeading(std::string_view heading);

// A heading of a numbered group of web mail, "<kind> <number> - <part>", as
// "Phone 2 - Value" or "Address 1 - Street".
struct GroupHeading {
  std::string kind;
  std::string number;
  std::string part;

  // The part that holds the group's type word ("Type", or "Label").
  bool IsTypePart() const;
};
std::optional<GroupHeading> ParseGroupHeading(std::string_view heading);

// The column a group's part stands for in a row whose type column holds
// `type` (its first word list item, without a leading "*" that marks the
// primary one), or COL_NONE.
int ColumnOfTypedPart(const GroupHeading& group, std::string_view type);

}  // namespace ab
