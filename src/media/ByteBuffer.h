#pragma once
// An owned block of attachment bytes (a BMP or WAVE file image). Null until
// bytes are put in; always one zero byte longer than its size, so a text
// consumer can never run past the end.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ab {

class ByteBuffer {
 public:
  ByteBuffer() = default;

  // A copy of `size` bytes; a negative size or a failed allocation gives null.
  static ByteBuffer Copy(const void* bytes, std::int64_t size);
  // `size` bytes of uninitialised room (plus the zero byte), or null on failure.
  static ByteBuffer Allocate(std::int64_t size);

  ByteBuffer Clone() const { return IsNull() ? ByteBuffer() : Copy(bytes_.get(), size_); }

  bool IsNull() const { return !bytes_; }
  explicit operator bool() const { return !IsNull(); }
  const std::uint8_t* data() const { return bytes_.get(); }
  std::uint8_t* data() { return bytes_.get(); }
  std::int32_t size() const { return size_; }
  void Reset() {
    bytes_.reset();
    size_ = 0;
  }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::int32_t size_ = 0;
};

}  // namespace ab
