#include "media/ByteBuffer.h"

#include <cstring>
#include <limits>
#include <new>

namespace ab {

ByteBuffer ByteBuffer::Allocate(std::int64_t size) {
  ByteBuffer buffer;
  if (size < 0 || size >= std::numeric_limits<std::int32_t>::max()) return buffer;
  buffer.bytes_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(size) + 1]);
  if (!buffer.bytes_) return buffer;
  buffer.bytes_[static_cast<std::size_t>(size)] = 0;
  buffer.size_ = static_cast<std::int32_t>(size);
  return buffer;
}

ByteBuffer ByteBuffer::Copy(const void* bytes, std::int64_t size) {
  ByteBuffer buffer = Allocate(size);
  if (buffer && size > 0) std::memcpy(buffer.bytes_.get(), bytes, static_cast<std::size_t>(size));
  return buffer;
}

}  // namespace ab
