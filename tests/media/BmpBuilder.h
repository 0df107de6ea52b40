#pragma once
// Builds BMP file images of any size, depth and header shape for the tests.
// Every colour table entry and pixel byte gets a distinct-looking value, so a
// test can tell whether the right bytes landed in the right place.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ab::testing {

struct BmpShape {
  std::int32_t width = 3;
  std::int32_t height = 2;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t infoSize = 40;
  std::uint32_t coloursUsed = 0;
  int colourEntries = -1;  // written colour table entries; -1: the full table of the depth
  std::int64_t rows = -1;  // written pixel rows; -1: |height|
  std::uint32_t gap = 0;   // bytes between the colour table and the pixel rows
  std::int64_t pixelOffset = -1;  // -1: right after the colour table and the gap; else only the field changes
  std::vector<std::uint32_t> masks;  // written after a 40-byte header, or inside a longer one
  char type[2] = {'B', 'M'};

  BmpShape& Size(std::int32_t w, std::int32_t h) { width = w; height = h; return *this; }
  BmpShape& Bits(std::uint16_t b) { bits = b; return *this; }
  BmpShape& Compression(std::uint32_t c) { compression = c; return *this; }
  BmpShape& InfoSize(std::uint32_t s) { infoSize = s; return *this; }
  BmpShape& ColoursUsed(std::uint32_t n) { coloursUsed = n; return *this; }
  BmpShape& ColourEntries(int n) { colourEntries = n; return *this; }
  BmpShape& Rows(std::int64_t n) { rows = n; return *this; }
  BmpShape& Gap(std::uint32_t n) { gap = n; return *this; }
  BmpShape& Masks(std::vector<std::uint32_t> m) { masks = std::move(m); return *this; }
};

inline int FullTableEntries(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }

inline std::int64_t BuilderRowSize(std::int64_t width, int bits) { return ((width * bits + 7) / 8 + 3) / 4 * 4; }

class BmpImage {
 public:
  explicit BmpImage(const BmpShape& shape) {
    const int entries = shape.colourEntries < 0 ? FullTableEntries(shape.bits) : shape.colourEntries;
    const std::int64_t height = shape.height < 0 ? -static_cast<std::int64_t>(shape.height) : shape.height;
    const std::int64_t rows = shape.rows < 0 ? height : shape.rows;
    rowSize_ = BuilderRowSize(shape.width < 0 ? 0 : shape.width, shape.bits);

    Put(static_cast<std::uint8_t>(shape.type[0]), 1);
    Put(static_cast<std::uint8_t>(shape.type[1]), 1);
    Put(0, 4);  // file size: readers ignore it, so do the tests
    Put(0, 4);
    const std::size_t offsetField = bytes_.size();
    Put(0, 4);

    const std::size_t infoStart = bytes_.size();
    Put(shape.infoSize, 4);
    Put(static_cast<std::uint32_t>(shape.width), 4);
    Put(static_cast<std::uint32_t>(shape.height), 4);
    Put(1, 2);
    Put(shape.bits, 2);
    Put(shape.compression, 4);
    Put(0, 4);  // image size
    Put(2835, 4);
    Put(2835, 4);
    Put(shape.coloursUsed, 4);
    Put(0, 4);
    for (std::uint32_t mask : shape.masks) Put(mask, 4);
    // The rest of a longer header (colour space and the like) is filler.
    while (bytes_.size() < infoStart + shape.infoSize) bytes_.push_back(0xEE);

    tableStart_ = bytes_.size();
    for (int i = 0; i < entries; ++i) Put(0x00010203u * static_cast<std::uint32_t>(i % 64) + 0x00404040u, 4);
    bytes_.insert(bytes_.end(), shape.gap, 0xAA);

    pixelOffset_ = shape.pixelOffset < 0 ? bytes_.size() : static_cast<std::size_t>(shape.pixelOffset);
    const std::uint32_t offsetValue = static_cast<std::uint32_t>(pixelOffset_);
    for (int i = 0; i < 4; ++i) bytes_[offsetField + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(offsetValue >> (8 * i));
    for (std::int64_t i = 0; i < rowSize_ * rows; ++i) bytes_.push_back(static_cast<std::uint8_t>(i * 7 + 1));
  }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::string str() const { return std::string(bytes_.begin(), bytes_.end()); }
  std::size_t tableStart() const { return tableStart_; }
  std::size_t pixelOffset() const { return pixelOffset_; }
  std::int64_t rowSize() const { return rowSize_; }

 private:
  void Put(std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  std::vector<std::uint8_t> bytes_;
  std::size_t tableStart_ = 0;
  std::size_t pixelOffset_ = 0;
  std::int64_t rowSize_ = 0;
};

}  // namespace ab::testing
