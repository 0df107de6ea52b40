#include "shell/InternetShortcut.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <QString>
#include <QStringList>

#include "shell/Launcher.h"
#include "shell/ShellNames.h"
#include "shell/UserRuntimeFolder.h"

namespace ab {

namespace {

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

// A URL has no line breaks: whatever a value holds cannot add lines to the file.
std::string WithoutLineBreaks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

// Text mode: every line feed reaches the disk as carriage return and line feed.
void AppendTextMode(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The names are fixed, so whatever is found under them is refused rather than
// followed unless it is a plain file of the user's own: a link (which would
// overwrite its target), a pipe (whose opening would block), another user's file.
bool WriteShortcutFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct stat info {};
  const bool written = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid() &&
                       ::ftruncate(fd, 0) == 0 && WriteAll(fd, bytes);
  return (::close(fd) == 0) && written;
}

int HandOverThroughShortcut(const char* fileName, std::string_view value) {
  const std::string folder = UserRuntimeFolder();
  if (folder.empty()) return 0;
  const std::string path = folder + "/" + fileName;
  const std::string url = WithoutLineBreaks(value);
  if (path.size() + 1 > kShellPathCapacity) return 0;

  std::string contents;
  AppendTextMode(contents, kShortcutSectionLine);
  AppendTextMode(contents, kShortcutUrlPrefix);
  AppendTextMode(contents, url);
  AppendTextMode(contents, "\n");
  if (!WriteShortcutFile(path, contents)) return 0;

  return StartDetached(FindUrlOpener(), QStringList{QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()))});
}

}  // namespace

int OpenWebPage(std::string_view url) { return HandOverThroughShortcut(kWebShortcutFileName, UpToZero(url)); }

int ComposeMailTo(std::string_view address) {
  return HandOverThroughShortcut(kMailShortcutFileName, std::string(kMailtoScheme) + std::string(UpToZero(address)));
}

bool CanOpenInternetShortcuts() { return !FindUrlOpener().isEmpty(); }

}  // namespace ab
