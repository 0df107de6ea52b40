#include "editor/PictureImage.h"

#include <QPainter>

#include <cstdint>
#include <cstring>
#include <memory>

#include "media/Picture.h"

namespace ab {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;

QImage::Format FormatForDepth(int bits) {
  switch (bits) {
    case 1: return QImage::Format_Mono;  // most significant bit first, as in BMP rows
    case 4:
    case 8: return QImage::Format_Indexed8;
    case 16: return QImage::Format_RGB555;
    case 24: return QImage::Format_BGR888;
    case 32: return QImage::Format_RGB32;
    default: return QImage::Format_Invalid;
  }
}

// Colour table entries are blue, green, red and a reserved byte.
QList<QRgb> ColourTable(const std::vector<std::uint8_t>& header, int entries) {
  QList<QRgb> table;
  table.reserve(entries);
  for (int i = 0; i < entries; ++i) {
    const std::uint8_t* entry = header.data() + kInfoHeaderSize + 4 * static_cast<std::size_t>(i);
    table.push_back(qRgb(entry[2], entry[1], entry[0]));
  }
  return table;
}

void CopyRow(const std::uint8_t* source, uchar* target, int width, int bits) {
  switch (bits) {
    case 1: std::memcpy(target, source, static_cast<std::size_t>((width + 7) / 8)); break;
    case 4:
      for (int x = 0; x < width; ++x) target[x] = (source[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
      break;
    case 8: std::memcpy(target, source, static_cast<std::size_t>(width)); break;
    case 16: {
      auto* out = reinterpret_cast<quint16*>(target);
      for (int x = 0; x < width; ++x) {
        // The top bit is unused in BMP files but must be clear for Qt.
        out[x] = static_cast<quint16>((source[2 * x] | (source[2 * x + 1] << 8)) & 0x7FFF);
      }
      break;
    }
    case 24: std::memcpy(target, source, static_cast<std::size_t>(width) * 3); break;
    case 32: {
      auto* out = reinterpret_cast<quint32*>(target);
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = source + 4 * x;
        out[x] = 0xFF000000u | (static_cast<quint32>(p[2]) << 16) | (static_cast<quint32>(p[1]) << 8) | p[0];
      }
      break;
    }
    default: break;
  }
}

}  // namespace

QImage PictureToImage(const Picture& picture) {
  if (picture.Format() != PictureFormat::Bmp) return {};
  const int width = picture.Width();
  const int height = picture.Height();
  const int bits = picture.BitsPerPixel();
  const int entries = Picture::ColourTableEntries(bits);
  const std::int64_t rowSize = Picture::RowSize(width, bits);
  const QImage::Format format = FormatForDepth(bits);
  const auto& header = picture.HeaderBlock();
  const auto& pixels = picture.PixelBlock();
  if (format == QImage::Format_Invalid || width <= 0 || height <= 0 || rowSize <= 0 ||
      header.size() < kInfoHeaderSize + 4 * static_cast<std::size_t>(entries) ||
      pixels.size() < static_cast<std::uint64_t>(rowSize) * static_cast<std::uint64_t>(height)) {
    return {};
  }

  QImage image(width, height, format);
  if (image.isNull()) return {};
  if (entries > 0) image.setColorTable(ColourTable(header, entries));
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(rowSize);
    CopyRow(row, image.scanLine(y), width, bits);
  }
  return image;
}

const QImage& DrawnImage(const Picture& picture) {
  std::shared_ptr<const PictureDrawCache>& cache = picture.DrawCache();
  if (!cache) {
    auto made = std::make_shared<PictureDrawCache>();
    if (picture.Format() == PictureFormat::Bmp) {
      made->image = PictureToImage(picture);
    } else if (!picture.IsEmpty()) {
      const auto& bytes = picture.EncodedImage();
      made->image.loadFromData(bytes.data(), static_cast<int>(bytes.size()));
      // The size the header gave is the picture's size everywhere else.
      const QSize size(picture.Width(), picture.Height());
      if (!made->image.isNull() && made->image.size() != size) made->image = made->image.scaled(size);
      // Opaque like a BMP: transparent parts show white paper, not the shadow behind the picture.
      if (made->image.hasAlphaChannel()) {
        QImage opaque(made->image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, made->image);
        made->image = opaque;
      }
    }
    cache = std::move(made);
  }
  return cache->image;
}

}  // namespace ab
