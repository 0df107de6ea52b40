#include "shell/ShortcutText.h"

#include "shell/ShellNames.h"

namespace ab {

namespace {

// Text mode: every line feed reaches the disk as carriage return and line feed.
void AppendTextMode(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
}

}  // namespace

std::string HandedOverUrl(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  std::string url;
  url.reserve(value.size());
  for (const char c : value)
    if (c != '\r' && c != '\n') url += c;
  return url;
}

std::string ShortcutFileText(std::string_view value) {
  std::string text;
  AppendTextMode(text, kShortcutSectionLine);
  AppendTextMode(text, kShortcutUrlPrefix);
  AppendTextMode(text, HandedOverUrl(value));
  AppendTextMode(text, "\n");
  return text;
}

}  // namespace ab
