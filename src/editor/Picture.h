#pragma once
// A decoded uncompressed Windows BMP (40-byte information header): the header
// with its colour table, and the bottom-up pixel rows. Decoding never reads
// past the bytes it was given; anything it cannot decode safely gives an
// empty picture.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ab {

class Picture {
 public:
  // Both decoders first empty the picture; the result says whether it now
  // holds pixels.
  bool LoadFromFile(const std::string& path);
  bool LoadFromMemory(const std::uint8_t* bytes, std::size_t size);

  void Clear();
  bool IsEmpty() const { return pixelBlock_.empty(); }

  std::int32_t Width() const;
  std::int32_t Height() const;  // always positive: the rows are bottom-up
  int BitsPerPixel() const;
  int ColourCount() const;  // entries in the colour table: 2, 16, 256 or 0

  // The 40-byte information header followed by the colour table.
  const std::vector<std::uint8_t>& HeaderBlock() const { return headerBlock_; }
  // RowSize(width, bits) * height bytes, bottom row first.
  const std::vector<std::uint8_t>& PixelBlock() const { return pixelBlock_; }

  // Bytes per pixel row, padded to four bytes; -1 when it would not fit.
  static std::int64_t RowSize(std::int64_t width, int bitsPerPixel);
  static int ColourTableEntries(int bitsPerPixel);

 private:
  std::vector<std::uint8_t> headerBlock_;
  std::vector<std::uint8_t> pixelBlock_;
};

// Reads a whole file as raw bytes (with a zero byte after them). False when the
// file cannot be opened or read; `out` is then left as it was.
class ByteBuffer;
bool ReadWholeFile(const std::string& path, ByteBuffer& out);

}  // namespace ab
