#include "csvimport/CsvReader.h"

#include <algorithm>
#include <array>

#include "csvimport/CsvHeadings.h"

namespace ab {

namespace {

enum class Role { Text, Quote, Separator, LineEnd };

// Follows the quoting of a record one character at a time. A quote opens a
// quoted value only at the start of a value; inside, a quote closes it, and a
// quote right after the closing one stands for itself.
class QuoteTracker {
 public:
  explicit QuoteTracker(std::string_view separators) : separators_(separators) {}

  Role Next(char c) {
    if (inQuotes_) {
      if (c != '"') return Role::Text;
      inQuotes_ = false;
      justClosed_ = true;
      return Role::Quote;
    }
    if (justClosed_ && c == '"') {  // a doubled quote
      inQuotes_ = true;
      justClosed_ = false;
      return Role::Text;
    }
    justClosed_ = false;
    const bool lineEnd = c == '\n' || c == '\r';
    if (lineEnd || separators_.find(c) != std::string_view::npos) {
      atValueStart_ = true;
      return lineEnd ? Role::LineEnd : Role::Separator;
    }
    const bool opens = c == '"' && atValueStart_;
    atValueStart_ = false;
    inQuotes_ = opens;
    return opens ? Role::Quote : Role::Text;
  }

 private:
  std::string_view separators_;
  bool inQuotes_ = false;
  bool justClosed_ = false;
  bool atValueStart_ = true;
};

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char DetectSeparator(std::string_view firstRecord) {
  std::array<int, kCsvSeparators.size()> counts{};
  QuoteTracker tracker(kCsvSeparators);
  for (const char c : firstRecord)
    if (tracker.Next(c) == Role::Separator) ++counts[kCsvSeparators.find(c)];
  const auto most = std::max_element(counts.begin(), counts.end());  // the first of equals
  return kCsvSeparators[static_cast<std::size_t>(most - counts.begin())];
}

CsvRow SplitCsvRecord(std::string_view text, char separator) {
  CsvRow values(1);
  QuoteTracker tracker(std::string_view(&separator, 1));
  for (const char c : text) {
    switch (tracker.Next(c)) {
      case Role::Separator: values.emplace_back(); break;
      case Role::Quote: break;
      case Role::Text:
      case Role::LineEnd: values.back() += c; break;
    }
  }
  return values;
}

CsvReader::CsvReader(const std::string& path, const CsvMessageFn& showMessage) : fileName_(path) {
  std::string error;
  isOpen_ = text_.Open(path, IsChineseHeadingRow, &error);
  if (!isOpen_ && showMessage) showMessage(error, kCsvOpenErrorCaption);
}

// Reads up to the next line end outside a quoted value; until the separator is
// known, any of kCsvSeparators starts a value.
bool CsvReader::ReadRecordText(std::string& text) {
  text.clear();
  QuoteTracker tracker(separator_ ? std::string_view(&separator_, 1) : kCsvSeparators);
  int c = text_.NextByte();
  if (c < 0) return false;
  for (; c >= 0; c = text_.NextByte()) {
    if (tracker.Next(static_cast<char>(c)) == Role::LineEnd) break;
    text += static_cast<char>(c);
  }
  return true;
}

bool CsvReader::NextRow(CsvRow& values) {
  std::string text;
  if (!isOpen_ || !ReadRecordText(text)) return false;
  if (!separator_ && !TrimBlanks(text).empty()) separator_ = DetectSeparator(text);
  values = SplitCsvRecord(text, separator_ ? separator_ : kCsvSeparators[0]);
  return true;
}

}  // namespace ab
