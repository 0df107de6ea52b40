#include "media/Picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "support/ImageBytes.h"

namespace ab {
namespace {

using testing::BmpImage;
using testing::BmpShape;
using Bytes = std::vector<std::uint8_t>;

const std::vector<std::uint32_t> kMasks555 = {0x7C00, 0x03E0, 0x001F}, kMasks888 = {0xFF0000, 0xFF00, 0xFF};

bool Load(Picture& picture, const Bytes& bytes) { return picture.LoadFromMemory(bytes.data(), bytes.size()); }

bool Empty(const Picture& picture) {
  return picture.IsEmpty() && picture.HeaderBlock().empty() && picture.PixelBlock().empty() &&
         (picture.Width() | picture.Height() | picture.BitsPerPixel()) == 0;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t length) {
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
}

// Every depth and header shape reads as a plain 40-byte header with the whole
// colour table, and rows bottom-up; any shorter prefix of the file is refused.
TEST(PictureDecode, EveryShapeReadsAsAPlainBottomUpPictureAndNoPrefixDoes) {
  const BmpShape cases[] = {
      BmpShape().Size(33, 3).Bits(1), BmpShape().Size(5, 3).Bits(4).Gap(23), BmpShape().Size(5, 2).Bits(8).ColoursUsed(10),
      BmpShape().Size(3, 4).Bits(16), BmpShape().Size(5, -3).InfoSize(108), BmpShape().Size(8, 3).Bits(8).InfoSize(52),
      BmpShape().Size(40, 40).Bits(8).ColoursUsed(10).ColourEntries(10),  // the table runs on into the rows
      BmpShape().Size(2, 3).Bits(32).Compression(3, kMasks888), BmpShape().Size(3, -2).Bits(16).InfoSize(56).Compression(3, kMasks555),
      BmpShape().Bits(32).InfoSize(124).Compression(3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000})};
  for (const BmpShape& shape : cases) {
    SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height << " at " << shape.bits << ", header " << shape.infoSize);
    const BmpImage image(shape);
    const std::size_t rows = static_cast<std::size_t>(std::abs(shape.height));
    const std::size_t rowSize = static_cast<std::size_t>(testing::BmpRowSize(shape.width, shape.bits));
    Bytes header = Slice(image.bytes, 14, 40);
    for (auto [at, value] : {std::pair{0, 40u}, {8, static_cast<std::uint32_t>(rows)}, {16, 0u}})
      for (int i = 0; i < 4; ++i) header[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    const Bytes table = Slice(image.bytes, image.tableStart, 4u * static_cast<std::size_t>(testing::FullTableEntries(shape.bits)));
    header.insert(header.end(), table.begin(), table.end());
    Bytes pixels;
    for (std::size_t row = 0; row < rows; ++row) {
      const Bytes r = Slice(image.bytes, image.pixelOffset + (shape.height < 0 ? rows - 1 - row : row) * rowSize, rowSize);
      pixels.insert(pixels.end(), r.begin(), r.end());
    }
    Bytes file = image.bytes;
    file.insert(file.end(), {9, 9, 9});  // bytes after the last row are no part of the picture
    for (std::size_t length = 0; length <= file.size(); ++length) {
      // A buffer of exactly `length` bytes, so the sanitizer sees any read past it.
      const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      Picture picture;
      ASSERT_EQ(Load(picture, prefix), length >= image.bytes.size()) << length;
      if (length < image.bytes.size()) continue;
      EXPECT_EQ(std::tuple(picture.Width(), picture.Height(), picture.BitsPerPixel(), picture.ColourCount()),
                std::tuple(shape.width, static_cast<std::int32_t>(rows), shape.bits, testing::FullTableEntries(shape.bits)));
      EXPECT_EQ(std::pair(picture.HeaderBlock(), picture.PixelBlock()), std::pair(header, pixels));
    }
  }
}

// Refusals the fuzz seeds do not already replay (core header, RLE, cut files).
TEST(PictureDecode, RefusesWhatItCannotDecodeSafelyAndDropsTheOldPicture) {
  const std::pair<const char*, void (*)(BmpShape&)> cases[] = {
      {"OS/2 2.0 header", [](BmpShape& s) { s.infoSize = 64; }}, {"JPEG inside", [](BmpShape& s) { s.compression = 4; }},
      {"bitfields at 24 bpp", [](BmpShape& s) { s.Compression(3, kMasks888); }},
      {"bitfields BGR", [](BmpShape& s) { s.Bits(32).Compression(3, {0xFF, 0xFF00, 0xFF0000}); }},
      {"bitfields, file too short for masks", [](BmpShape& s) { s.Size(1, 1).Bits(32).Compression(3); }},
      {"negative width", [](BmpShape& s) { s.width = -3; }}, {"zero height", [](BmpShape& s) { s.height = 0; }},
      {"smallest height", [](BmpShape& s) { s.Size(3, std::numeric_limits<std::int32_t>::min()).Rows(1); }},
      {"widest row", [](BmpShape& s) { s.Size(std::numeric_limits<std::int32_t>::max(), 2).Bits(32).Rows(0); }},
      {"offset one byte late", [](BmpShape& s) { s.pixelOffset = 55; }}, {"largest offset", [](BmpShape& s) { s.pixelOffset = 0xFFFFFFFF; }},
  };
  const BmpImage valid{BmpShape()};
  for (const auto& [name, defect] : cases) {
    SCOPED_TRACE(name);
    BmpShape shape;
    defect(shape);
    Picture picture;
    ASSERT_TRUE(Load(picture, valid.bytes));
    EXPECT_FALSE(Load(picture, BmpImage(shape).bytes));
    EXPECT_TRUE(Empty(picture));
  }
  Picture picture;
  ASSERT_TRUE(Load(picture, valid.bytes));
  EXPECT_FALSE(picture.LoadFromMemory(nullptr, 100));
  EXPECT_TRUE(Empty(picture));
}

}  // namespace
}  // namespace ab
