#pragma once
// BMP file images made from a QImage, at any depth the decoder takes, so the
// drawing tests can compare what is drawn with the colours that went in; and
// checks on what was drawn.

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "media/ByteBuffer.h"
#include "media/Picture.h"
#include "support/ImageBytes.h"

namespace ab::testing {

// Uncompressed and bottom-up. For 1, 4 and 8 bits the image's distinct colours
// become the colour table; 32-bit pixels get a zero fourth byte, as most writers leave it.
inline std::vector<std::uint8_t> EncodeBmp(const QImage& source, int bits) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  BmpShape shape = BmpShape().Size(image.width(), image.height()).Bits(static_cast<std::uint16_t>(bits));
  const auto indexOf = [&shape](QRgb colour) {
    const std::uint32_t entry = colour & 0xFFFFFFu;
    auto at = std::find(shape.palette.begin(), shape.palette.end(), entry);
    if (at == shape.palette.end()) at = shape.palette.insert(at, entry);
    if (static_cast<int>(shape.palette.size()) > FullTableEntries(shape.bits)) throw std::invalid_argument("too many colours");
    return static_cast<std::uint32_t>(at - shape.palette.begin());
  };
  const std::size_t rowSize = static_cast<std::size_t>(BmpRowSize(image.width(), bits));
  for (int y = image.height() - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(rowSize, 0);
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      const std::size_t at = static_cast<std::size_t>(x * bits / 8);
      if (bits < 16) {
        row[at] |= static_cast<std::uint8_t>(indexOf(c) << (8 - bits - x * bits % 8));
      } else {
        const std::uint32_t v = bits == 16 ? ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3) : c;
        for (int i = 0; i < std::min(bits / 8, 3); ++i) row[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
      }
    }
    shape.pixels.insert(shape.pixels.end(), row.begin(), row.end());
  }
  return BmpImage(shape).bytes;
}

inline QImage SolidImage(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

inline ByteBuffer BmpBuffer(const QImage& image, int bits = 24) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(image, bits);
  return ByteBuffer::Copy(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

inline Picture DecodedPicture(const QImage& image, int bits = 24) {
  const ByteBuffer bytes = BmpBuffer(image, bits);
  Picture picture;
  picture.LoadFromMemory(bytes.data(), static_cast<std::size_t>(bytes.size()));
  return picture;
}

// Pixels of `image` within `area` that differ from `background`.
inline int InkCount(const QImage& image, const QRect& area, QColor background) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (image.pixel(x, y) != background.rgb()) ++count;
  return count;
}

// Every pixel of `image` inside `area` has `colour`.
inline bool AllPixels(const QImage& image, const QRect& area, QColor colour) { return InkCount(image, area, colour) == 0; }

}  // namespace ab::testing
