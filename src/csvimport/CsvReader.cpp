#include "csvimport/CsvReader.h"

#include <algorithm>
#include <cstddef>

#include "csvimport/CsvHeadings.h"

namespace ab {

namespace {

// Positions are signed and -1 stands for "none", so every comparison of the
// rules can be written as it reads.
using Pos = std::ptrdiff_t;

Pos At(std::size_t position) { return position == std::string_view::npos ? -1 : static_cast<Pos>(position); }

struct LineShape {
  Pos lastQuote;
  Pos previousQuote;  // the last double quote before lastQuote
  Pos lastComma;
  Pos lastSeparator;  // the last comma or double quote
};

LineShape ShapeOf(std::string_view line) {
  LineShape s{};
  s.lastQuote = At(line.rfind('"'));
  s.previousQuote = s.lastQuote > 0 ? At(line.rfind('"', static_cast<std::size_t>(s.lastQuote - 1))) : -1;
  s.lastComma = At(line.rfind(','));
  s.lastSeparator = std::max(s.lastQuote, s.lastComma);
  return s;
}

}  // namespace

CsvReader::CsvReader(const std::string& path, const CsvMessageFn& showMessage) : fileName_(path) {
  isOpen_ = text_.Open(path, IsChineseHeadingRow);
  if (!isOpen_ && showMessage) showMessage(kCsvOpenErrorText, kCsvOpenErrorCaption);
}

bool CsvReader::IsRowComplete(std::string_view line) {
  const LineShape s = ShapeOf(line);
  if (s.lastQuote == -1 && s.lastComma == -1) return true;
  return s.previousQuote != -1 && s.lastComma != -1 && s.lastComma < s.previousQuote &&
         s.previousQuote < s.lastQuote;
}

bool CsvReader::NeedsContinuation(std::string_view line) {
  const LineShape s = ShapeOf(line);
  if (s.lastSeparator <= 0) return false;
  if (s.lastComma < s.previousQuote && s.lastComma < s.lastQuote) return false;
  return true;
}

bool CsvReader::IsClosingLine(std::string_view line) {
  const std::size_t firstQuote = line.find('"');
  return firstQuote != std::string_view::npos && line.find("\",") == firstQuote;
}

std::string CsvReader::FindClosingLine() {
  while (ReadLine(continuationBuffer_))
    if (IsClosingLine(continuationBuffer_)) return continuationBuffer_;
  return {};
}

std::string& CsvReader::NextRow() {
  row_.clear();
  std::string line;
  if (!isOpen_ || !ReadLine(line)) return row_;
  row_ = line;
  if (IsRowComplete(line)) return row_;
  // When the file ends before a closing line, the row keeps its first line;
  // a line that neither completes nor continues a row is a row by itself.
  // Either way a row is at most two reads long.
  if (NeedsContinuation(line)) row_ += FindClosingLine();
  return row_;
}

std::string CsvReader::NextField(std::string& row) {
  const Pos firstComma = At(row.find(','));
  const Pos firstQuote = At(row.find('"'));
  const Pos lastQuote = At(row.rfind('"'));
  const auto from = static_cast<std::size_t>(firstQuote + 1);

  if (firstComma != -1 && firstQuote < firstComma) {
    const Pos count = firstComma - 2;
    std::string value = count < 0 ? row.substr(from) : row.substr(from, static_cast<std::size_t>(count));
    row.erase(0, static_cast<std::size_t>(firstComma + 1));
    return value;
  }
  if (firstComma == -1 && firstQuote != -1) {
    const Pos count = lastQuote - 1;
    std::string value = count <= 0 ? std::string() : row.substr(from, static_cast<std::size_t>(count));
    row.clear();
    return value;
  }
  if (firstComma == 0) {
    row.erase(0, 1);
    return {};
  }
  return std::string(kEndOfFields);
}

}  // namespace ab
