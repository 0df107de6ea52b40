#include "shell/RegistryIni.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ab {
namespace {

struct Flat {
  std::string key;
  std::string name;
  std::string text;
  bool operator==(const Flat&) const = default;
};

std::vector<Flat> Flatten(const std::vector<RegistryKey>& keys) {
  std::vector<Flat> flat;
  for (const RegistryKey& key : keys) {
    if (key.values.empty()) flat.push_back({key.path, "<no values>", ""});
    for (const RegistryValue& value : key.values) flat.push_back({key.path, value.name, value.text});
  }
  return flat;
}

void PrintTo(const Flat& f, std::ostream* os) { *os << "{" << f.key << " | " << f.name << " | " << f.text << "}"; }

TEST(RegistryIni, ReadsHandWrittenFiles) {
  struct Case {
    const char* label;
    std::string text;
    std::vector<Flat> expected;
  };
  const Case cases[] = {
      {"CR LF lines, comments and blank lines",
       "; made by the installer\r\n# another comment\r\n\r\n[App]\r\nPath=/opt/ostrel\r\n",
       {{"App", "Path", "/opt/ostrel"}}},
      {"nothing trimmed", "[ K ]\n Path = /x \n", {{" K ", " Path ", " /x "}}},
      {"first '=' ends the name", "[K]\nname=a=b==\n", {{"K", "name", "a=b=="}}},
      {"lone percent signs stand for themselves", "[K]\nv=100% %zz %4\n", {{"K", "v", "100% %zz %4"}}},
      {"escapes", "[A%5Db]\nn%3De=x%0D%0Ay%25\n", {{"A]b", "n=e", "x\r\ny%"}}},
      {"values before any key are ignored", "orphan=1\n[K]\nv=1\n", {{"K", "v", "1"}}},
      {"an unclosed section opens no key", "[K]\nv=1\n[broken\nw=2\n", {{"K", "v", "1"}}},
      {"lines without '=' are ignored", "[K]\njunk\nv=1\n", {{"K", "v", "1"}}},
      {"a repeated key is one key, the last text wins",
       "[K]\nv=1\n[Other]\n[k]\nV=2\nw=3\n",
       {{"K", "v", "2"}, {"K", "w", "3"}, {"Other", "<no values>", ""}}},
      {"no final line break", "[K]\nv=1", {{"K", "v", "1"}}},
      {"empty key path and empty name", "[]\n=default\n", {{"", "", "default"}}},
      {"empty file", "", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Flatten(ParseRegistryIni(c.text)), c.expected) << c.label;
  }
}

TEST(RegistryIni, FormattedFilesReadBackExactly) {
  std::vector<RegistryKey> keys;
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  keys.push_back({everyByte, {{everyByte, everyByte}, {"[section-like", "; comment-like"}, {"#x", "%41"}}});
  keys.push_back({"[bracketed]", {{"", ""}}});
  keys.push_back({"Empty", {}});
  EXPECT_EQ(Flatten(ParseRegistryIni(FormatRegistryIni(keys))), Flatten(keys));
}

TEST(RegistryIni, QueryValueReportsTheSizeItNeeds) {
  const RegistryKey key{"K", {{"Path", "/opt"}}};
  char block[8] = {};
  std::uint32_t size = 4;
  EXPECT_EQ(key.QueryValue("path", block, size), kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(block[0], '\0');

  size = sizeof block;
  EXPECT_EQ(key.QueryValue("PATH", block, size), kErrorSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::string(block, 5), std::string("/opt\0", 5));

  size = sizeof block;
  EXPECT_EQ(key.QueryValue("Other", block, size), kErrorFileNotFound);
  EXPECT_EQ(size, sizeof block);
}

}  // namespace
}  // namespace ab
