#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "editor/WaveClip.h"
#include "support/TestWaves.h"

namespace ab {
namespace {

using testing::Chunk;
using testing::FormatBody;
using testing::Le;
using testing::Riff;

std::optional<WaveClip> Parse(const std::string& bytes) {
  return ParseWaveClip(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Each clip with the format and samples found in it, or nothing when it is no playable PCM.
TEST(WaveClip, ReadsTheFormatAndFindsTheSamplesOrRefuses) {
  using Found = std::optional<std::tuple<int, int, int, std::size_t, std::size_t>>;  // channels, rate, bits, offset, size
  const std::string samples(400, 'a'), fmt = Chunk("fmt ", FormatBody(1, 1, 8000, 16)), data = Chunk("data", std::string(100, 'x'));
  const std::string extensible = FormatBody(0xFFFE, 2, 48000, 16) + Le(22, 2) + Le(16, 2) + Le(3, 4) +
                                 Le(1, 2) + std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  const std::tuple<const char*, std::string, Found> cases[] = {
      {"16-bit stereo", Riff(Chunk("fmt ", FormatBody(1, 2, 44100, 16)) + Chunk("data", samples)), {{2, 44100, 16, 44, 400}}},
      {"odd LIST chunk first, padded",
       Riff(Chunk("LIST", "abc") + Chunk("fmt ", FormatBody(1, 1, 8000, 8)) + Chunk("fact", "1234") + Chunk("data", samples)),
       {{1, 8000, 8, 12 + 12 + 24 + 12 + 8, 400}}},
      {"extensible PCM", Riff(Chunk("fmt ", extensible) + Chunk("data", samples)), {{2, 48000, 16, 12 + 48 + 8, 400}}},
      {"cut short: whole frames", Riff(Chunk("fmt ", FormatBody(1, 2, 44100, 16)) + Chunk("data", samples)).substr(0, 44 + 203),
       {{2, 44100, 16, 44, 200}}},
      {"no fmt chunk", Riff(data), {}}, {"no data chunk", Riff(fmt), {}},
      {"ADPCM", Riff(Chunk("fmt ", FormatBody(2, 1, 8000, 4)) + data), {}},
      {"short fmt chunk", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16).substr(0, 14)) + data), {}},
      {"chunk size past the end", Riff("JUNK" + Le(0xFFFFFFF0u, 4) + "abcd" + fmt + data), {}},
      {"no whole frame", Riff(fmt + Chunk("data", "x")), {}},
      {"extensible without subformat", Riff(Chunk("fmt ", FormatBody(0xFFFE, 1, 8000, 16) + Le(0, 2)) + data), {}},
  };
  for (const auto& [name, bytes, found] : cases) {
    const std::optional<WaveClip> clip = Parse(bytes);
    EXPECT_EQ(clip ? Found({clip->channels, clip->sampleRate, clip->bitsPerSample, clip->dataOffset, clip->dataSize}) : Found(), found)
        << name;
  }
  EXPECT_FALSE(ParseWaveClip(nullptr, 100).has_value());
}

}  // namespace
}  // namespace ab
