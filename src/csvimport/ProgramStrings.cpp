#include "csvimport/ProgramStrings.h"

namespace ab {

std::string_view LoadProgramString(int id) {
  for (std::size_t i = 0; i < programStringCount; ++i)
    if (programStrings[i].id == id) return programStrings[i].text;
  return {};
}

}  // namespace ab
