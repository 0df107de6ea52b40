#include "contacts/AtomicFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <vector>

namespace ab {

namespace {

constexpr std::size_t kRandomPart = 6;  // the XXXXXX of mkstemp

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A hidden sibling of `path` with the given bytes, flushed to disk unless
// `flush` is false; empty on failure.
std::string WriteTemporarySibling(const std::string& path, std::string_view bytes, bool flush = true) {
  if (path.empty() || path.back() == '/') return {};
  const auto slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string pattern = path.substr(0, nameStart) + "." + path.substr(nameStart) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return {};
  // mkstemp makes the file private; a card gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes);
  if (ok && flush) ok = ::fdatasync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    ::unlink(name.data());
    return {};
  }
  return std::string(name.data());
}

// Gives `from` the name `to` unless `to` exists. Where the file system cannot
// rename without replacing, a hard link does the same.
CreateResult RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return CreateResult::Created;
  if (errno == EEXIST) return CreateResult::NameTaken;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return CreateResult::Failed;
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return CreateResult::Created;
  }
  return errno == EEXIST ? CreateResult::NameTaken : CreateResult::Failed;
}

bool IsRandomPart(std::string_view s) {
  return s.size() == kRandomPart && std::all_of(s.begin(), s.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
         });
}

bool EndsWithVcf(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view ext = name.substr(name.size() - 4);
  return ext[0] == '.' && (ext[1] | 0x20) == 'v' && (ext[2] | 0x20) == 'c' && (ext[3] | 0x20) == 'f';
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, bool flush) {
  const std::string temporary = WriteTemporarySibling(path, bytes, flush);
  if (temporary.empty()) return false;
  if (::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

CreateResult CreateFileExclusively(const std::string& path, std::string_view bytes, SyncBatch* batch) {
  const std::string temporary = WriteTemporarySibling(path, bytes, batch == nullptr);
  if (temporary.empty()) return CreateResult::Failed;
  const CreateResult result = RenameWithoutReplacing(temporary, path);
  if (result != CreateResult::Created) ::unlink(temporary.c_str());
  if (result == CreateResult::Created && batch) batch->Add(path);
  return result;
}

bool SyncBatch::Flush() {
  // Every fdatasync ends in a flush of the disk's cache, some milliseconds
  // each; one sync of the file system that holds the files puts all of them,
  // and the folders that name them, on disk with one.
  bool ok = true;
  std::set<std::string> folders;
  for (const std::string& path : paths_) {
    const auto slash = path.rfind('/');
    folders.insert(slash == std::string::npos ? "." : path.substr(0, slash + 1));
    struct stat info {};
    ok = ::stat(path.c_str(), &info) == 0 && ok;  // a file gone meanwhile cannot be made durable
  }
  std::set<dev_t> synced;
  for (const std::string& folder : folders) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info {};
    const bool opened = fd >= 0 && ::fstat(fd, &info) == 0;
    ok = opened && (synced.count(info.st_dev) > 0 || ::syncfs(fd) == 0) && ok;
    if (opened) synced.insert(info.st_dev);
    if (fd >= 0) ::close(fd);
  }
  paths_.clear();
  return ok;
}

bool IsLeftoverTemporaryName(std::string_view name) {
  if (name.size() < kRandomPart + 2 || name[name.size() - kRandomPart - 1] != '.') return false;
  const std::string_view random = name.substr(name.size() - kRandomPart);
  if (!IsRandomPart(random)) return false;
  std::string_view card = name.substr(0, name.size() - kRandomPart - 1);
  if (card.starts_with('.')) {
    card.remove_prefix(1);
  } else if (std::all_of(random.begin(), random.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
    // The older visible names: a word such as "backup" is the user's own.
    return false;
  }
  return EndsWithVcf(card) && card.size() > 4;
}

}  // namespace ab
