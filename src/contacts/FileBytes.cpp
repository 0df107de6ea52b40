#include "contacts/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace ab {

std::optional<FileBytes> ReadRegularFile(const std::string& path, std::size_t maxBytes, FileOwner owner) {
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (owner == FileOwner::User ? O_NOFOLLOW : 0);
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return std::nullopt;
  std::optional<FileBytes> file;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= maxBytes &&
      (owner == FileOwner::Anyone || info.st_uid == ::geteuid())) {
    file.emplace();
    file->size = static_cast<std::size_t>(info.st_size);
    file->bytes.reset(new char[file->size + 1]);
    std::size_t done = 0;
    while (done < file->size) {
      const ssize_t n = ::read(fd, file->bytes.get() + done, file->size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    if (done != file->size) file.reset();
  }
  ::close(fd);
  return file;
}

}  // namespace ab
