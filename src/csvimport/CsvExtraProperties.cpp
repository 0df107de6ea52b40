#include "csvimport/CsvExtraProperties.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "contacts/StoredText.h"

namespace ab {

namespace {

// The numbers of the text, at most `count`; empty when anything but digits
// and the separators of a date stands between them.
std::vector<int> DateNumbers(std::string_view text, std::size_t count) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < text.size() && numbers.size() < count;) {
    if (text[i] < '0' || text[i] > '9') {
      if (std::string_view("-/. ").find(text[i]) == std::string_view::npos) return {};
      ++i;
      continue;
    }
    int n = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), n);
    if (error != std::errc()) return {};
    numbers.push_back(n);
    i = static_cast<std::size_t>(end - text.data());
  }
  return numbers;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The values come in the stored form: the list's semicolons are marker pairs.
std::string Categories(std::string_view list) {
  std::string text = DecodeStoredText(list);
  for (std::size_t at = text.find(":::"); at != std::string::npos; at = text.find(":::")) text.replace(at, 3, ";");
  std::string joined;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find_first_of(";,", start), text.size());
    const std::string_view item = TrimBlanks(std::string_view(text).substr(start, end - start));
    if (!item.empty() && item.front() != '*') joined += (joined.empty() ? "" : ",") + std::string(item);
    start = end + 1;
  }
  return joined;
}

}  // namespace

std::optional<std::string> CsvDateAsIso(std::string_view text) {
  text = TrimBlanks(text);
  const std::vector<int> n = DateNumbers(text, 3);
  if (n.size() != 3) return std::nullopt;
  int year = n[2], month = n[0], day = n[1];  // month first, as the English edition writes
  if (text.find_first_of("-/. ") == 4) {
    year = n[0];
    month = n[1];
    day = n[2];
  } else if (text.find('.') != std::string_view::npos || n[0] > 12) {
    std::swap(month, day);
  }
  if (year < 100) year += year < 30 ? 2000 : 1900;
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1000) return std::nullopt;
  return std::to_string(year) + "-" + TwoDigits(month) + "-" + TwoDigits(day);
}

std::vector<std::string> CsvExtraProperties(const CsvRow& values, const CsvColumnMapping& mapping) {
  const CsvFieldValues v(values, mapping);
  std::vector<std::string> lines;
  auto birthday = CsvDateAsIso(v[COL_BIRTHDAY]);
  if (!birthday && !v[COL_BIRTH_YEAR].empty())
    birthday = CsvDateAsIso(std::string(v[COL_BIRTH_YEAR]) + "-" + std::string(v[COL_BIRTH_MONTH]) + "-" +
                            std::string(v[COL_BIRTH_DAY]));
  if (birthday) lines.push_back("BDAY:" + *birthday);
  if (const auto anniversary = CsvDateAsIso(v[COL_ANNIVERSARY])) lines.push_back("X-ANNIVERSARY:" + *anniversary);
  if (const std::string categories = Categories(v[COL_CATEGORIES]); !categories.empty())
    lines.push_back("CATEGORIES:" + categories);
  if (const std::string_view nickname = TrimBlanks(v[COL_NICKNAME]); !nickname.empty())
    lines.push_back("NICKNAME:" + std::string(nickname));  // already one line in the stored form
  return lines;
}

}  // namespace ab
