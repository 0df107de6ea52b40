#pragma once
// The column headings of the mail program's CSV contact export in its two
// editions, as the program file's own strings 5100-5186 (English) and
// 5000-5089 (Traditional Chinese), and how a file's language is told.

#include <span>
#include <string>
#include <string_view>

namespace ab {

inline constexpr std::string_view kLanguageEnglish = "ENU";
inline constexpr std::string_view kLanguageChinese = "CHT";
inline constexpr std::string_view kLanguageUnknown = "UNKNOWN";

inline constexpr int kEnglishHeadingFirstId = 5100;
inline constexpr int kEnglishHeadingCount = 87;
inline constexpr int kChineseHeadingFirstId = 5000;
inline constexpr int kChineseHeadingCount = 90;

// A heading is loaded into a slot of 128 bytes, so at most 127 bytes count.
inline constexpr std::size_t kHeadingSlotBytes = 128;

// The headings of a language in position order (position = ID - first ID);
// empty for "UNKNOWN" or any other tag.
std::span<const std::string_view> HeadingTable(std::string_view language);

// A heading as it is compared: without the blanks around it, letters A-Z in
// lower case (other characters as they are).
std::string FoldHeading(std::string_view heading);

// Whether a heading of the file stands for a table entry: equal once folded.
bool HeadingMatches(std::string_view tableEntry, std::string_view heading);

// "CHT" when the heading is one of the Chinese table (compared first, so
// "ISDN", which both tables hold, is Chinese), "ENU" when it is one of the
// English table, otherwise "UNKNOWN".
std::string_view DetectCsvLanguage(std::string_view heading);

// True when a heading of the line, split as the reader splits it, is a
// Chinese table entry that is not plain ASCII: the sign that a legacy file is
// Big5 rather than Windows-1252.
bool IsChineseHeadingRow(std::string_view utf8Line);

}  // namespace ab
