// Feeds arbitrary text to the shortcut writer: whatever a contact's web page or
// e-mail address holds, the file has exactly the section line and one URL
// line, and the URL line holds the text up to its first zero byte without its
// line breaks.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/ShortcutText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  const std::string text = ab::ShortcutFileText(value);
  constexpr std::string_view kHead = "[InternetShortCut]\r\nURL=";
  Check(text.starts_with(kHead) && text.ends_with("\r\n"));
  const std::string_view url = std::string_view(text).substr(kHead.size(), text.size() - kHead.size() - 2);
  Check(url.find_first_of("\r\n") == std::string_view::npos);
  Check(url == ab::HandedOverUrl(value));
  std::string expected;
  for (const char c : value.substr(0, value.find('\0')))
    if (c != '\r' && c != '\n') expected += c;
  Check(url == expected);
  return 0;
}
