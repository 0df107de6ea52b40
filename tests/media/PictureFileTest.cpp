#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "BmpBuilder.h"
#include "media/Picture.h"
#include "PictureChecks.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::BmpImage;
using testing::BmpShape;
using testing::ExpectEmpty;
using testing::ExpectSame;

Picture FromMemory(const BmpImage& image) {
  Picture picture;
  picture.LoadFromMemory(image.bytes().data(), image.bytes().size());
  return picture;
}

TEST(PictureFileTest, DecodesFilesLikeTheirBytesInMemory) {
  testing::TempFolder folder;
  const BmpShape specs[] = {
      BmpShape().Size(100, 2).Bits(24),
      BmpShape().Size(5, 3).Bits(8).ColoursUsed(10),
      BmpShape().Size(9, -4).Bits(4).InfoSize(124).Gap(17),
      BmpShape().Size(2, 2).Bits(32).Compression(3).Masks({0xFF0000, 0xFF00, 0xFF}),
  };
  for (const BmpShape& shape : specs) {
    SCOPED_TRACE(::testing::Message() << shape.bits << " bpp");
    const BmpImage image(shape);
    const Picture expected = FromMemory(image);
    ASSERT_FALSE(expected.IsEmpty());
    Picture picture;
    EXPECT_TRUE(picture.LoadFromFile(folder.Write("picture.bmp", image.str())));
    ExpectSame(picture, expected);
  }
}

TEST(PictureFileTest, EveryTruncatedFileIsEmpty) {
  testing::TempFolder folder;
  const BmpImage image(BmpShape().Size(3, -3).Bits(4));
  const std::string bytes = image.str();
  Picture picture;
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    EXPECT_FALSE(picture.LoadFromFile(folder.Write("cut.bmp", bytes.substr(0, length)))) << length << " bytes";
    EXPECT_TRUE(picture.IsEmpty());
  }
  EXPECT_TRUE(picture.LoadFromFile(folder.Write("cut.bmp", bytes)));
  ExpectSame(picture, FromMemory(image));
}

TEST(PictureFileTest, WhatCannotBeReadGivesAnEmptyPicture) {
  testing::TempFolder folder;
  const std::string valid = folder.Write("valid.bmp", BmpImage(BmpShape()).str());
  const std::string fifo = folder.File("pipe.bmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  BmpShape tall;
  tall.height = 1000;
  tall.rows = 2;
  const std::string paths[] = {
      "",
      folder.File("missing.bmp"),
      folder.path(),
      fifo,  // must not block waiting for a writer
      folder.Write("text.bmp", "BEGIN:VCARD\r\nFN:Not a picture\r\nEND:VCARD\r\n"),
      folder.Write("tall.bmp", BmpImage(tall).str()),
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    Picture picture;
    ASSERT_TRUE(picture.LoadFromFile(valid));
    EXPECT_FALSE(picture.LoadFromFile(path));
    ExpectEmpty(picture);
  }
}

TEST(PictureFileTest, ReadsOnlyTheHeadersAndRowsOfAHugeFile) {
  // A small picture at the front of a sparse 3 GB file: decoding must read the
  // rows it needs and nothing more, and a header claiming 2.4 GB of rows in it is
  // refused for its size.
  testing::TempFolder folder;
  const BmpImage image(BmpShape().Size(4, 4).Bits(24));
  const std::string huge = folder.Write("huge.bmp", image.str());
  std::error_code error;
  std::filesystem::resize_file(huge, 3ull << 30, error);
  if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
  Picture picture;
  EXPECT_TRUE(picture.LoadFromFile(huge));
  ExpectSame(picture, FromMemory(image));

  const std::string claims = folder.Write("claims.bmp", BmpImage(BmpShape().Size(1 << 20, 800).Rows(0)).str());
  std::filesystem::resize_file(claims, 3ull << 30, error);
  ASSERT_FALSE(error);
  EXPECT_FALSE(picture.LoadFromFile(claims));
  ExpectEmpty(picture);
}

}  // namespace
}  // namespace ab
