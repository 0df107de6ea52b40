#pragma once
// A picture for display: a decoded uncompressed Windows BMP (40-byte
// information header: the header with its colour table, and the bottom-up
// pixel rows), or a JPEG, PNG or GIF file image kept as it came, with its size
// read from its header (the drawing layer decodes it). Decoding never reads
// past the bytes it was given; anything it cannot take safely gives an empty
// picture.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/ImageHeader.h"

class QPainter;
class QRect;

namespace ab {

class PictureDrawCache;  // the drawing layer's decoded form (editor/PictureImage.h)

class Picture {
 public:
  // Both decoders first empty the picture; the result says whether it now
  // holds pixels.
  bool LoadFromFile(const std::string& path);
  bool LoadFromMemory(const std::uint8_t* bytes, std::size_t size);

  void Clear();
  bool IsEmpty() const { return pixelBlock_.empty() && encoded_.empty(); }
  PictureFormat Format() const;

  std::int32_t Width() const;
  std::int32_t Height() const;  // always positive: the rows are bottom-up
  int BitsPerPixel() const;     // of a BMP; 0 otherwise
  int ColourCount() const;  // entries in the colour table: 2, 16, 256 or 0

  // The file image of a JPEG, PNG or GIF picture; empty for a BMP.
  const std::vector<std::uint8_t>& EncodedImage() const { return encoded_; }
  // Where the drawing layer keeps its decoded form, made at the first draw;
  // every load or Clear drops it.
  std::shared_ptr<const PictureDrawCache>& DrawCache() const { return drawCache_; }

  // The 40-byte information header followed by the colour table.
  const std::vector<std::uint8_t>& HeaderBlock() const { return headerBlock_; }
  // RowSize(width, bits) * height bytes, bottom row first.
  const std::vector<std::uint8_t>& PixelBlock() const { return pixelBlock_; }

  // Bytes per pixel row, padded to four bytes; -1 when it would not fit.
  static std::int64_t RowSize(std::int64_t width, int bitsPerPixel);
  static int ColourTableEntries(int bitsPerPixel);

  // Stretches the `source` part of the pixels (picture coordinates, top row
  // first) onto `destination` without smoothing, in the colours of the colour
  // table. 0 for an empty picture, one that does not decode, or nothing to
  // draw, else the rows drawn.
  // Defined with the drawing toolkit (ab_drawing, editor/gui/PictureDraw.cpp),
  // so this library itself needs no Qt.
  int Draw(QPainter& painter, const QRect& source, const QRect& destination) const;

 private:
  std::vector<std::uint8_t> headerBlock_;
  std::vector<std::uint8_t> pixelBlock_;
  std::vector<std::uint8_t> encoded_;
  ImageHeader encodedHeader_;
  mutable std::shared_ptr<const PictureDrawCache> drawCache_;
};

// Reads a whole file as raw bytes (with a zero byte after them). False when the
// file cannot be opened or read; `out` is then left as it was.
class ByteBuffer;
bool ReadWholeFile(const std::string& path, ByteBuffer& out);

}  // namespace ab
