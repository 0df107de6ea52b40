#pragma once
// Reading a whole small file with one open, for the card reader and the rows cache.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ab {

// The bytes of a file; the room is not cleared first, a read that does not fill it is no read.
struct FileBytes {
  std::unique_ptr<char[]> bytes;
  std::size_t size = 0;
  std::string_view view() const { return {bytes.get(), size}; }
};

enum class FileOwner { Anyone, User };

// The whole file at `path`: nullopt for anything but a regular file of at most
// `maxBytes`. A FIFO does not block the read. With FileOwner::User, only a file
// of the user's own, not reached through a link.
std::optional<FileBytes> ReadRegularFile(const std::string& path, std::size_t maxBytes,
                                         FileOwner owner = FileOwner::Anyone);

}  // namespace ab
