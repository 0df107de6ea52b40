// Feeds arbitrary bytes to the picture decoder. Besides the sanitizers' own
// checks, a decoded BMP must be self-consistent: a plain bottom-up header of 40
// bytes plus the colour table of its depth, and exactly RowSize x Height bytes
// of pixels taken from inside the input; a JPEG, PNG or GIF picture keeps the
// input whole, with a positive size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "media/Picture.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::uint32_t HeaderField(const ab::Picture& picture, std::size_t offset) {
  const auto& header = picture.HeaderBlock();
  return static_cast<std::uint32_t>(header[offset] | header[offset + 1] << 8 | header[offset + 2] << 16 |
                                    static_cast<std::uint32_t>(header[offset + 3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ab::Picture picture;
  const bool decoded = picture.LoadFromMemory(data, size);
  Check(decoded == !picture.IsEmpty());
  if (!decoded) {
    Check(picture.HeaderBlock().empty() && picture.Width() == 0 && picture.Height() == 0);
    return 0;
  }

  if (picture.Format() != ab::PictureFormat::Bmp) {
    Check(picture.HeaderBlock().empty() && picture.PixelBlock().empty());
    Check(picture.EncodedImage().size() == size && picture.Width() > 0 && picture.Height() > 0);
    return 0;
  }

  const int entries = picture.ColourCount();
  Check(entries == ab::Picture::ColourTableEntries(picture.BitsPerPixel()));
  Check(picture.HeaderBlock().size() == 40 + 4 * static_cast<std::size_t>(entries));
  Check(HeaderField(picture, 0) == 40 && HeaderField(picture, 16) == 0);
  Check(picture.Width() > 0 && picture.Height() > 0);

  const std::int64_t rowSize = ab::Picture::RowSize(picture.Width(), picture.BitsPerPixel());
  Check(rowSize > 0);
  Check(picture.PixelBlock().size() == static_cast<std::uint64_t>(rowSize) * static_cast<std::uint64_t>(picture.Height()));
  Check(picture.PixelBlock().size() <= size);
  return 0;
}
