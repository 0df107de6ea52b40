#pragma once
// Picture file images for every test binary, without Qt: BMPs of any size,
// depth and header shape, and small JPEG and GIF images with real headers.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ab::testing {

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::int64_t BmpRowSize(std::int64_t width, int bits) { return ((width * bits + 7) / 8 + 3) / 4 * 4; }

// What a BMP file image holds. Unless given, every colour table entry and pixel
// byte gets a distinct-looking value, so a test sees which bytes land where.
struct BmpShape {
  std::int32_t width = 3, height = 2;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0, infoSize = 40, coloursUsed = 0;
  int colourEntries = -1;         // written table entries; -1: the full table of the depth
  std::int64_t rows = -1;         // written pixel rows; -1: |height|
  std::uint32_t gap = 0;          // bytes between the colour table and the pixel rows
  std::int64_t pixelOffset = -1;  // -1: right after the table and the gap; else only the field changes
  std::vector<std::uint32_t> masks;    // after a 40-byte header, or inside a longer one
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB entries; empty: filler
  std::vector<std::uint8_t> pixels;    // the rows as stored; empty: filler

  BmpShape& Size(std::int32_t w, std::int32_t h) { width = w; height = h; return *this; }
  BmpShape& Bits(std::uint16_t b) { bits = b; return *this; }
  BmpShape& Compression(std::uint32_t c, std::vector<std::uint32_t> m = {}) { compression = c; masks = std::move(m); return *this; }
  BmpShape& InfoSize(std::uint32_t s) { infoSize = s; return *this; }
  BmpShape& ColoursUsed(std::uint32_t n) { coloursUsed = n; return *this; }
  BmpShape& ColourEntries(int n) { colourEntries = n; return *this; }
  BmpShape& Rows(std::int64_t n) { rows = n; return *this; }
  BmpShape& Gap(std::uint32_t n) { gap = n; return *this; }
};

inline int FullTableEntries(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }

struct BmpImage {
  std::vector<std::uint8_t> bytes;
  std::size_t tableStart = 0, pixelOffset = 0;

  explicit BmpImage(const BmpShape& s) {
    const int entries = s.colourEntries >= 0 ? s.colourEntries : FullTableEntries(s.bits);
    const std::int64_t height = s.height < 0 ? -static_cast<std::int64_t>(s.height) : s.height;
    bytes = {'B', 'M'};
    PutLe(bytes, 0, 4);  // file size and reserved fields: readers ignore them
    PutLe(bytes, 0, 4);
    PutLe(bytes, 0, 4);  // the pixel offset, set below
    for (std::uint32_t field : {s.infoSize, static_cast<std::uint32_t>(s.width), static_cast<std::uint32_t>(s.height)})
      PutLe(bytes, field, 4);
    PutLe(bytes, 1, 2);
    PutLe(bytes, s.bits, 2);
    for (std::uint32_t field : {s.compression, 0u, 2835u, 2835u, s.coloursUsed, 0u}) PutLe(bytes, field, 4);
    for (std::uint32_t mask : s.masks) PutLe(bytes, mask, 4);
    while (bytes.size() < 14 + s.infoSize) bytes.push_back(0xEE);  // the rest of a longer header
    tableStart = bytes.size();
    for (int i = 0; i < entries; ++i)
      PutLe(bytes, i < static_cast<int>(s.palette.size()) ? s.palette[static_cast<std::size_t>(i)]
                                                          : 0x00010203u * static_cast<std::uint32_t>(i % 64) + 0x00404040u, 4);
    bytes.insert(bytes.end(), s.gap, 0xAA);
    pixelOffset = s.pixelOffset < 0 ? bytes.size() : static_cast<std::size_t>(s.pixelOffset);
    for (int i = 0; i < 4; ++i) bytes[10 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(pixelOffset >> (8 * i));
    if (!s.pixels.empty()) {
      bytes.insert(bytes.end(), s.pixels.begin(), s.pixels.end());
      return;
    }
    const std::int64_t size = BmpRowSize(s.width < 0 ? 0 : s.width, s.bits) * (s.rows < 0 ? height : s.rows);
    for (std::int64_t i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7 + 1));
  }
  std::string str() const { return std::string(bytes.begin(), bytes.end()); }
};

// SOI, a JFIF APP0 segment whose length falls two bytes short (as some
// phones write it), a baseline frame header of the size, then `fill` bytes.
inline std::string JpegHeaderBytes(int width, int height, std::size_t fill = 0) {
  std::string bytes("\xFF\xD8\xFF\xE0\x00\x0EJFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
  bytes += std::string("\xFF\xC0\x00\x11\x08", 5);
  for (int value : {height, width}) bytes += {static_cast<char>(value >> 8), static_cast<char>(value)};
  bytes += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
  for (std::size_t i = 0; i < fill; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

// A whole GIF of one red pixel.
inline std::string RedPixelGif() {
  return std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                     ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                     35);
}

}  // namespace ab::testing
