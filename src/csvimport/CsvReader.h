#pragma once
// The reader of a CSV contact export as spreadsheets and mail programs write
// it (RFC 4180): values separated by commas, tabs or semicolons, quoted values
// holding separators, doubled quotes and line breaks, and CR LF, LF or CR
// line ends. The heading line tells the separator.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "csvimport/CsvTextFile.h"

namespace ab {

// The values of one record, in column order.
using CsvRow = std::vector<std::string>;

// Shows a message with an OK button only: the window program's message box,
// the command-line companion's line on stderr.
using CsvMessageFn = std::function<void(std::string_view text, std::string_view caption)>;

// `text` without the spaces and tabs around it.
std::string_view TrimBlanks(std::string_view text);

// The separators a file may use, in the order that wins a tie.
inline constexpr std::string_view kCsvSeparators = ",\t;";

// The separator of a file, from its first record: the one of kCsvSeparators
// that stands most often outside quoted values (a comma when none does).
char DetectSeparator(std::string_view firstRecord);

// The values of one record's text (its line end excluded): quotes around a
// value dropped, doubled quotes undone, line breaks inside quotes kept. Text
// after a closing quote joins the value; a quote inside an unquoted value is
// an ordinary character. An empty text gives one empty value.
CsvRow SplitCsvRecord(std::string_view text, char separator);

class CsvReader {
 public:
  // Opens the file; when it cannot be read, `showMessage` gets the reason
  // (kCsvOpenErrorText or kCsvTooLargeText) with kCsvOpenErrorCaption and the
  // reader holds no file.
  CsvReader(const std::string& path, const CsvMessageFn& showMessage);

  bool IsOpen() const { return isOpen_; }
  const std::string& fileName() const { return fileName_; }
  CsvCharset charset() const { return text_.charset(); }
  // The separator, once the first record that is not blank has been read.
  char separator() const { return separator_; }

  // The values of the next record; an empty line gives one empty value.
  // False at the end of the file.
  bool NextRow(CsvRow& values);

 private:
  bool ReadRecordText(std::string& text);

  std::string fileName_;
  CsvTextFile text_;
  bool isOpen_ = false;
  char separator_ = '\0';
};

}  // namespace ab
