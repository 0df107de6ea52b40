#include "shell/SiblingMail.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "shell/Registry.h"
#include "shell/DebugLines.h"
#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::DebugLines;
using testing::ShellSandbox;

constexpr char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel";
constexpr char kHandOver[] = "Software\\Vantoro\\ZiziZizi";

std::string HandOverValue() {
  std::string out = "<unset>";
  ReadRegistryValue(kHandOver, "e-mail address", out);
  return out;
}

// A recording sibling program in `folder` that also copies the registry store
// as it finds it on start.
void InstallSibling(const ShellSandbox& sandbox, const std::string& folder) {
  sandbox.InstallRecorder(folder + "/OSTREL_SKIN_UI.exe", "cat '" + sandbox.RegistryFile() + "'");
}

TEST(SiblingMail, NotInstalledStillLeavesTheAddressAndGivesZero) {
  ShellSandbox sandbox;
  EXPECT_EQ(SendViaSiblingMail("ann@example.com"), 0);
  EXPECT_EQ(HandOverValue(), "ann@example.com");

  // A second address replaces the first.
  EXPECT_EQ(SendViaSiblingMail("bob@example.com"), 0);
  EXPECT_EQ(HandOverValue(), "bob@example.com");
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST(SiblingMail, StartsTheProgramInThePathFolderWithoutArgumentsAndTheAddressInPlace) {
  ShellSandbox sandbox;
  const std::string folder = sandbox.Path("Ostrel Program");  // no trailing slash
  InstallSibling(sandbox, folder);
  ASSERT_EQ(WriteRegistryText(kAppPaths, "Path", folder), 0);

  EXPECT_EQ(SendViaSiblingMail("ann@example.com; $(touch x)"), 1);
  const auto calls = sandbox.WaitForCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].arguments.empty());
  // The program found the address already in place when it started.
  EXPECT_NE(calls[0].extra.find("[Software\\Vantoro\\ZiziZizi]\ne-mail address=ann@example.com; $(touch x)\n"),
            std::string::npos)
      << calls[0].extra;
}

TEST(SiblingMail, MissingOrUnusablePathValueStartsNothing) {
  struct Case {
    const char* label;
    const char* storeText;  // registry.ini as the installer left it, or null for none
    int debugLines;
  };
  const Case cases[] = {
      {"no store", nullptr, 0},
      {"no App Paths key", "[Software\\Other]\nPath=/x\n", 0},
      {"key without Path", "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel]\nOther=1\n", 1},
      {"empty Path", "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel]\nPath=\n", 0},
      {"folder without the program", "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel]\nPath=/nonexistent\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ShellSandbox sandbox;
    if (c.storeText) {
      std::filesystem::create_directories(sandbox.Path("config/Vantoro"));
      ShellSandbox::WriteFile(sandbox.RegistryFile(), c.storeText);
    }
    DebugLines debug;
    EXPECT_EQ(SendViaSiblingMail("ann@example.com"), 0);
    EXPECT_EQ(DebugLines::Count(QStringLiteral("Loop more than 10 times")), c.debugLines);
    EXPECT_EQ(HandOverValue(), "ann@example.com");
    EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
  }
}

TEST(SiblingMail, ProgramThatCannotRunGivesZero) {
  ShellSandbox sandbox;
  const std::string folder = sandbox.Path("ostrel");
  std::filesystem::create_directories(folder);
  ShellSandbox::WriteFile(folder + "/OSTREL_SKIN_UI.exe", "not a program");  // not executable
  ASSERT_EQ(WriteRegistryText(kAppPaths, "Path", folder), 0);
  EXPECT_EQ(SendViaSiblingMail("ann@example.com"), 0);
}

TEST(SiblingMail, LongFoldersAreRefusedNotCut) {
  // folder + "/OSTREL_SKIN_UI.exe" (19 bytes) + terminator must fit 260 bytes,
  // and the folder itself must fit the 260-byte value buffer.
  struct Case {
    std::size_t folderLength;
    bool folderFound;
    int result;
  };
  const Case cases[] = {{240, true, 1}, {241, true, 0}, {259, true, 0}, {260, false, 0}, {600, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folderLength);
    ShellSandbox sandbox;
    const std::string folder = sandbox.MakeFolderOfLength(c.folderLength);
    ASSERT_EQ(folder.size(), c.folderLength);
    InstallSibling(sandbox, folder);
    ASSERT_EQ(WriteRegistryText(kAppPaths, "Path", folder), 0);

    std::string found = "previous text";
    EXPECT_EQ(FindSiblingMailFolder(found), c.folderFound);
    EXPECT_EQ(found, c.folderFound ? folder : "");

    EXPECT_EQ(SendViaSiblingMail("ann@example.com"), c.result);
    if (c.result == 1) {
      EXPECT_EQ(sandbox.WaitForCalls(1).size(), 1u);
    } else {
      EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
    }
  }
}

}  // namespace
}  // namespace ab
