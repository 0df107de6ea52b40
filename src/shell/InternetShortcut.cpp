#include "shell/InternetShortcut.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "shell/Launcher.h"
#include "shell/ShellNames.h"

namespace ab {

namespace {

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

// The temporary folder as file-system bytes, ending with '/'; empty when the
// folder is unset or does not exist.
std::string TemporaryFolder() {
  const QString temp = QDir::tempPath();
  if (temp.isEmpty()) return {};
  std::string folder = QFile::encodeName(temp).toStdString();
  if (folder.back() != '/') folder += '/';
  return folder;
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

// The names are fixed and the temporary folder is usually shared, so whatever
// another user planted under them is refused rather than followed: a link
// (which would overwrite its target) or a pipe (whose opening would block).
bool WriteShortcutFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct stat info {};
  const bool written = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && WriteAll(fd, bytes);
  return (::close(fd) == 0) && written;
}

int HandOverThroughShortcut(const char* fileName, const std::string& url) {
  const std::string folder = TemporaryFolder();
  if (folder.empty()) return 0;
  const std::string path = folder + fileName;
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

int OpenWebPage(std::string_view url) { return HandOverThroughShortcut(kWebShortcutFileName, std::string(UpToZero(url))); }

int ComposeMailTo(std::string_view address) {
  return HandOverThroughShortcut(kMailShortcutFileName, kMailtoScheme + std::string(UpToZero(address)));
}

bool CanOpenInternetShortcuts() { return !FindUrlOpener().isEmpty(); }

}  // namespace ab
