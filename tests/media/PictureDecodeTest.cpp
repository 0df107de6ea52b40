#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "BmpBuilder.h"
#include "media/Picture.h"
#include "PictureChecks.h"

namespace ab {
namespace {

using testing::BmpImage;
using testing::BmpShape;
using testing::ExpectEmpty;
using testing::HeaderField;
using testing::Slice;

constexpr std::size_t kInfoStart = 14;
constexpr std::size_t kHeightField = 8;
constexpr std::size_t kCompressionField = 16;
constexpr std::size_t kColoursUsedField = 32;
constexpr std::int32_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt32 = std::numeric_limits<std::int32_t>::min();

bool Load(Picture& picture, const std::vector<std::uint8_t>& bytes) {
  return picture.LoadFromMemory(bytes.data(), bytes.size());
}

TEST(PictureLayoutTest, RowSizeIsPaddedToFourBytes) {
  struct Case {
    std::int64_t width;
    int bits;
    std::int64_t rowSize;
  } const cases[] = {
      {100, 24, 300}, {100, 1, 16},  {1, 1, 4},    {32, 1, 4},     {33, 1, 8},       {5, 4, 4},
      {9, 4, 8},      {3, 8, 4},     {5, 8, 8},    {3, 16, 8},     {2, 16, 4},       {1, 24, 4},
      {3, 24, 12},    {100, 32, 400}, {0, 24, 0},  {-1, 24, -1},   {100, 0, -1},     {100, 33, -1},
      // The widest row that still fits in 2^31 - 1 bytes, and the first that does not.
      {kMaxInt32, 1, 268435456}, {kMaxInt32, 8, -1}, {std::int64_t{kMaxInt32} + 1, 1, -1},
      {std::numeric_limits<std::int64_t>::max(), 32, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Picture::RowSize(c.width, c.bits), c.rowSize) << c.width << " px at " << c.bits << " bpp";
}

TEST(PictureLayoutTest, ColourTableLengthFollowsTheDepthAlone) {
  const std::pair<int, int> cases[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}, {2, 0}, {0, 0}};
  for (auto [bits, entries] : cases) EXPECT_EQ(Picture::ColourTableEntries(bits), entries) << bits << " bpp";
}

TEST(PictureDecodeTest, KeepsHeaderTableAndPixelsOfEveryDepth) {
  struct Case {
    std::int32_t width, height;
    std::uint16_t bits;
    std::size_t rowSize;
    int entries;
  } const cases[] = {
      {100, 2, 24, 300, 0}, {100, 2, 1, 16, 2}, {33, 3, 1, 8, 2},  {5, 3, 4, 4, 16}, {5, 2, 8, 8, 256},
      {3, 4, 16, 8, 0},     {1, 1, 24, 4, 0},   {2, 3, 32, 8, 0},  {7, 1, 8, 8, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " at " << c.bits << " bpp");
    const BmpImage image(BmpShape().Size(c.width, c.height).Bits(c.bits));
    Picture picture;
    ASSERT_TRUE(Load(picture, image.bytes()));
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), c.width);
    EXPECT_EQ(picture.Height(), c.height);
    EXPECT_EQ(picture.BitsPerPixel(), c.bits);
    EXPECT_EQ(picture.ColourCount(), c.entries);
    // A plain file keeps its information header and colour table byte for byte.
    const std::size_t headerEnd = 54 + 4 * static_cast<std::size_t>(c.entries);
    EXPECT_EQ(picture.HeaderBlock(), Slice(image.bytes(), kInfoStart, headerEnd));
    EXPECT_EQ(picture.PixelBlock().size(), c.rowSize * static_cast<std::size_t>(c.height));
    EXPECT_EQ(picture.PixelBlock(), Slice(image.bytes(), image.pixelOffset(), image.bytes().size()));
  }
}

TEST(PictureDecodeTest, EightBitsKeepAllEntriesWhateverColoursUsedSays) {
  const BmpImage image(BmpShape().Size(4, 2).Bits(8).ColoursUsed(10));
  Picture picture;
  ASSERT_TRUE(Load(picture, image.bytes()));
  EXPECT_EQ(picture.ColourCount(), 256);
  EXPECT_EQ(picture.HeaderBlock().size(), 40u + 1024u);
  EXPECT_EQ(HeaderField(picture, kColoursUsedField), 10u);
  EXPECT_EQ(picture.HeaderBlock(), Slice(image.bytes(), kInfoStart, 54 + 1024));
}

TEST(PictureDecodeTest, ShortColourTableIsReadAsFullTableWhenTheBytesAreThere) {
  // Ten entries in the file, then 40 x 40 pixels: the table still spans 256
  // entries (running into the pixel bytes) and the rows come from their offset.
  const BmpImage image(BmpShape().Size(40, 40).Bits(8).ColoursUsed(10).ColourEntries(10));
  Picture picture;
  ASSERT_TRUE(Load(picture, image.bytes()));
  EXPECT_EQ(image.pixelOffset(), 54u + 40u);
  EXPECT_EQ(picture.HeaderBlock(), Slice(image.bytes(), kInfoStart, 54 + 1024));
  EXPECT_EQ(picture.PixelBlock(), Slice(image.bytes(), 94, image.bytes().size()));

  // Too small a file to hold the whole table gives an empty picture.
  const BmpImage small(BmpShape().Size(2, 2).Bits(8).ColoursUsed(2).ColourEntries(2));
  EXPECT_FALSE(Load(picture, small.bytes()));
  ExpectEmpty(picture);
}

TEST(PictureDecodeTest, PixelRowsComeFromTheOffsetField) {
  const BmpImage image(BmpShape().Size(3, 2).Bits(4).Gap(23));
  Picture picture;
  ASSERT_TRUE(Load(picture, image.bytes()));
  EXPECT_EQ(image.pixelOffset(), 54u + 64u + 23u);
  EXPECT_EQ(picture.HeaderBlock(), Slice(image.bytes(), kInfoStart, 54 + 64));
  EXPECT_EQ(picture.PixelBlock(), Slice(image.bytes(), image.pixelOffset(), image.bytes().size()));

  // Bytes after the last row are no part of the picture.
  std::vector<std::uint8_t> longer = image.bytes();
  longer.insert(longer.end(), 9, 0x55);
  ASSERT_TRUE(Load(picture, longer));
  EXPECT_EQ(picture.PixelBlock(), Slice(image.bytes(), image.pixelOffset(), image.bytes().size()));
}

TEST(PictureDecodeTest, LongerInformationHeadersAreCutToForty) {
  for (std::uint32_t infoSize : {52u, 56u, 108u, 124u}) {
    for (std::uint16_t bits : {std::uint16_t{8}, std::uint16_t{24}}) {
      SCOPED_TRACE(::testing::Message() << infoSize << "-byte header at " << bits << " bpp");
      const BmpImage image(BmpShape().Size(5, 3).Bits(bits).InfoSize(infoSize));
      Picture picture;
      ASSERT_TRUE(Load(picture, image.bytes()));
      const int entries = Picture::ColourTableEntries(bits);
      ASSERT_EQ(picture.HeaderBlock().size(), 40u + 4u * static_cast<std::size_t>(entries));
      EXPECT_EQ(HeaderField(picture, 0), 40u);
      // Everything else in the first 40 bytes, and the table after the longer header.
      EXPECT_EQ(Slice(picture.HeaderBlock(), 4, 40), Slice(image.bytes(), kInfoStart + 4, kInfoStart + 40));
      EXPECT_EQ(Slice(picture.HeaderBlock(), 40, picture.HeaderBlock().size()),
                Slice(image.bytes(), image.tableStart(), image.pixelOffset()));
      EXPECT_EQ(picture.PixelBlock(), Slice(image.bytes(), image.pixelOffset(), image.bytes().size()));
    }
  }
}

TEST(PictureDecodeTest, TopDownRowsAreStoredBottomUp) {
  const BmpImage image(BmpShape().Size(5, -3).Bits(24).InfoSize(108));
  Picture picture;
  ASSERT_TRUE(Load(picture, image.bytes()));
  EXPECT_EQ(picture.Height(), 3);
  EXPECT_EQ(HeaderField(picture, kHeightField), 3u);
  const std::size_t row = 16;
  ASSERT_EQ(picture.PixelBlock().size(), 3 * row);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t fileRow = image.pixelOffset() + (2 - i) * row;
    EXPECT_EQ(Slice(picture.PixelBlock(), i * row, (i + 1) * row), Slice(image.bytes(), fileRow, fileRow + row))
        << "row " << i;
  }

  const BmpImage single(BmpShape().Size(2, -1).Bits(1));
  ASSERT_TRUE(Load(picture, single.bytes()));
  EXPECT_EQ(picture.Height(), 1);
  EXPECT_EQ(picture.PixelBlock(), Slice(single.bytes(), single.pixelOffset(), single.bytes().size()));
}

TEST(PictureDecodeTest, BitfieldsWithThePlainLayoutReadAsUncompressed) {
  const std::vector<std::uint32_t> masks32 = {0xFF0000, 0xFF00, 0xFF};
  const std::vector<std::uint32_t> masks16 = {0x7C00, 0x03E0, 0x001F};
  const BmpShape specs[] = {
      BmpShape().Bits(32).Compression(3).Masks(masks32),
      BmpShape().Bits(32).Compression(3).InfoSize(124).Masks({0xFF0000, 0xFF00, 0xFF, 0xFF000000}),
      BmpShape().Bits(16).Compression(3).Masks(masks16),
      BmpShape().Size(3, -2).Bits(16).Compression(3).InfoSize(56).Masks(masks16),
  };
  for (const BmpShape& shape : specs) {
    SCOPED_TRACE(::testing::Message() << shape.bits << " bpp, " << shape.infoSize << "-byte header");
    const BmpImage image(shape);
    Picture picture;
    ASSERT_TRUE(Load(picture, image.bytes()));
    EXPECT_EQ(picture.HeaderBlock().size(), 40u);
    EXPECT_EQ(HeaderField(picture, kCompressionField), 0u);
    const std::size_t row = shape.bits == 32 ? 12 : 8, start = image.pixelOffset(), end = image.bytes().size();
    ASSERT_EQ(picture.PixelBlock().size(), 2 * row);
    if (shape.height > 0) {
      EXPECT_EQ(picture.PixelBlock(), Slice(image.bytes(), start, end));
    } else {
      EXPECT_EQ(Slice(picture.PixelBlock(), 0, row), Slice(image.bytes(), end - row, end));
      EXPECT_EQ(Slice(picture.PixelBlock(), row, 2 * row), Slice(image.bytes(), start, start + row));
    }
  }
}

TEST(PictureDecodeTest, RejectsWhatItCannotDecodeSafely) {
  using Defect = std::function<void(BmpShape&)>;
  struct Case {
    const char* name;
    Defect defect;
    std::size_t cut = 0;  // bytes taken off the end of the image
  } const cases[] = {
      {"type BA", [](BmpShape& s) { s.type[1] = 'A'; }},
      {"type MB", [](BmpShape& s) { s.type[0] = 'M'; s.type[1] = 'B'; }},
      {"type bm", [](BmpShape& s) { s.type[0] = 'b'; s.type[1] = 'm'; }},
      {"core header", [](BmpShape& s) { s.infoSize = 12; }},
      {"info size 0", [](BmpShape& s) { s.infoSize = 0; }},
      {"info size 39", [](BmpShape& s) { s.infoSize = 39; }},
      {"info size 41", [](BmpShape& s) { s.infoSize = 41; }},
      {"OS/2 2.0 header", [](BmpShape& s) { s.infoSize = 64; }},
      {"info size 200", [](BmpShape& s) { s.infoSize = 200; }},
      {"RLE8", [](BmpShape& s) { s.bits = 8; s.compression = 1; }},
      {"RLE4", [](BmpShape& s) { s.bits = 4; s.compression = 2; }},
      {"JPEG", [](BmpShape& s) { s.compression = 4; }},
      {"PNG", [](BmpShape& s) { s.compression = 5; }},
      {"alpha bitfields", [](BmpShape& s) { s.bits = 32; s.compression = 6; s.masks = {0xFF0000, 0xFF00, 0xFF, 0}; }},
      {"bitfields at 24 bpp", [](BmpShape& s) { s.compression = 3; s.masks = {0xFF0000, 0xFF00, 0xFF}; }},
      {"bitfields 5-6-5", [](BmpShape& s) { s.bits = 16; s.compression = 3; s.masks = {0xF800, 0x07E0, 0x001F}; }},
      {"bitfields BGR", [](BmpShape& s) { s.bits = 32; s.compression = 3; s.masks = {0xFF, 0xFF00, 0xFF0000}; }},
      {"bitfields without masks", [](BmpShape& s) { s.width = 1; s.height = 1; s.bits = 32; s.compression = 3; }},
      {"0 bpp", [](BmpShape& s) { s.bits = 0; }},
      {"2 bpp", [](BmpShape& s) { s.bits = 2; }},
      {"15 bpp", [](BmpShape& s) { s.bits = 15; }},
      {"33 bpp", [](BmpShape& s) { s.bits = 33; }},
      {"64 bpp", [](BmpShape& s) { s.bits = 64; }},
      {"zero width", [](BmpShape& s) { s.width = 0; }},
      {"negative width", [](BmpShape& s) { s.width = -3; }},
      {"smallest width", [](BmpShape& s) { s.width = kMinInt32; s.rows = 0; }},
      {"zero height", [](BmpShape& s) { s.height = 0; }},
      {"smallest height", [](BmpShape& s) { s.height = kMinInt32; s.rows = 1; }},
      {"widest row", [](BmpShape& s) { s.width = kMaxInt32; s.bits = 32; s.rows = 0; }},
      {"gigabyte row", [](BmpShape& s) { s.width = 1 << 28; s.bits = 32; s.rows = 0; }},
      {"tallest picture", [](BmpShape& s) { s.height = kMaxInt32; s.rows = 3; }},
      {"30 GB of pixels", [](BmpShape& s) { s.width = 100000; s.height = 100000; s.rows = 0; }},
      {"no pixel rows", [](BmpShape& s) { s.rows = 0; }},
      {"one row short", [](BmpShape& s) { s.height = 5; s.rows = 4; }},
      {"last pixel byte missing", [](BmpShape&) {}, 1},
      {"offset at the end", [](BmpShape& s) { s.pixelOffset = 54 + 24; }},
      {"offset one past the end", [](BmpShape& s) { s.pixelOffset = 54 + 25; }},
      {"offset one byte late", [](BmpShape& s) { s.pixelOffset = 55; }},
      {"largest offset", [](BmpShape& s) { s.pixelOffset = 0xFFFFFFFF; }},
      {"colour table cut short", [](BmpShape& s) { s.bits = 8; s.colourEntries = 255; s.rows = 0; }},
      {"header cut short", [](BmpShape& s) { s.rows = 0; }, 3},
  };
  const BmpImage valid{BmpShape()};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpShape shape;
    c.defect(shape);
    std::vector<std::uint8_t> bytes = BmpImage(shape).bytes();
    ASSERT_GE(bytes.size(), c.cut);
    bytes.resize(bytes.size() - c.cut);
    Picture picture;
    ASSERT_TRUE(Load(picture, valid.bytes()));  // a failed load must also drop what was there
    EXPECT_FALSE(Load(picture, bytes));
    ExpectEmpty(picture);
  }
}

TEST(PictureDecodeTest, EveryTruncationIsEmptyOrWhole) {
  const std::vector<std::uint8_t> trailer = {1, 2, 3};
  const BmpShape specs[] = {
      BmpShape().Size(3, 3).Bits(4),
      BmpShape().Size(2, -2).Bits(1).InfoSize(108),
      BmpShape().Size(2, 2).Bits(32).Compression(3).Masks({0xFF0000, 0xFF00, 0xFF}),
      BmpShape().Size(3, 1).Bits(24).Gap(5),
  };
  for (const BmpShape& shape : specs) {
    std::vector<std::uint8_t> bytes = BmpImage(shape).bytes();
    const std::size_t whole = bytes.size();
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    Picture complete;
    ASSERT_TRUE(Load(complete, bytes));
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
      SCOPED_TRACE(::testing::Message() << shape.bits << " bpp, first " << length << " of " << bytes.size());
      // A buffer of exactly `length` bytes, so the sanitizer sees any read past it.
      const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
      Picture picture;
      EXPECT_EQ(Load(picture, prefix), length >= whole);
      if (length >= whole)
        testing::ExpectSame(picture, complete);
      else
        ExpectEmpty(picture);
    }
  }
}

TEST(PictureDecodeTest, NullBytesAndClearGiveAnEmptyPicture) {
  Picture picture;
  ExpectEmpty(picture);
  EXPECT_FALSE(picture.LoadFromMemory(nullptr, 100));
  ExpectEmpty(picture);

  const BmpImage image{BmpShape()};
  ASSERT_TRUE(Load(picture, image.bytes()));
  picture.Clear();
  ExpectEmpty(picture);
}

}  // namespace
}  // namespace ab
