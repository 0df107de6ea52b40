#pragma once
// The stored form of the record's texts: a line break (CR LF) is held as the
// bytes 0x01 0x01 and a semicolon as 0x02 0x02, so a value never breaks a
// vCard line or splits a structured value.

#include <string>
#include <string_view>

namespace ab {

inline constexpr char kStoredLineBreak = '\x01';
inline constexpr char kStoredSemicolon = '\x02';

std::string EncodeStoredText(std::string_view plain);
std::string DecodeStoredText(std::string_view stored);

// True for a null pointer or an empty text.
bool IsBlank(const char* text);
inline bool IsBlank(std::string_view text) { return text.empty(); }

// 1-based position of the first `byte` in `text`, or -1.
int CharPosition(std::string_view text, char byte);

}  // namespace ab
