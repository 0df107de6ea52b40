#include "csvimport/CsvHeadings.h"

#include <algorithm>
#include <array>
#include <string>

#include "contacts/FixedText.h"
#include "csvimport/CsvReader.h"
#include "csvimport/ProgramStrings.h"

namespace ab {

namespace {

template <int Count>
std::array<std::string_view, Count> LoadHeadings(int firstId) {
  std::array<std::string_view, Count> table{};
  for (int i = 0; i < Count; ++i) {
    const std::string_view text = LoadProgramString(firstId + i);
    table[static_cast<std::size_t>(i)] = text.substr(0, CutToUnits(text, kHeadingSlotBytes - 1));
  }
  return table;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int FindHeading(std::span<const std::string_view> table, std::string_view heading) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (HeadingMatches(table[i], heading)) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::span<const std::string_view> HeadingTable(std::string_view language) {
  static const auto english = LoadHeadings<kEnglishHeadingCount>(kEnglishHeadingFirstId);
  static const auto chinese = LoadHeadings<kChineseHeadingCount>(kChineseHeadingFirstId);
  if (language == kLanguageEnglish) return english;
  if (language == kLanguageChinese) return chinese;
  return {};
}

std::string FoldHeading(std::string_view heading) {
  std::string folded(TrimBlanks(heading));
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

bool HeadingMatches(std::string_view tableEntry, std::string_view heading) {
  return FoldHeading(tableEntry) == FoldHeading(heading);
}

std::string_view DetectCsvLanguage(std::string_view heading) {
  if (FindHeading(HeadingTable(kLanguageChinese), heading) != -1) return kLanguageChinese;
  if (FindHeading(HeadingTable(kLanguageEnglish), heading) != -1) return kLanguageEnglish;
  return kLanguageUnknown;
}

bool IsChineseHeadingRow(std::string_view utf8Line) {
  const std::string_view line = utf8Line.substr(0, utf8Line.find_first_of("\r\n"));
  const auto chinese = HeadingTable(kLanguageChinese);
  for (const std::string& heading : SplitCsvRecord(line, DetectSeparator(line))) {
    const int position = FindHeading(chinese, heading);
    if (position != -1 && !IsAscii(chinese[static_cast<std::size_t>(position)])) return true;
  }
  return false;
}

}  // namespace ab
