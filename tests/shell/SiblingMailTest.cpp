#include "shell/SiblingMail.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "shell/Registry.h"
#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::ShellSandbox;

constexpr char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel";

// The address is left in the store first, whatever happens next; the program
// in the registered folder starts without arguments and finds it there.
TEST(SiblingMail, LeavesTheAddressThenStartsTheRegisteredProgram) {
  // folderLength 0: no Path value
  struct Case { std::size_t folderLength; bool executable, folderFound; int result; };
  const Case cases[] = {{0, true, false, 0},   {60, false, true, 0},   {240, true, true, 1},
                        {241, true, true, 0}, {260, true, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folderLength);
    ShellSandbox sandbox;
    const std::string folder = sandbox.MakeFolderOfLength(c.folderLength ? c.folderLength : 60);
    const std::string program = folder + "/OSTREL_SKIN_UI.exe";
    sandbox.InstallRecorder(program, "cat " + sandbox.RegistryFile());
    if (!c.executable) std::filesystem::permissions(program, std::filesystem::perms::owner_read);
    if (c.folderLength) { ASSERT_EQ(WriteRegistryText(kAppPaths, "Path", folder), 0); }

    std::string found = "previous";
    EXPECT_EQ(FindSiblingMailFolder(found), c.folderFound);
    EXPECT_EQ(found, c.folderFound ? folder : "");
    EXPECT_EQ(SendViaSiblingMail("ann@example.com; $(touch x)"), c.result);
    std::string address;
    EXPECT_EQ(ReadRegistryValue("Software\\Vantoro\\ZiziZizi", "e-mail address", address), 0);
    EXPECT_EQ(address, "ann@example.com; $(touch x)");
    const std::vector<std::string> calls = sandbox.Calls(c.result);
    ASSERT_EQ(calls.size(), static_cast<std::size_t>(c.result));
    for (const std::string& call : calls) EXPECT_NE(call.find("\n[Software\\Vantoro\\ZiziZizi]\ne-mail address=ann@"), 0u);
  }
}

}  // namespace
}  // namespace ab
