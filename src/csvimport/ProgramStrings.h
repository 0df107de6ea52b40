#pragma once
// The strings built into the program file itself (not the resource library):
// the column headings of the CSV contact export, by string ID, and the other
// spellings of those headings. Both tables are generated at build time from
// resources/program/ProgramStrings.tsv and HeadingAliases.tsv.

#include <cstddef>
#include <string_view>

namespace ab {

struct ProgramString {
  int id;
  std::string_view text;
};

extern const ProgramString programStrings[];
extern const std::size_t programStringCount;

// The text of string `id`; empty when the program has no such string.
std::string_view LoadProgramString(int id);

// Another spelling of a heading: `heading` is the text of one of the English
// headings of the string table.
struct HeadingAlias {
  std::string_view spelling;
  std::string_view heading;
};

extern const HeadingAlias headingAliases[];
extern const std::size_t headingAliasCount;

}  // namespace ab
