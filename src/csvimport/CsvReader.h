#pragma once
// The reader of a quoted CSV contact export: logical rows one at a time and
// the values off a row one at a time. It is not general CSV: its rules are
// position tests on the first and last double quote and comma of a line.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "csvimport/CsvTextFile.h"

namespace ab {

// NextField's answer when no value can be taken; callers stop at the first
// value equal to it.
inline constexpr std::string_view kEndOfFields = "!@#";

// The reader's one message, a text of the program itself.
inline constexpr std::string_view kCsvOpenErrorText = "can not open CSV file";
inline constexpr std::string_view kCsvOpenErrorCaption = "IMPORT ERROR";

// Shows a message with an OK button only: the window program's message box,
// the command-line companion's line on stderr.
using CsvMessageFn = std::function<void(std::string_view text, std::string_view caption)>;

class CsvReader {
 public:
  // One read takes a line up to its line feed but at most this many bytes
  // less one; the rest of a longer line comes as a line of its own.
  static constexpr std::size_t kLineBufferBytes = 1500;

  // Opens the file; when it cannot be opened, `showMessage` gets
  // "can not open CSV file" / "IMPORT ERROR" and the reader holds no file.
  CsvReader(const std::string& path, const CsvMessageFn& showMessage);

  bool IsOpen() const { return isOpen_; }
  const std::string& fileName() const { return fileName_; }
  CsvCharset charset() const { return text_.charset(); }

  // The next logical row, valid until the next call; NextField consumes it.
  // An empty row means the end of the file.
  std::string& NextRow();

  // Takes the next value off the front of `row` and shortens the row by the
  // value and its separator; kEndOfFields, with `row` unchanged, when no
  // value can be taken.
  static std::string NextField(std::string& row);

  // The line's last value is a quoted value opened and closed on it (or the
  // line holds no double quote and no comma).
  static bool IsRowComplete(std::string_view line);
  // Asked of a line that is not complete: the following lines are to be
  // searched for the one that closes its last value.
  static bool NeedsContinuation(std::string_view line);
  // The line's first double quote is immediately followed by a comma.
  static bool IsClosingLine(std::string_view line);

  // Reads on to the next closing line, dropping the lines before it, and
  // returns it; empty when the file ends first.
  std::string FindClosingLine();

 private:
  bool ReadLine(std::string& line) { return text_.ReadLine(line, kLineBufferBytes - 1); }

  std::string fileName_;
  CsvTextFile text_;
  bool isOpen_ = false;
  std::string row_;
  std::string continuationBuffer_;
};

}  // namespace ab
