#include "shell/InternetShortcut.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "shell/ShellSandbox.h"

namespace ab {
namespace {

using testing::CallRecord;
using testing::ShellSandbox;

struct HandOverCase {
  const char* label;
  bool mail;
  std::string text;           // URL or address given
  std::string fileBytes;      // expected shortcut file
  std::string openerArgument; // the one argument the opener must get
};

void PrintTo(const HandOverCase& c, std::ostream* os) { *os << c.label; }

class InternetShortcutTest : public ::testing::TestWithParam<HandOverCase> {};

// Each hostile text names a marker file that must never appear.
std::string Marker(const ShellSandbox& sandbox) { return sandbox.Path("marker"); }

TEST_P(InternetShortcutTest, WritesShortcutAndHandsOverOneArgument) {
  ShellSandbox sandbox;
  const HandOverCase& c = GetParam();
  auto expand = [&](std::string text) {
    for (std::size_t at; (at = text.find("MARKER")) != std::string::npos;) text.replace(at, 6, Marker(sandbox));
    return text;
  };
  const std::string text = expand(c.text);

  const int result = c.mail ? ComposeMailTo(text) : OpenWebPage(text);
  EXPECT_EQ(result, 1);

  const std::vector<CallRecord> calls = sandbox.WaitForCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].arguments, std::vector<std::string>{expand(c.openerArgument)});

  const std::string file = sandbox.TempDir() + (c.mail ? "/ostrel.url" : "/vtwww.url");
  EXPECT_EQ(ShellSandbox::ReadFile(file), expand(c.fileBytes));
  EXPECT_FALSE(std::filesystem::exists(Marker(sandbox))) << "a text ran a command";
}

const HandOverCase kHandOverCases[] = {
    {"PlainWebPage", false, "http://www.vantoro.com/",
     "[InternetShortCut]\r\nURL=http://www.vantoro.com/\r\n", "http://www.vantoro.com/"},
    {"UrlKeptUnchanged", false, "www.example.com/a b?x=%20&y='z'",
     "[InternetShortCut]\r\nURL=www.example.com/a b?x=%20&y='z'\r\n", "www.example.com/a b?x=%20&y='z'"},
    {"Utf8", false, "http://例え.jp/李",
     "[InternetShortCut]\r\nURL=http://例え.jp/李\r\n", "http://例え.jp/李"},
    {"EmptyUrl", false, "", "[InternetShortCut]\r\nURL=\r\n", ""},
    {"EndsAtZeroByte", false, std::string("http://a/\0rest", 14),
     "[InternetShortCut]\r\nURL=http://a/\r\n", "http://a/"},
    {"CommandSubstitution", false, "http://x/$(touch MARKER)",
     "[InternetShortCut]\r\nURL=http://x/$(touch MARKER)\r\n", "http://x/$(touch MARKER)"},
    {"Backticks", false, "http://x/`touch MARKER`",
     "[InternetShortCut]\r\nURL=http://x/`touch MARKER`\r\n", "http://x/`touch MARKER`"},
    {"Semicolon", false, "http://x/; touch MARKER",
     "[InternetShortCut]\r\nURL=http://x/; touch MARKER\r\n", "http://x/; touch MARKER"},
    {"QuotesClosed", false, "x'\"; touch MARKER; echo '\"",
     "[InternetShortCut]\r\nURL=x'\"; touch MARKER; echo '\"\r\n", "x'\"; touch MARKER; echo '\""},
    {"OptionLike", false, "--manual", "[InternetShortCut]\r\nURL=--manual\r\n", "--manual"},
    // A URL has no line breaks: a value cannot add lines to the file.
    {"LineBreaks", false, "http://x/\r\n[Other]\nURL=file:///etc",
     "[InternetShortCut]\r\nURL=http://x/[Other]URL=file:///etc\r\n", "http://x/[Other]URL=file:///etc"},
    {"PlainMail", true, "ann@example.com",
     "[InternetShortCut]\r\nURL=mailto:ann@example.com\r\n", "mailto:ann@example.com"},
    {"MailWithQuery", true, "a b@x.org?subject=Hi there&body=1",
     "[InternetShortCut]\r\nURL=mailto:a b@x.org?subject=Hi there&body=1\r\n",
     "mailto:a b@x.org?subject=Hi there&body=1"},
    {"HostileMail", true, "a@b.c$(touch MARKER);touch MARKER",
     "[InternetShortCut]\r\nURL=mailto:a@b.c$(touch MARKER);touch MARKER\r\n",
     "mailto:a@b.c$(touch MARKER);touch MARKER"},
};

std::string CaseName(const ::testing::TestParamInfo<HandOverCase>& param) { return param.param.label; }

INSTANTIATE_TEST_SUITE_P(Shell, InternetShortcutTest, ::testing::ValuesIn(kHandOverCases), CaseName);

TEST(InternetShortcut, NextCallOverwritesTheFileOfItsKindOnly) {
  ShellSandbox sandbox;
  ASSERT_EQ(OpenWebPage("http://a-rather-long-address.example.com/first/page"), 1);
  ASSERT_EQ(ComposeMailTo("ann@example.com"), 1);
  ASSERT_EQ(OpenWebPage("http://b/"), 1);
  EXPECT_EQ(sandbox.WaitForCalls(3).size(), 3u);

  EXPECT_EQ(ShellSandbox::ReadFile(sandbox.TempDir() + "/vtwww.url"), "[InternetShortCut]\r\nURL=http://b/\r\n");
  EXPECT_EQ(ShellSandbox::ReadFile(sandbox.TempDir() + "/ostrel.url"),
            "[InternetShortCut]\r\nURL=mailto:ann@example.com\r\n");
}

TEST(InternetShortcut, WithoutOpenerOnPathNothingStartsAndResultIsZero) {
  ShellSandbox sandbox;
  EXPECT_TRUE(CanOpenInternetShortcuts());
  sandbox.RemoveOpenerFromPath();
  EXPECT_FALSE(CanOpenInternetShortcuts());

  EXPECT_EQ(OpenWebPage("http://a/"), 0);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
  // The shortcut is written before the hand-over is tried.
  EXPECT_EQ(ShellSandbox::ReadFile(sandbox.TempDir() + "/vtwww.url"), "[InternetShortCut]\r\nURL=http://a/\r\n");
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST(InternetShortcut, MissingTemporaryFolderGivesZero) {
  ShellSandbox sandbox;
  sandbox.SetTempFolder(sandbox.Path("no-such-folder"));
  EXPECT_EQ(OpenWebPage("http://a/"), 0);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("no-such-folder")));
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST(InternetShortcut, ShortcutPathIsBoundedBy260Bytes) {
  ShellSandbox sandbox;
  // folder + "/vtwww.url" (10 bytes) + terminator must fit 260 bytes.
  const std::string fits = sandbox.MakeFolderOfLength(249);
  const std::string tooLong = sandbox.MakeFolderOfLength(250);
  ASSERT_EQ(fits.size(), 249u);
  ASSERT_EQ(tooLong.size(), 250u);

  sandbox.SetTempFolder(fits);
  EXPECT_EQ(OpenWebPage("http://fits/"), 1);
  EXPECT_EQ(ShellSandbox::ReadFile(fits + "/vtwww.url"), "[InternetShortCut]\r\nURL=http://fits/\r\n");
  EXPECT_EQ(sandbox.WaitForCalls(1).size(), 1u);
  sandbox.ForgetCalls();

  sandbox.SetTempFolder(tooLong);
  EXPECT_EQ(OpenWebPage("http://too-long/"), 0);
  EXPECT_FALSE(std::filesystem::exists(tooLong + "/vtwww.url"));
  // The mail file's name is one byte longer.
  sandbox.SetTempFolder(fits);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
  EXPECT_FALSE(std::filesystem::exists(fits + "/ostrel.url"));
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST(InternetShortcut, WithoutAPrivateRuntimeFolderAFolderOfTheUsersOwnIsMade) {
  ShellSandbox sandbox;
  ::chmod(sandbox.TempDir().c_str(), 0755);  // others may enter: not the user's own
  ASSERT_EQ(OpenWebPage("http://a/"), 1);
  const std::string own = sandbox.TempDir() + "/addressbook-" + std::to_string(::getuid());
  EXPECT_EQ(ShellSandbox::ReadFile(own + "/vtwww.url"), "[InternetShortCut]\r\nURL=http://a/\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(own.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  if (::geteuid() == 0) {  // only root can make a file that belongs to someone else
    ShellSandbox::WriteFile(own + "/ostrel.url", "planted");
    ASSERT_EQ(::chown((own + "/ostrel.url").c_str(), 65534, 65534), 0);
    EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);
    EXPECT_EQ(ShellSandbox::ReadFile(own + "/ostrel.url"), "planted");
  }
}

TEST(InternetShortcut, PlantedLinkOrPipeIsRefusedNotFollowed) {
  ShellSandbox sandbox;
  const std::string victim = sandbox.Path("victim.txt");
  ShellSandbox::WriteFile(victim, "precious");
  std::filesystem::create_symlink(victim, sandbox.TempDir() + "/vtwww.url");
  ASSERT_EQ(::mkfifo((sandbox.TempDir() + "/ostrel.url").c_str(), 0600), 0);

  EXPECT_EQ(OpenWebPage("http://a/"), 0);
  EXPECT_EQ(ComposeMailTo("ann@example.com"), 0);  // and does not block on the pipe
  EXPECT_EQ(ShellSandbox::ReadFile(victim), "precious");
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

}  // namespace
}  // namespace ab
