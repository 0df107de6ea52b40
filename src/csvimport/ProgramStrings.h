#pragma once
// The strings built into the program file itself (not the resource library):
// the column headings of the CSV contact export, by string ID. The table is
// generated at build time from resources/program/ProgramStrings.tsv.

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

}  // namespace ab
