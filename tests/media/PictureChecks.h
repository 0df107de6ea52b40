#pragma once
// Shared expectations about decoded pictures.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/Picture.h"

namespace ab::testing {

inline void ExpectEmpty(const Picture& picture) {
  EXPECT_TRUE(picture.IsEmpty());
  EXPECT_TRUE(picture.HeaderBlock().empty());
  EXPECT_TRUE(picture.PixelBlock().empty());
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_EQ(picture.Height(), 0);
  EXPECT_EQ(picture.BitsPerPixel(), 0);
  EXPECT_EQ(picture.ColourCount(), 0);
}

inline void ExpectSame(const Picture& actual, const Picture& expected) {
  EXPECT_EQ(actual.HeaderBlock(), expected.HeaderBlock());
  EXPECT_EQ(actual.PixelBlock(), expected.PixelBlock());
}

inline std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to) {
  return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

inline std::uint32_t HeaderField(const Picture& picture, std::size_t offset) {
  const auto& header = picture.HeaderBlock();
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | header.at(offset + static_cast<std::size_t>(i));
  return value;
}

}  // namespace ab::testing
