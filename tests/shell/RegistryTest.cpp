#include "shell/Registry.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "shell/RegistryStore.h"
#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::ShellSandbox;

TEST(Registry, KeysAndNamesMatchRegardlessOfCaseAndEverythingElseIsKept) {
  ShellSandbox sandbox;
  std::filesystem::create_directories(sandbox.Path("config/Vantoro"));
  ShellSandbox::Write(sandbox.RegistryFile(), "[App Paths\\Ostrel]\r\nPath=/opt/ostrel\r\n[Empty Key]\r\n");
  ASSERT_EQ(WriteRegistryText("Software\\Vantoro", "e-mail address", "first"), kErrorSuccess);
  ASSERT_EQ(WriteRegistryText("SOFTWARE\\vantoro", "E-Mail Address", std::string("a\n%41\0hidden", 12)), 0);
  std::string out;
  EXPECT_EQ(ReadRegistryValue("sOfTwArE\\VANTORO", "E-MAIL ADDRESS", out), kErrorSuccess);
  EXPECT_EQ(out, "a\n%41");
  EXPECT_EQ(testing::TempFolder::Read(sandbox.RegistryFile()),
            "; Registry keys shared by the Vantoro programs of this user.\n"
            "\n[App Paths\\Ostrel]\nPath=/opt/ostrel\n\n[Empty Key]\n"
            "\n[Software\\Vantoro]\ne-mail address=a%0A%2541\n");
}


TEST(Registry, StoreLivesUnderAnAbsoluteConfigHome) {
  ShellSandbox sandbox;
  for (const char* unusable : {"relative", ""}) {
    ::setenv("XDG_CONFIG_HOME", unusable, 1);
    EXPECT_EQ(RegistryFilePath().toStdString(), sandbox.Path("home/.config/Vantoro/registry.ini"));
  }
}

}  // namespace
}  // namespace ab
