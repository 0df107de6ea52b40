#include "csvimport/CsvColumns.h"

#include <unordered_map>

#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvReader.h"
#include "csvimport/ProgramStrings.h"

namespace ab {

namespace {

constexpr int kOwnColumnsFirstId = COL_DISPLAY_NAME;
constexpr int kOwnColumnsLastId = COL_BIRTH_DAY;

// Up to "Telex" the two editions list the columns in the same order; after it
// each has its own, so the Chinese columns that feed something are paired here.
constexpr int kChineseSameOrderCount = 48;
struct ChineseColumn {
  int chineseId;
  int column;
};
constexpr ChineseColumn kChineseColumns[] = {
    {5049, COL_WEB_PAGE}, {5055, COL_BIRTHDAY}, {5070, COL_ANNIVERSARY}, {5071, COL_NOTES},
    {5079, COL_EMAIL_1},  {5081, COL_EMAIL_2},  {5083, COL_EMAIL_3},     {5089, COL_CATEGORIES},
};

int ColumnOfChinese(int position) {
  if (position < kChineseSameOrderCount) return kFirstColumnId + position;
  for (const ChineseColumn& c : kChineseColumns)
    if (c.chineseId == kChineseHeadingFirstId + position) return c.column;
  return COL_NONE;
}

// Folded heading -> column, for both tables, the program's own columns and
// the alias table; built once.
const std::unordered_map<std::string, int>& HeadingIndex() {
  static const std::unordered_map<std::string, int> index = [] {
    std::unordered_map<std::string, int> map;
    const auto english = HeadingTable(kLanguageEnglish);
    for (std::size_t p = 0; p < english.size(); ++p)
      map.emplace(FoldHeading(english[p]), kFirstColumnId + static_cast<int>(p));
    for (int id = kOwnColumnsFirstId; id <= kOwnColumnsLastId; ++id) map.emplace(FoldHeading(LoadProgramString(id)), id);
    const auto chinese = HeadingTable(kLanguageChinese);
    for (std::size_t p = 0; p < chinese.size(); ++p)
      if (const int column = ColumnOfChinese(static_cast<int>(p)); column != COL_NONE)
        map.emplace(FoldHeading(chinese[p]), column);
    for (std::size_t i = 0; i < headingAliasCount; ++i) {
      const auto target = map.find(FoldHeading(headingAliases[i].heading));
      if (target != map.end()) map.emplace(FoldHeading(headingAliases[i].spelling), target->second);
    }
    return map;
  }();
  return index;
}

}  // namespace

int ColumnOfHeading(std::string_view heading) {
  const auto& index = HeadingIndex();
  const auto found = index.find(FoldHeading(heading));
  return found == index.end() ? COL_NONE : found->second;
}

bool GroupHeading::IsTypePart() const {
  const std::string folded = FoldHeading(part);
  return folded == "type" || folded == "label";
}

std::optional<GroupHeading> ParseGroupHeading(std::string_view heading) {
  heading = TrimBlanks(heading);
  const std::size_t dash = heading.find(" - ");
  if (dash == std::string_view::npos) return std::nullopt;
  const std::string_view head = heading.substr(0, dash);
  const std::size_t space = head.rfind(' ');
  if (space == std::string_view::npos || space == 0) return std::nullopt;
  const std::string_view number = head.substr(space + 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  return GroupHeading{std::string(head.substr(0, space)), std::string(number), std::string(heading.substr(dash + 3))};
}

int ColumnOfTypedPart(const GroupHeading& group, std::string_view type) {
  std::string_view word = TrimBlanks(type.substr(0, type.find(":::")));
  if (!word.empty() && word.front() == '*') word = TrimBlanks(word.substr(1));
  if (word.empty()) return COL_NONE;
  return ColumnOfHeading(group.kind + " " + std::string(word) + " - " + group.part);
}

}  // namespace ab
