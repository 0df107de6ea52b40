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

// The text goes into the shortcut file and, as one argument, to the opener;
// no text runs anything (each hostile one would create the marker file).
TEST(InternetShortcut, WritesTheFileOfItsKindAndHandsOverOneArgument) {
  struct Case {
    bool mail;
    std::string text;
    std::string url;
  };
  const Case cases[] = {
      {false, "http://a-long-address.example.com/first/page", "http://a-long-address.example.com/first/page"},
      {false, "http://例え.jp/a b?x=%20&y='z'", "http://例え.jp/a b?x=%20&y='z'"},
      {false, std::string("http://a/\0rest", 14), "http://a/"},
      {false, "http://x/\r\n[Other]\nURL=file:///etc", "http://x/[Other]URL=file:///etc"},
      {false, "x/$(touch MARKER)`touch MARKER`'\"; touch MARKER", "x/$(touch MARKER)`touch MARKER`'\"; touch MARKER"},
      {false, "--manual", "--manual"},
      {true, "a b@x.org?subject=Hi;touch MARKER", "mailto:a b@x.org?subject=Hi;touch MARKER"},
  };
  ShellSandbox sandbox;
  ASSERT_EQ(::chdir(sandbox.TempDir().c_str()), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(c.mail ? ComposeMailTo(c.text) : OpenWebPage(c.text), 1);
    EXPECT_EQ(sandbox.Calls(1), std::vector<std::string>{c.url + "\n"});
    EXPECT_EQ(ShellSandbox::Read(sandbox.TempDir() + (c.mail ? "/ostrel.url" : "/vtwww.url")), Shortcut(c.url));
    EXPECT_FALSE(std::filesystem::exists(sandbox.TempDir() + "/MARKER"));
  }
  EXPECT_EQ(ShellSandbox::Read(sandbox.TempDir() + "/vtwww.url"), Shortcut("--manual"));
  ASSERT_EQ(::chdir("/"), 0);
}

TEST(InternetShortcut, WithoutOpenerOrFolderNothingStarts) {
  ShellSandbox sandbox;
  EXPECT_TRUE(CanOpenInternetShortcuts());
  sandbox.RemoveOpenerFromPath();
  EXPECT_FALSE(CanOpenInternetShortcuts());
  EXPECT_EQ(OpenWebPage("http://a/"), 0);
  EXPECT_EQ(ShellSandbox::Read(sandbox.TempDir() + "/vtwww.url"), Shortcut("http://a/"));  // written first

  ShellSandbox::SetTempFolder(sandbox.Path("no-such-folder"));
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("no-such-folder")));
  EXPECT_TRUE(sandbox.Calls(0).empty());
}

TEST(InternetShortcut, ShortcutPathIsBoundedBy260Bytes) {
  ShellSandbox sandbox;
  const std::string fits = sandbox.MakeFolderOfLength(249);  // + "/vtwww.url" + terminator = 260
  const std::string tooLong = sandbox.MakeFolderOfLength(250);
  ASSERT_EQ(fits.size() + tooLong.size(), 499u);
  ShellSandbox::SetTempFolder(fits);
  EXPECT_EQ(OpenWebPage("http://fits/"), 1);
  EXPECT_EQ(sandbox.Calls(1).size(), 1u);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);  // "/ostrel.url" is one byte longer
  ShellSandbox::SetTempFolder(tooLong);
  EXPECT_EQ(OpenWebPage("http://too-long/"), 0);
  EXPECT_FALSE(std::filesystem::exists(tooLong + "/vtwww.url"));
  EXPECT_TRUE(sandbox.Calls(0).empty());
}

// Under the fixed names, a planted link, a pipe or another user's file is refused, not followed.
TEST(InternetShortcut, OnlyAFolderAndFilesOfTheUsersOwnAreUsed) {
  ShellSandbox sandbox;
  ShellSandbox::Write(sandbox.Path("victim"), "precious");
  std::filesystem::create_symlink(sandbox.Path("victim"), sandbox.TempDir() + "/vtwww.url");
  ASSERT_EQ(::mkfifo((sandbox.TempDir() + "/ostrel.url").c_str(), 0600), 0);
  EXPECT_EQ(OpenWebPage("http://a/"), 0);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);  // and does not block on the pipe
  EXPECT_EQ(ShellSandbox::Read(sandbox.Path("victim")), "precious");
  EXPECT_TRUE(sandbox.Calls(0).empty());

  ::chmod(sandbox.TempDir().c_str(), 0755);  // others may enter: a folder of its own is made
  const std::string own = sandbox.TempDir() + "/addressbook-" + std::to_string(::getuid());
  ::mkdir(own.c_str(), 0755);
  ASSERT_EQ(OpenWebPage("http://a/"), 1);
  EXPECT_EQ(ShellSandbox::Read(own + "/vtwww.url"), Shortcut("http://a/"));
  EXPECT_EQ(sandbox.Calls(1).size(), 1u);
  struct stat info {};
  EXPECT_TRUE(::stat(own.c_str(), &info) == 0 && (info.st_mode & 0777) == 0700);
  if (::geteuid() == 0) {  // only root can plant a file that belongs to someone else
    ShellSandbox::Write(own + "/ostrel.url", "planted");
    ASSERT_EQ(::chown((own + "/ostrel.url").c_str(), 65534, 65534), 0);
    EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
    EXPECT_EQ(ShellSandbox::Read(own + "/ostrel.url"), "planted");
  }
}

}  // namespace
}  // namespace ab
