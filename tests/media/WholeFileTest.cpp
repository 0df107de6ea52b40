// Reading from disk: whole files as raw bytes, and pictures, which must read
// no more of a file than the headers and rows they need.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "media/ByteBuffer.h"
#include "media/Picture.h"
#include "support/ImageBytes.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::BmpImage;
using testing::BmpShape;

std::string Text(const ByteBuffer& buffer) {
  return std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(buffer.size()));
}

// A file is read whole, with a zero byte after it, and decodes as its bytes do in memory, reading no more
// than the headers and rows it needs; what cannot be read leaves the buffer and empties the picture.
TEST(WholeFile, ReadsFilesWholeAndPicturesAsTheirBytes) {
  testing::TempFolder folder;
  const std::string cases[] = {"", BmpImage(BmpShape().Size(4, 4)).str(),
                               BmpImage(BmpShape().Size(9, -4).Bits(4).InfoSize(124).Gap(17)).str(),
                               BmpImage(BmpShape().Size(3, 1000).Rows(2)).str(), BmpImage(BmpShape().Size(3, -3).Bits(4)).str().substr(0, 90),
                               testing::JpegHeaderBytes(48, 64, 100), "B"};
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    const std::string path = folder.Write("file", bytes);
    ByteBuffer out = ByteBuffer::Copy("old", 3);
    ASSERT_TRUE(ReadWholeFile(path, out));
    EXPECT_EQ(std::pair(Text(out), out.data()[bytes.size()]), std::pair(bytes, std::uint8_t{0}));
    Picture expected, picture;
    EXPECT_EQ(picture.LoadFromFile(path), expected.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(std::tuple(picture.HeaderBlock(), picture.PixelBlock(), picture.EncodedImage(), picture.Width()),
              std::tuple(expected.HeaderBlock(), expected.PixelBlock(), expected.EncodedImage(), expected.Width()));
  }
  const std::string valid = folder.Write("valid.bmp", BmpImage(BmpShape()).str());
  const std::string paths[] = {"", folder.File("missing.bmp"), folder.path(), folder.File("pipe.bmp")};
  ASSERT_EQ(::mkfifo(paths[3].c_str(), 0600), 0);  // must not block waiting for a writer
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    ByteBuffer out = ByteBuffer::Copy("keep", 4);
    auto* before = out.data();
    EXPECT_FALSE(ReadWholeFile(path, out));
    EXPECT_EQ(std::pair(out.data(), Text(out)), std::pair(before, std::string("keep")));
    Picture picture;
    ASSERT_TRUE(picture.LoadFromFile(valid));
    EXPECT_FALSE(picture.LoadFromFile(path) || !picture.IsEmpty());
  }

  // A small picture at the front of a sparse 3 GB file decodes without the file being read whole.
  const std::string front = folder.Write("front.bmp", BmpImage(BmpShape().Size(4, 4)).str());
  std::error_code error;  // sparse: nothing is really written
  std::filesystem::resize_file(front, 3ull << 30, error);
  if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
  Picture picture;
  EXPECT_TRUE(picture.LoadFromFile(front));
  EXPECT_EQ(picture.PixelBlock().size(), 48u);
}

}  // namespace
}  // namespace ab
