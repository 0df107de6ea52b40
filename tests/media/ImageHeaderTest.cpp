// JPEG, PNG and GIF pictures are kept as they came, with the size their header gives.

#include <gtest/gtest.h>

#include "media/Picture.h"
#include "support/ImageBytes.h"

namespace ab {
namespace {

using namespace ab::testing;

TEST(ImageHeader, CompressedPicturesKeepTheirBytesAndSize) {
  struct Case {
    const char* name;
    std::string bytes;
    PictureFormat format;  // None: not taken
    int width, height;
  } cases[] = {
      {"jpeg after its APP0 segment", JpegHeaderBytes(640, 480, 100), PictureFormat::Jpeg, 640, 480},
      {"jpeg with a fill byte", std::string("\xFF\xD8\xFF", 3) + JpegHeaderBytes(3, 2).substr(2), PictureFormat::Jpeg, 3, 2},
      {"jpeg with stray bytes before its frame header",
       JpegHeaderBytes(3, 2).substr(0, 20) + "\x10\x20" + JpegHeaderBytes(3, 2).substr(20), PictureFormat::Jpeg, 3, 2},
      {"jpeg whose scan comes first", std::string("\xFF\xD8\xFF\xDA\x00\x02", 6) + JpegHeaderBytes(3, 2), PictureFormat::None, 0, 0},
      {"jpeg cut in its frame header", JpegHeaderBytes(3, 2).substr(0, 26), PictureFormat::None, 0, 0},
      {"png", PngHeaderBytes(7, 5), PictureFormat::Png, 7, 5},
      {"png cut before its size", PngHeaderBytes(7, 5).substr(0, 20), PictureFormat::None, 0, 0},
      {"gif", RedPixelGif(), PictureFormat::Gif, 1, 1},
      {"gif of no width", "GIF87a" + std::string("\x00\x00\x05\x00", 4), PictureFormat::None, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture;
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
    EXPECT_EQ(picture.LoadFromMemory(data, c.bytes.size()), c.format != PictureFormat::None);
    EXPECT_EQ(picture.Format(), c.format);
    EXPECT_EQ(picture.Width(), c.width);
    EXPECT_EQ(picture.Height(), c.height);
    const std::string kept(picture.EncodedImage().begin(), picture.EncodedImage().end());
    EXPECT_EQ(kept, c.format == PictureFormat::None ? "" : c.bytes);
    EXPECT_TRUE(picture.HeaderBlock().empty());
  }
}

}  // namespace
}  // namespace ab
