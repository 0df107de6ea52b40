#include "media/Picture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <optional>

#include "media/ByteBuffer.h"

// What is decoded: a "BM" file header, an information header of 40 bytes or one
// of its longer successors (52, 56, 108, 124 bytes), 1, 4, 8, 16, 24 or 32 bits
// per pixel, uncompressed (BI_RGB) or BI_BITFIELDS whose masks are exactly the
// BI_RGB layout (5-5-5 at 16 bits, 8-8-8 at 32). The header block always reads
// as a plain bottom-up BI_RGB DIB: only the first 40 bytes of a longer header are
// kept, with their size field set to 40, the compression to BI_RGB, and the
// height made positive when the file stores its rows top-down (those rows are
// turned bottom-up). A file that is already plain keeps its header bytes as they
// are. The colour table length follows the bit depth alone and the whole table
// must be present; the pixel rows must lie inside the bytes given and fit in
// 2^31 - 1 bytes.

namespace ab {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kLongestInfoHeader = 124;
constexpr std::size_t kMasksStart = kFileHeaderSize + kInfoHeaderSize;  // same place for every header size
constexpr std::size_t kMasksSize = 12;
// Enough of a file to hold every header and the largest colour table.
constexpr std::size_t kLongestHead = kFileHeaderSize + kLongestInfoHeader + 256 * 4;
constexpr std::int64_t kLargestBlock = std::numeric_limits<std::int32_t>::max();

// Fields of the information header, by their offset in it.
constexpr std::size_t kSizeField = 0;
constexpr std::size_t kWidthField = 4;
constexpr std::size_t kHeightField = 8;
constexpr std::size_t kBitCountField = 14;
constexpr std::size_t kCompressionField = 16;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t ReadLe(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

void WriteLe32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool IsKnownInfoHeaderSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsSupportedDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// BI_BITFIELDS pixels read exactly like BI_RGB ones when the red, green and
// blue masks are the BI_RGB layout of the depth.
bool HasPlainMasks(const std::uint8_t* masks, int bits) {
  const std::uint32_t red = ReadLe(masks, 4), green = ReadLe(masks + 4, 4), blue = ReadLe(masks + 8, 4);
  if (bits == 16) return red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
  if (bits == 32) return red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
  return false;
}

struct Layout {
  std::vector<std::uint8_t> header;  // as the header block will hold it
  std::uint64_t pixelOffset = 0;
  std::size_t rowSize = 0;
  std::size_t rows = 0;
  bool topDown = false;
};

// Checks the headers found in `head` (the first bytes of a BMP file image of
// `totalSize` bytes) and finds where the pixel rows lie.
std::optional<Layout> ReadLayout(const std::uint8_t* head, std::size_t headSize, std::uint64_t totalSize) {
  if (headSize < kFileHeaderSize + kInfoHeaderSize || head[0] != 'B' || head[1] != 'M') return std::nullopt;
  const std::uint8_t* info = head + kFileHeaderSize;
  const std::uint32_t infoSize = ReadLe(info + kSizeField, 4);
  const std::int64_t width = static_cast<std::int32_t>(ReadLe(info + kWidthField, 4));
  const std::int64_t height = static_cast<std::int32_t>(ReadLe(info + kHeightField, 4));
  const int bits = static_cast<int>(ReadLe(info + kBitCountField, 2));
  const std::uint32_t compression = ReadLe(info + kCompressionField, 4);

  if (!IsKnownInfoHeaderSize(infoSize) || !IsSupportedDepth(bits)) return std::nullopt;
  if (compression == kBiBitfields) {
    if (headSize < kMasksStart + kMasksSize || !HasPlainMasks(head + kMasksStart, bits)) return std::nullopt;
  } else if (compression != kBiRgb) {
    return std::nullopt;
  }

  const std::uint64_t tableStart = kFileHeaderSize + infoSize;
  const std::uint64_t tableEnd = tableStart + 4 * static_cast<std::uint64_t>(Picture::ColourTableEntries(bits));
  if (tableEnd > headSize) return std::nullopt;

  const std::int64_t rowSize = Picture::RowSize(width, bits);
  const std::int64_t rows = height < 0 ? -height : height;
  const std::uint64_t pixelOffset = ReadLe(head + kPixelOffsetField, 4);
  if (width <= 0 || rowSize <= 0 || rows == 0 || pixelOffset > totalSize) return std::nullopt;
  // Rows inside the bytes and below 2^31 bytes in all; this also turns away a height of -2^31.
  const std::uint64_t room = std::min<std::uint64_t>(totalSize - pixelOffset, kLargestBlock);
  if (static_cast<std::uint64_t>(rows) > room / static_cast<std::uint64_t>(rowSize)) return std::nullopt;

  Layout layout;
  layout.header.assign(info, info + kInfoHeaderSize);
  layout.header.insert(layout.header.end(), head + tableStart, head + tableEnd);
  WriteLe32(&layout.header[kSizeField], kInfoHeaderSize);
  WriteLe32(&layout.header[kHeightField], static_cast<std::uint32_t>(rows));
  WriteLe32(&layout.header[kCompressionField], kBiRgb);
  layout.pixelOffset = pixelOffset;
  layout.rowSize = static_cast<std::size_t>(rowSize);
  layout.rows = static_cast<std::size_t>(rows);
  layout.topDown = height < 0;
  return layout;
}

void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowSize) {
  auto top = pixels.begin();
  auto bottom = pixels.end() - static_cast<std::ptrdiff_t>(rowSize);
  for (; top < bottom; top += static_cast<std::ptrdiff_t>(rowSize), bottom -= static_cast<std::ptrdiff_t>(rowSize))
    std::swap_ranges(top, top + static_cast<std::ptrdiff_t>(rowSize), bottom);
}

// The one decoder behind both sources: `readRows(offset, out, count)` fetches
// the pixel rows once the headers in `head` have been checked against `totalSize`.
template <typename ReadRows>
bool Decode(const std::uint8_t* head, std::size_t headSize, std::uint64_t totalSize, ReadRows readRows,
            std::vector<std::uint8_t>& headerBlock, std::vector<std::uint8_t>& pixelBlock) {
  std::optional<Layout> layout = ReadLayout(head, headSize, totalSize);
  if (!layout) return false;
  std::vector<std::uint8_t> pixels;
  try {
    pixels.resize(layout->rowSize * layout->rows);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!readRows(layout->pixelOffset, pixels.data(), pixels.size())) return false;
  if (layout->topDown) FlipRows(pixels, layout->rowSize);
  headerBlock = std::move(layout->header);
  pixelBlock = std::move(pixels);
  return true;
}

}  // namespace

bool Picture::LoadFromMemory(const std::uint8_t* bytes, std::size_t size) {
  Clear();
  if (bytes == nullptr) return false;
  if (const auto header = ReadImageHeader(bytes, size)) {
    encoded_.assign(bytes, bytes + size);
    encodedHeader_ = *header;
    return true;
  }
  auto copyRows = [bytes](std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    std::memcpy(out, bytes + offset, count);
    return true;
  };
  return Decode(bytes, size, size, copyRows, headerBlock_, pixelBlock_);
}

bool Picture::LoadFromFile(const std::string& path) {
  Clear();
  if (path.empty()) return false;
  std::error_code error;
  const std::uintmax_t fileSize = std::filesystem::file_size(path, error);  // fails for anything but a file
  if (error) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;

  std::uint8_t head[kLongestHead];
  in.read(reinterpret_cast<char*>(head), sizeof head);
  if (in.gcount() >= 2 && !(head[0] == 'B' && head[1] == 'M')) {
    // Not a BMP: a JPEG, PNG or GIF picture is kept whole.
    in.close();
    ByteBuffer bytes;
    return ReadWholeFile(path, bytes) && LoadFromMemory(bytes.data(), static_cast<std::size_t>(bytes.size()));
  }
  auto readRows = [&in](std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return in.gcount() == static_cast<std::streamsize>(count);
  };
  return Decode(head, static_cast<std::size_t>(in.gcount()), fileSize, readRows, headerBlock_, pixelBlock_);
}

void Picture::Clear() {
  headerBlock_.clear();
  headerBlock_.shrink_to_fit();
  pixelBlock_.clear();
  pixelBlock_.shrink_to_fit();
  encoded_.clear();
  encoded_.shrink_to_fit();
  encodedHeader_ = {};
  drawCache_.reset();
}

PictureFormat Picture::Format() const {
  if (!pixelBlock_.empty()) return PictureFormat::Bmp;
  return encodedHeader_.format;
}

std::int32_t Picture::Width() const {
  if (pixelBlock_.empty()) return encodedHeader_.width;
  return static_cast<std::int32_t>(ReadLe(&headerBlock_[kWidthField], 4));
}

std::int32_t Picture::Height() const {
  if (pixelBlock_.empty()) return encodedHeader_.height;
  return static_cast<std::int32_t>(ReadLe(&headerBlock_[kHeightField], 4));
}

int Picture::BitsPerPixel() const {
  return pixelBlock_.empty() ? 0 : static_cast<int>(ReadLe(&headerBlock_[kBitCountField], 2));
}

int Picture::ColourCount() const { return ColourTableEntries(BitsPerPixel()); }

std::int64_t Picture::RowSize(std::int64_t width, int bitsPerPixel) {
  if (width < 0 || width > std::numeric_limits<std::int32_t>::max() || bitsPerPixel < 1 || bitsPerPixel > 32)
    return -1;
  const std::int64_t rowSize = ((width * bitsPerPixel + 7) / 8 + 3) / 4 * 4;
  return rowSize > kLargestBlock ? -1 : rowSize;
}

int Picture::ColourTableEntries(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

}  // namespace ab
