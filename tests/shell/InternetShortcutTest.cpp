#include "shell/InternetShortcut.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::ShellSandbox;

std::string Shortcut(const std::string& url) { return "[InternetShortCut]\r\nURL=" + url + "\r\n"; }

constexpr int kNoOpener = 1, kNoFolder = 2;  // or the length of the folder's path

// The text goes into the shortcut file and, as one argument, to the opener; no
// text runs anything (each hostile one would create the marker file). Without an
// opener the file is written but nothing starts; without a folder, or when the
// file's path would not fit in 260 bytes, nothing is written.
TEST(InternetShortcut, WritesTheFileOfItsKindAndHandsOverOneArgument) {
  // url: what the file holds and the opener gets
  struct Case { int folder; bool mail; std::string text, url; int result; };
  const Case cases[] = {
      {0, false, std::string("http://a/\0rest", 14), "http://a/", 1},
      {0, false, "http://x/\r\n[Other]\nURL=file:///etc", "http://x/[Other]URL=file:///etc", 1},
      {0, false, "x/$(touch MARKER)`touch MARKER`'\"; touch MARKER", "x/$(touch MARKER)`touch MARKER`'\"; touch MARKER", 1},
      {0, false, "--manual", "--manual", 1},
      {0, true, "a b@x.org?subject=Hi;touch MARKER", "mailto:a b@x.org?subject=Hi;touch MARKER", 1},
      {kNoOpener, false, "http://a/", "http://a/", 0},
      {kNoFolder, true, "ann@example.com", "", 0},
      {249, false, "http://fits/", "http://fits/", 1},  // + "/vtwww.url" + terminator = 260
      {250, false, "http://too-long/", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ShellSandbox sandbox;
    ASSERT_EQ(::chdir(sandbox.TempDir().c_str()), 0);
    std::string folder = c.folder == kNoFolder ? sandbox.Path("no-such-folder") : sandbox.TempDir();
    if (c.folder > kNoFolder) folder = sandbox.MakeFolderOfLength(static_cast<std::size_t>(c.folder));
    ShellSandbox::SetTempFolder(folder);
    if (c.folder == kNoOpener) sandbox.RemoveOpenerFromPath();
    EXPECT_EQ(CanOpenInternetShortcuts(), c.folder != kNoOpener);
    EXPECT_EQ(c.mail ? ComposeMailTo(c.text) : OpenWebPage(c.text), c.result);
    EXPECT_EQ(sandbox.Calls(c.result), c.result ? std::vector<std::string>{c.url + "\n"} : std::vector<std::string>{});
    const std::string file = folder + (c.mail ? "/ostrel.url" : "/vtwww.url");
    EXPECT_EQ(c.url.empty() ? std::filesystem::exists(file) : testing::TempFolder::Read(file) != Shortcut(c.url), false);
    EXPECT_EQ(std::filesystem::exists(folder), c.folder != kNoFolder) << "a missing folder is not made";
    EXPECT_FALSE(std::filesystem::exists(sandbox.TempDir() + "/MARKER"));
    ASSERT_EQ(::chdir("/"), 0);
  }
}

// Under the fixed names, a planted link, a pipe or another user's file is refused, not followed.
TEST(InternetShortcut, OnlyAFolderAndFilesOfTheUsersOwnAreUsed) {
  ShellSandbox sandbox;
  ShellSandbox::Write(sandbox.Path("victim"), "precious");
  std::filesystem::create_symlink(sandbox.Path("victim"), sandbox.TempDir() + "/vtwww.url");
  ASSERT_EQ(::mkfifo((sandbox.TempDir() + "/ostrel.url").c_str(), 0600), 0);
  EXPECT_EQ(OpenWebPage("http://a/"), 0);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);  // and does not block on the pipe
  EXPECT_EQ(testing::TempFolder::Read(sandbox.Path("victim")), "precious");
  EXPECT_TRUE(sandbox.Calls(0).empty());

  ::chmod(sandbox.TempDir().c_str(), 0755);  // others may enter: a folder of its own is made
  const std::string own = sandbox.TempDir() + "/addressbook-" + std::to_string(::getuid());
  ::mkdir(own.c_str(), 0755);
  ASSERT_EQ(OpenWebPage("http://a/"), 1);
  EXPECT_EQ(testing::TempFolder::Read(own + "/vtwww.url"), Shortcut("http://a/"));
  EXPECT_EQ(sandbox.Calls(1).size(), 1u);
  struct stat info {};
  EXPECT_TRUE(::stat(own.c_str(), &info) == 0 && (info.st_mode & 0777) == 0700);
  if (::geteuid() == 0) {  // only root can plant a file that belongs to someone else
    ShellSandbox::Write(own + "/ostrel.url", "planted");
    ASSERT_EQ(::chown((own + "/ostrel.url").c_str(), 65534, 65534), 0);
    EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
    EXPECT_EQ(testing::TempFolder::Read(own + "/ostrel.url"), "planted");
  }
}

}  // namespace
}  // namespace ab
