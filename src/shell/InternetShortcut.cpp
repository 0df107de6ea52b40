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
#include "shell/ShortcutText.h"
#include "shell/UserRuntimeFolder.h"

namespace ab {

namespace {

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
  if (path.size() + 1 > kShellPathCapacity) return 0;
  if (!WriteShortcutFile(path, ShortcutFileText(value))) return 0;
  const std::string url = HandedOverUrl(value);
  return StartDetached(FindUrlOpener(), QStringList{QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()))});
}

}  // namespace

int OpenWebPage(std::string_view url) { return HandOverThroughShortcut(kWebShortcutFileName, url); }

int ComposeMailTo(std::string_view address) {
  return HandOverThroughShortcut(kMailShortcutFileName, std::string(kMailtoScheme) + HandedOverUrl(address));
}

bool CanOpenInternetShortcuts() { return !FindUrlOpener().isEmpty(); }

}  // namespace ab
