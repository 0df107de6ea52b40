#include "shell/Registry.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/RegistryIni.h"
#include "shell/RegistryStore.h"
#include "shell/DebugLines.h"
#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::DebugLines;
using testing::ShellSandbox;

TEST(Registry, KeyPathsNamesAndTextsComeBackExactly) {
  struct Case {
    std::string key;
    std::string name;
    std::string text;
  };
  const Case cases[] = {
      {"Software\\Vantoro\\ZiziZizi", "e-mail address", "ann@example.com"},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel", "Path", "/opt/ostrel program"},
      {"a/b\\c//d\\\\e", "name/with\\slashes", "C:\\Program Files\\Ostrel"},
      {"Brackets]in[key", "=[;#%41 odd name", "=starts with equals"},
      {"Spaces ", " padded ", "  leading and trailing  "},
      {"Percent%20Key", "%", "100% sure %2"},
      {"Line\nbreak key", "multi\nline\rname", "line one\r\nline two\ttab\x7f"},
      {"Utf8\\李", "名前", "電子メール"},
      {"Empty", "", ""},
  };
  ShellSandbox sandbox;
  for (const Case& c : cases) ASSERT_EQ(WriteRegistryText(c.key, c.name, c.text), kErrorSuccess) << c.key;
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(ReadRegistryValue(c.key, c.name, out), kErrorSuccess) << c.key;
    EXPECT_EQ(out, c.text) << c.key;
  }
  // The first key reads as the sibling program expects it.
  EXPECT_NE(ShellSandbox::ReadFile(sandbox.RegistryFile())
                .find("\n[Software\\Vantoro\\ZiziZizi]\ne-mail address=ann@example.com\n"),
            std::string::npos);
}

TEST(Registry, NamesMatchRegardlessOfCaseAndKeepTheirFirstSpelling) {
  ShellSandbox sandbox;
  ASSERT_EQ(WriteRegistryText("Software\\Vantoro\\ZiziZizi", "e-mail address", "first"), kErrorSuccess);
  ASSERT_EQ(WriteRegistryText("SOFTWARE\\VANTORO\\zizizizi", "E-Mail Address", "second"), kErrorSuccess);
  ASSERT_EQ(WriteRegistryText("software\\vantoro\\ZiziZizi", "Other", "kept"), kErrorSuccess);

  std::string out;
  EXPECT_EQ(ReadRegistryValue("sOfTwArE\\vAnToRo\\ZIZIZIZI", "E-MAIL ADDRESS", out), kErrorSuccess);
  EXPECT_EQ(out, "second");
  EXPECT_EQ(ReadRegistryValue("Software\\Vantoro\\ZiziZizi", "other", out), kErrorSuccess);
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(ShellSandbox::ReadFile(sandbox.RegistryFile()),
            "; Registry keys shared by the Vantoro programs of this user.\n"
            "\n[Software\\Vantoro\\ZiziZizi]\ne-mail address=second\nOther=kept\n");
}

TEST(Registry, TextEndsAtItsFirstZeroByte) {
  ShellSandbox sandbox;
  ASSERT_EQ(WriteRegistryText("K", "v", std::string("ann@x\0hidden", 12)), kErrorSuccess);
  std::string out;
  ASSERT_EQ(ReadRegistryValue("K", "v", out), kErrorSuccess);
  EXPECT_EQ(out, "ann@x");
}

TEST(Registry, ReadResultsFollowTheValueLength) {
  // The out buffer holds 260 bytes with the terminator; blocks grow from 100
  // to 1000 bytes, and only a loop that reaches its tenth attempt says so.
  struct Case {
    std::size_t length;
    int result;
    int queries;
    int debugLines;
  };
  const Case cases[] = {
      {0, kErrorSuccess, 1, 0},   {99, kErrorSuccess, 1, 0},           {100, kErrorSuccess, 2, 0},
      {259, kErrorSuccess, 3, 0}, {260, kErrorInvalidParameter, 3, 0}, {999, kErrorInvalidParameter, 10, 0},
      {1000, kErrorMoreData, 10, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    ShellSandbox sandbox;
    const std::string text(c.length, 'p');
    ASSERT_EQ(WriteRegistryText("K", "v", text), kErrorSuccess);

    DebugLines debug;
    std::string out = "untouched";
    EXPECT_EQ(ReadRegistryValue("K", "v", out), c.result);
    EXPECT_EQ(out, c.result == kErrorSuccess ? text : "untouched");
    EXPECT_EQ(static_cast<int>(DebugLines::Lines().size()), c.debugLines);

    std::vector<RegistryKey> keys;
    ASSERT_EQ(LoadRegistryStore(keys), kErrorSuccess);
    const RegistryKey* key = FindRegistryKey(keys, "K");
    ASSERT_NE(key, nullptr);
    std::vector<std::uint32_t> offered;
    EXPECT_EQ(ReadValueWithRetries(
                  [&](char* block, std::uint32_t& size) {
                    offered.push_back(size);
                    return key->QueryValue("v", block, size);
                  },
                  out),
              c.result);
    ASSERT_EQ(static_cast<int>(offered.size()), c.queries);
    for (std::size_t i = 0; i < offered.size(); ++i) EXPECT_EQ(offered[i], 100u * (i + 1));
  }
}

TEST(Registry, MissingValueCostsTenQueriesAndOneDebugLineMissingKeyNone) {
  ShellSandbox sandbox;
  std::filesystem::create_directories(sandbox.Path("config/Vantoro"));
  ShellSandbox::WriteFile(sandbox.RegistryFile(), "[Key Without Values]\n");

  DebugLines debug;
  std::string out = "untouched";
  EXPECT_EQ(ReadRegistryValue("Key Without Values", "Path", out), kErrorFileNotFound);
  EXPECT_EQ(DebugLines::Lines(), std::vector<QString>{QStringLiteral("Loop more than 10 times")});
  EXPECT_EQ(out, "untouched");

  DebugLines::Lines().clear();
  EXPECT_EQ(ReadRegistryValue("No Such Key", "Path", out), kErrorFileNotFound);
  EXPECT_TRUE(DebugLines::Lines().empty());
  EXPECT_EQ(out, "untouched");

  int queries = 0;
  std::vector<RegistryKey> keys;
  ASSERT_EQ(LoadRegistryStore(keys), kErrorSuccess);
  const RegistryKey* key = FindRegistryKey(keys, "key without values");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(ReadValueWithRetries(
                [&](char* block, std::uint32_t& size) {
                  ++queries;
                  return key->QueryValue("Path", block, size);
                },
                out),
            kErrorFileNotFound);
  EXPECT_EQ(queries, 10);
}

TEST(Registry, TenthAttemptWritesTheDebugLineEvenWhenItSucceeds) {
  DebugLines debug;
  int queries = 0;
  std::string out;
  const int result = ReadValueWithRetries(
      [&](char* block, std::uint32_t& size) {
        if (++queries < 10) return kErrorMoreData;
        block[0] = 'o';
        block[1] = 'k';
        size = 3;
        return kErrorSuccess;
      },
      out);
  EXPECT_EQ(result, kErrorSuccess);
  EXPECT_EQ(out, "ok");
  EXPECT_EQ(DebugLines::Lines().size(), 1u);
}

TEST(Registry, StoreLivesUnderTheConfigHome) {
  ShellSandbox sandbox;
  const std::string home = sandbox.Path("home");
  struct Case {
    std::optional<std::string> configHome;
    std::string expected;
  };
  const Case cases[] = {
      {sandbox.Path("elsewhere"), sandbox.Path("elsewhere/Vantoro/registry.ini")},
      {std::nullopt, home + "/.config/Vantoro/registry.ini"},
      {std::string(), home + "/.config/Vantoro/registry.ini"},
      {std::string("relative/config"), home + "/.config/Vantoro/registry.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    sandbox.SetConfigHome(c.configHome);
    EXPECT_EQ(RegistryFilePath().toStdString(), c.expected);
    ASSERT_EQ(WriteRegistryText("K", "v", c.expected), kErrorSuccess);
    std::string out;
    EXPECT_EQ(ReadRegistryValue("K", "v", out), kErrorSuccess);
    EXPECT_EQ(out, c.expected);
    EXPECT_TRUE(std::filesystem::is_regular_file(c.expected));
  }
}

TEST(Registry, UnusableStoreGivesAccessDeniedAndIsNotReplaced) {
  ShellSandbox sandbox;
  // The store's name is taken by a folder: nothing can be read or written.
  std::filesystem::create_directories(sandbox.RegistryFile());
  std::string out = "untouched";
  EXPECT_EQ(WriteRegistryText("K", "v", "x"), kErrorAccessDenied);
  EXPECT_EQ(ReadRegistryValue("K", "v", out), kErrorAccessDenied);
  EXPECT_EQ(out, "untouched");
  EXPECT_TRUE(std::filesystem::is_directory(sandbox.RegistryFile()));

  // The config home is a file: the store's folder cannot be made.
  ShellSandbox::WriteFile(sandbox.Path("config-file"), "");
  sandbox.SetConfigHome(sandbox.Path("config-file"));
  EXPECT_EQ(WriteRegistryText("K", "v", "x"), kErrorAccessDenied);
  EXPECT_EQ(ReadRegistryValue("K", "v", out), kErrorFileNotFound);
}

TEST(Registry, WritingKeepsEverythingElseInTheStore) {
  ShellSandbox sandbox;
  std::filesystem::create_directories(sandbox.Path("config/Vantoro"));
  ShellSandbox::WriteFile(sandbox.RegistryFile(),
                          "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel]\r\n"
                          "Path=/opt/ostrel\r\n"
                          "[Empty Key]\r\n");
  ASSERT_EQ(WriteRegistryText("Software\\Vantoro\\ZiziZizi", "e-mail address", "ann@example.com"), kErrorSuccess);
  EXPECT_EQ(ShellSandbox::ReadFile(sandbox.RegistryFile()),
            "; Registry keys shared by the Vantoro programs of this user.\n"
            "\n[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel]\nPath=/opt/ostrel\n"
            "\n[Empty Key]\n"
            "\n[Software\\Vantoro\\ZiziZizi]\ne-mail address=ann@example.com\n");
}

}  // namespace
}  // namespace ab
