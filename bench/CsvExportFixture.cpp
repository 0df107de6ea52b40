#include "CsvExportFixture.h"

#include <fstream>

#include "csvimport/CsvHeadings.h"

namespace ab::bench {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string EnglishExport(int rows) {
  const auto headings = HeadingTable(kLanguageEnglish);
  std::string csv;
  for (std::size_t i = 0; i < headings.size(); ++i) csv += (i ? "," : "") + Quoted(std::string(headings[i]));
  csv += "\r\n";
  for (int r = 0; r < rows; ++r) {
    const std::string n = std::to_string((r * 7919) % 1000);  // names in no particular order
    for (std::size_t i = 0; i < headings.size(); ++i) {
      const std::string_view h = headings[i];
      std::string value;
      if (h == "First Name") value = "Given" + n;
      if (h == "Last Name") value = "Family" + n;
      if (h == "Job Title") value = "Engineer";
      if (h == "Business Street") value = n + " Market Street";
      if (h == "Business City" || h == "Home City") value = "Springfield";
      if (h == "Business Phone" || h == "Home Phone" || h == "Mobile Phone") value = "+1 555 0" + n;
      if (h == "E-mail Address") value = "person" + n + "@example.com";
      if (h == "E-mail 2 Address") value = "other" + n + "@example.org";
      if (h == "Web Page") value = "http://example.com/~" + n;
      csv += (i ? "," : "") + Quoted(value);
    }
    csv += "\r\n";
  }
  return csv;
}

std::string WriteExport(const std::string& folder, int rows) {
  const std::string path = folder + "/contacts.csv";
  std::ofstream(path, std::ios::binary) << EnglishExport(rows);
  return path;
}

}  // namespace ab::bench
