#pragma once
// Small helpers for the CSV tests: quoted lines and files, encoded bytes.

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "csvimport/CsvReader.h"
#include "support/TempFolder.h"

namespace ab::testing {

// "a","b","c" from the values, without a line end.
inline std::string QuotedLine(const std::vector<std::string>& values, char separator = ',') {
  std::string line;
  for (std::size_t i = 0; i < values.size(); ++i) line += (i ? std::string{separator} : "") + "\"" + values[i] + "\"";
  return line;
}

// `utf8` in another character set, through iconv as a file writer would do it.
inline std::string Encode(std::string_view utf8, const char* charset) {
  const iconv_t cd = ::iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + charset);
  std::string in(utf8), out(in.size() * 4 + 16, '\0');
  char *inPos = in.data(), *outPos = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const std::size_t rc = ::iconv(cd, &inPos, &inLeft, &outPos, &outLeft);
  ::iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error(std::string("cannot encode as ") + charset);
  out.resize(out.size() - outLeft);
  return out;
}

// A file of the heading line and data lines, values quoted, CR LF line ends.
inline std::string CsvOf(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                         char separator = ',') {
  std::string bytes = QuotedLine(headings, separator) + "\r\n";
  for (const auto& row : rows) bytes += QuotedLine(row, separator) + "\r\n";
  return bytes;
}

}  // namespace ab::testing
