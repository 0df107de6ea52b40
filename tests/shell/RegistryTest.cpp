#include "shell/Registry.h"

#include <filesystem>
#include <string>

#include <QtGlobal>

#include <gtest/gtest.h>

#include "shell/RegistryStore.h"
#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::ShellSandbox;

int debugLines = 0;
void CountDebugLine(QtMsgType type, const QMessageLogContext&, const QString& text) {
  debugLines += (type == QtDebugMsg && text == QLatin1String("Loop more than 10 times")) ? 1 : 0;
}

TEST(Registry, KeysAndNamesMatchRegardlessOfCaseAndEverythingElseIsKept) {
  ShellSandbox sandbox;
  std::filesystem::create_directories(sandbox.Path("config/Vantoro"));
  ShellSandbox::Write(sandbox.RegistryFile(), "[App Paths\\Ostrel]\r\nPath=/opt/ostrel\r\n[Empty Key]\r\n");
  ASSERT_EQ(WriteRegistryText("Software\\Vantoro", "e-mail address", "first"), kErrorSuccess);
  ASSERT_EQ(WriteRegistryText("SOFTWARE\\vantoro", "E-Mail Address", std::string("a\n%41\0hidden", 12)), 0);
  std::string out;
  EXPECT_EQ(ReadRegistryValue("sOfTwArE\\VANTORO", "E-MAIL ADDRESS", out), kErrorSuccess);
  EXPECT_EQ(out, "a\n%41");
  EXPECT_EQ(ShellSandbox::Read(sandbox.RegistryFile()),
            "; Registry keys shared by the Vantoro programs of this user.\n"
            "\n[App Paths\\Ostrel]\nPath=/opt/ostrel\n\n[Empty Key]\n"
            "\n[Software\\Vantoro]\ne-mail address=a%0A%2541\n");
}

// The value is read in blocks growing by 100 bytes up to 1000, into a 260-byte
// buffer; a loop that reaches its tenth attempt says so, even when it succeeds.
TEST(Registry, ReadResultsFollowTheValueLength) {
  // The value's length (-1: no such value), the result, the debug lines.
  const std::tuple<int, int, int> cases[] = {{0, kErrorSuccess, 0}, {259, kErrorSuccess, 0}, {260, kErrorInvalidParameter, 0},
                                             {1000, kErrorMoreData, 1}, {-1, kErrorFileNotFound, 1}};
  ShellSandbox sandbox;
  const QtMessageHandler previous = qInstallMessageHandler(CountDebugLine);
  for (const auto& [length, result, lines] : cases) {
    SCOPED_TRACE(length);
    const std::string text(static_cast<std::size_t>(std::max(length, 0)), 'p');
    ASSERT_EQ(WriteRegistryText("K", length < 0 ? "other" : "v", text), kErrorSuccess);
    debugLines = 0;
    std::string out = "untouched";
    EXPECT_EQ(ReadRegistryValue("K", "v", out), result);
    EXPECT_EQ(out + std::to_string(debugLines), (result == kErrorSuccess ? text : "untouched") + std::to_string(lines));
    std::filesystem::remove(sandbox.RegistryFile());
  }
  std::string out;
  EXPECT_EQ(ReadRegistryValue("No Such Key", "v", out), kErrorFileNotFound);
  qInstallMessageHandler(previous);
}

TEST(Registry, StoreLivesUnderAnAbsoluteConfigHomeAndUnusableStoresAreRefused) {
  ShellSandbox sandbox;
  for (const char* unusable : {"relative", ""}) {
    ::setenv("XDG_CONFIG_HOME", unusable, 1);
    EXPECT_EQ(RegistryFilePath().toStdString(), sandbox.Path("home/.config/Vantoro/registry.ini"));
  }
  ::setenv("XDG_CONFIG_HOME", sandbox.Path("config").c_str(), 1);
  std::filesystem::create_directories(sandbox.RegistryFile());  // its name is taken by a folder
  std::string out = "untouched";
  EXPECT_EQ(WriteRegistryText("K", "v", "x"), kErrorAccessDenied);
  EXPECT_EQ(ReadRegistryValue("K", "v", out), kErrorAccessDenied);
  EXPECT_TRUE(out == "untouched" && std::filesystem::is_directory(sandbox.RegistryFile()));
  ShellSandbox::Write(sandbox.Path("config-file"), "");
  ::setenv("XDG_CONFIG_HOME", sandbox.Path("config-file").c_str(), 1);  // the store's folder cannot be made
  EXPECT_EQ(WriteRegistryText("K", "v", "x"), kErrorAccessDenied);
}

}  // namespace
}  // namespace ab
