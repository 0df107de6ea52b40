#pragma once
// The text of an internet shortcut file, as it reaches the disk. No Qt: the
// fuzzer builds it without the rest of the shell hand-over.

#include <string>
#include <string_view>

namespace ab {

// The URL as it is handed over: up to its first zero byte, without carriage
// returns and line feeds (a URL has none, and a value must not add lines).
std::string HandedOverUrl(std::string_view value);

// "[InternetShortCut]" and "URL=" followed by HandedOverUrl(value), each
// line ended by CR LF as text mode writes it.
std::string ShortcutFileText(std::string_view value);

}  // namespace ab
