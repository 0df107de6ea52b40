#include "shell/RegistryIni.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ab {
namespace {

// Each key as "[path]" followed by its "name=text" pairs, unescaped.
std::string Flatten(const std::vector<RegistryKey>& keys) {
  std::string flat;
  for (const RegistryKey& key : keys) {
    flat += "[" + key.path + "]";
    for (const RegistryValue& value : key.values) flat += value.name + "=" + value.text + ";";
  }
  return flat;
}

TEST(RegistryIni, ReadsHandWrittenFilesAndItsOwnExactly) {
  const std::pair<std::string, std::string> cases[] = {
      {"; installer\r\n# comment\r\n\r\n[App]\r\nPath=/opt/ostrel\r\n", "[App]Path=/opt/ostrel;"},
      {"[ K ]\n Path = a=b \nv=100% %zz %4", "[ K ] Path = a=b ;v=100% %zz %4;"},
      {"[A%5Db]\nn%3De=x%0D%0Ay%25\n", "[A]b]n=e=x\r\ny%;"},
      {"orphan=1\n[K]\njunk\nv=1\n[broken\nw=2\n", "[K]v=1;"},
      {"[K]\nv=1\n[Other]\n[k]\nV=2\nw=3\n[]\n=d\n", "[K]v=2;w=3;[Other][]=d;"},
  };
  for (const auto& [text, flat] : cases) EXPECT_EQ(Flatten(ParseRegistryIni(text)), flat) << text;
  // What it writes reads back exactly, whatever the bytes.
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::vector<RegistryKey> keys = {
      {everyByte, {{everyByte, everyByte}, {"[section-like", "; comment-like"}, {"#x", "%41"}}},
      {"[bracketed]", {{"", ""}}},
      {"Empty", {}}};
  EXPECT_EQ(Flatten(ParseRegistryIni(FormatRegistryIni(keys))), Flatten(keys));
}

}  // namespace
}  // namespace ab
