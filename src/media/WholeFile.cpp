#include <filesystem>
#include <fstream>
#include <limits>

#include "media/ByteBuffer.h"
#include "media/Picture.h"

namespace ab {

bool ReadWholeFile(const std::string& path, ByteBuffer& out) {
  // Asking for the size first turns away directories, devices and pipes before
  // anything is opened (opening a pipe could block), and bounds the read.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size >= static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max())) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  ByteBuffer bytes = ByteBuffer::Allocate(static_cast<std::int64_t>(size));
  if (!bytes) return false;
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (in.gcount() != static_cast<std::streamsize>(size)) return false;
  out = std::move(bytes);
  return true;
}

}  // namespace ab
