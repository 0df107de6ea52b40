#pragma once
// The sound a WAVE file image holds: its PCM format and where its samples lie.
// Every chunk is checked against the bytes given; only uncompressed PCM of
// 8, 16 or 32 bits per sample is taken.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ab {

struct WaveClip {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  std::size_t dataOffset = 0;  // the samples, counted from the start of the image
  std::size_t dataSize = 0;    // whole frames only; a truncated file keeps what it has
};

std::optional<WaveClip> ParseWaveClip(const std::uint8_t* bytes, std::size_t size);

}  // namespace ab
