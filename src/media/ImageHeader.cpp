#include "media/ImageHeader.h"

#include <cstring>

namespace ab {
namespace {

std::int32_t BigEndian(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value > 0x7FFFFFFFu ? 0 : static_cast<std::int32_t>(value);
}

std::optional<ImageHeader> Sized(PictureFormat format, std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  return ImageHeader{format, width, height};
}

// Frame headers (SOF0 to SOF15, without DHT, JPG and DAC) carry the size.
bool IsStartOfFrame(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments up to the first frame header; the scan must not
// come first. Stray bytes before a marker are passed over, as decoders do
// (some phones write a segment length that falls short).
std::optional<ImageHeader> JpegHeader(const std::uint8_t* bytes, std::size_t size) {
  std::size_t pos = 2;
  while (pos + 4 <= size) {
    if (bytes[pos] != 0xFF) {
      ++pos;
      continue;
    }
    const std::uint8_t marker = bytes[pos + 1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;
    const std::size_t length = static_cast<std::size_t>(BigEndian(bytes + pos + 2, 2));
    if (length < 2) return std::nullopt;
    if (IsStartOfFrame(marker)) {
      if (length < 7 || pos + 9 > size) return std::nullopt;
      return Sized(PictureFormat::Jpeg, BigEndian(bytes + pos + 7, 2), BigEndian(bytes + pos + 5, 2));
    }
    pos += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ImageHeader> ReadImageHeader(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr) return std::nullopt;
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 24 && std::memcmp(bytes, kPng, sizeof kPng) == 0 && std::memcmp(bytes + 12, "IHDR", 4) == 0)
    return Sized(PictureFormat::Png, BigEndian(bytes + 16, 4), BigEndian(bytes + 20, 4));
  if (size >= 10 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0))
    return Sized(PictureFormat::Gif, bytes[6] | bytes[7] << 8, bytes[8] | bytes[9] << 8);
  if (size >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return JpegHeader(bytes, size);
  return std::nullopt;
}

}  // namespace ab
