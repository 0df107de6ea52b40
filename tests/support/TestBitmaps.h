#pragma once
// BMP file images made from a QImage, at any depth the decoder takes, so the
// drawing tests can compare what is drawn with the colours that went in.

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "media/ByteBuffer.h"
#include "media/Picture.h"

namespace ab::testing {

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Uncompressed, bottom-up, 40-byte header. For 1, 4 and 8 bits the image's
// distinct colours become the colour table (which is padded to full size);
// 32-bit pixels get a zero fourth byte, as most writers leave it.
inline std::vector<std::uint8_t> EncodeBmp(const QImage& source, int bits) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const int width = image.width();
  const int height = image.height();
  const int entries = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  std::vector<QRgb> palette;
  if (entries > 0) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (std::find(palette.begin(), palette.end(), image.pixel(x, y)) == palette.end()) palette.push_back(image.pixel(x, y));
    if (static_cast<int>(palette.size()) > entries) throw std::invalid_argument("too many colours for the depth");
    palette.resize(static_cast<std::size_t>(entries), qRgb(1, 2, 3));
  }
  const auto indexOf = [&palette](QRgb colour) {
    return static_cast<int>(std::find(palette.begin(), palette.end(), colour) - palette.begin());
  };
  const std::uint32_t rowSize = static_cast<std::uint32_t>(((width * bits + 7) / 8 + 3) / 4 * 4);
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(entries);

  std::vector<std::uint8_t> out = {'B', 'M'};
  PutLe(out, offset + rowSize * static_cast<std::uint32_t>(height), 4);
  PutLe(out, 0, 4);
  PutLe(out, offset, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<std::uint32_t>(width), 4);
  PutLe(out, static_cast<std::uint32_t>(height), 4);
  PutLe(out, 1, 2);
  PutLe(out, static_cast<std::uint32_t>(bits), 2);
  PutLe(out, 0, 4);
  PutLe(out, rowSize * static_cast<std::uint32_t>(height), 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (QRgb colour : palette) {
    out.push_back(static_cast<std::uint8_t>(qBlue(colour)));
    out.push_back(static_cast<std::uint8_t>(qGreen(colour)));
    out.push_back(static_cast<std::uint8_t>(qRed(colour)));
    out.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(rowSize, 0);
    for (int x = 0; x < width; ++x) {
      const QRgb c = image.pixel(x, y);
      switch (bits) {
        case 1: row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(indexOf(c) << (7 - x % 8)); break;
        case 4: row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(indexOf(c) << ((x % 2) ? 0 : 4)); break;
        case 8: row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(indexOf(c)); break;
        case 16: {
          const int v = ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
          row[static_cast<std::size_t>(2 * x)] = static_cast<std::uint8_t>(v);
          row[static_cast<std::size_t>(2 * x + 1)] = static_cast<std::uint8_t>(v >> 8);
          break;
        }
        case 24:
        case 32: {
          const std::size_t at = static_cast<std::size_t>(x * bits / 8);
          row[at] = static_cast<std::uint8_t>(qBlue(c));
          row[at + 1] = static_cast<std::uint8_t>(qGreen(c));
          row[at + 2] = static_cast<std::uint8_t>(qRed(c));
          break;
        }
        default: throw std::invalid_argument("unsupported depth");
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
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
  const std::vector<std::uint8_t> bytes = EncodeBmp(image, bits);
  Picture picture;
  picture.LoadFromMemory(bytes.data(), bytes.size());
  return picture;
}

// A canvas of one colour to draw on.
inline QImage Canvas(int width, int height, QColor colour = QColor(10, 20, 30)) {
  return SolidImage(width, height, colour);
}

// Every pixel of `image` inside `area` has `colour`.
inline bool AllPixels(const QImage& image, const QRect& area, QColor colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != colour.rgb()) return false;
  return true;
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

// Pixels of `image` within `area` that have `colour`.
inline int CountColour(const QImage& image, const QRect& area, QColor colour) {
  const QRect inside = area.intersected(image.rect());
  return inside.width() * inside.height() - InkCount(image, inside, colour);
}

// The bounding box of the pixels that differ from `background`; empty when none do.
inline QRect InkBox(const QImage& image, QColor background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background.rgb()) box = box.united(QRect(x, y, 1, 1));
  return box;
}

}  // namespace ab::testing
