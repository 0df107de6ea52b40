#pragma once
// WAVE file images for the sound tests, chunk by chunk.

#include <cstdint>
#include <string>

namespace ab::testing {

inline std::string Le(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

inline std::string Chunk(const std::string& id, const std::string& body, bool pad = true) {
  std::string out = id + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
  if (pad && body.size() % 2 == 1) out.push_back('\0');
  return out;
}

inline std::string FormatBody(int tag, int channels, int rate, int bits) {
  const int block = channels * bits / 8;
  return Le(static_cast<std::uint32_t>(tag), 2) + Le(static_cast<std::uint32_t>(channels), 2) +
         Le(static_cast<std::uint32_t>(rate), 4) + Le(static_cast<std::uint32_t>(rate * block), 4) +
         Le(static_cast<std::uint32_t>(block), 2) + Le(static_cast<std::uint32_t>(bits), 2);
}

inline std::string Riff(const std::string& chunks) {
  return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}

// A PCM clip of `frames` frames of silence.
inline std::string PcmWave(int channels, int rate, int bits, int frames) {
  const std::string samples(static_cast<std::size_t>(frames * channels * bits / 8), '\0');
  return Riff(Chunk("fmt ", FormatBody(1, channels, rate, bits)) + Chunk("data", samples));
}

}  // namespace ab::testing
