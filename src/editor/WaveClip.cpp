#include "editor/WaveClip.h"

#include <cstring>

namespace ab {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kRiffHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kPcmFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;
constexpr std::size_t kSubFormatOffset = 24;  // in the fmt chunk: the GUID, whose first two bytes are the format tag

std::uint32_t Le(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

bool ReadFormat(const std::uint8_t* chunk, std::size_t size, WaveClip& clip) {
  if (size < kPcmFormatSize) return false;
  std::uint32_t tag = Le(chunk, 2);
  if (tag == kFormatExtensible) {
    if (size < kExtensibleFormatSize) return false;
    tag = Le(chunk + kSubFormatOffset, 2);
  }
  if (tag != kFormatPcm) return false;
  clip.channels = static_cast<int>(Le(chunk + 2, 2));
  const std::uint32_t rate = Le(chunk + 4, 4);
  clip.bitsPerSample = static_cast<int>(Le(chunk + 14, 2));
  if (clip.channels < 1 || clip.channels > 8 || rate < 1000 || rate > 384000) return false;
  clip.sampleRate = static_cast<int>(rate);
  return clip.bitsPerSample == 8 || clip.bitsPerSample == 16 || clip.bitsPerSample == 32;
}

}  // namespace

std::optional<WaveClip> ParseWaveClip(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr || size < kRiffHeaderSize || std::memcmp(bytes, "RIFF", 4) != 0 ||
      std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  // The RIFF size may claim less than the image holds (trailing bytes) or more (a cut file).
  const std::size_t end = size;
  WaveClip clip;
  bool haveFormat = false;
  std::size_t at = kRiffHeaderSize;
  while (end - at >= kChunkHeaderSize) {
    const std::uint8_t* chunk = bytes + at;
    const std::size_t declared = Le(chunk + 4, 4);
    const std::size_t bodyStart = at + kChunkHeaderSize;
    const std::size_t available = end - bodyStart;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (declared > available || !ReadFormat(bytes + bodyStart, declared, clip)) return std::nullopt;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return std::nullopt;
      const std::size_t frame = static_cast<std::size_t>(clip.channels) * static_cast<std::size_t>(clip.bitsPerSample / 8);
      const std::size_t kept = declared < available ? declared : available;
      clip.dataOffset = bodyStart;
      clip.dataSize = kept - kept % frame;
      if (clip.dataSize == 0) return std::nullopt;
      return clip;
    }
    // Chunks are padded to an even length.
    if (declared > available) return std::nullopt;
    const std::size_t next = declared + (declared & 1);
    if (next > available) break;
    at = bodyStart + next;
  }
  return std::nullopt;
}

}  // namespace ab
