#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "media/ByteBuffer.h"
#include "media/Picture.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

std::string AllByteValues(std::size_t length) {
  std::string bytes;
  for (std::size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>((i * 37) % 256));
  return bytes;
}

TEST(WholeFileTest, ReadsTheBytesAndAddsAZeroByte) {
  testing::TempFolder folder;
  for (std::size_t length : {std::size_t{1000}, std::size_t{1}, std::size_t{70000}}) {
    SCOPED_TRACE(length);
    const std::string bytes = AllByteValues(length);
    ByteBuffer out = ByteBuffer::Copy("old", 3);
    ASSERT_TRUE(ReadWholeFile(folder.Write("clip.wav", bytes), out));
    ASSERT_EQ(out.size(), static_cast<std::int32_t>(length));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), length), bytes);
    EXPECT_EQ(out.data()[length], 0);
  }
}

TEST(WholeFileTest, AnEmptyFileGivesAnEmptyBuffer) {
  testing::TempFolder folder;
  ByteBuffer out = ByteBuffer::Copy("old", 3);
  ASSERT_TRUE(ReadWholeFile(folder.Write("empty.bmp", ""), out));
  ASSERT_FALSE(out.IsNull());
  EXPECT_EQ(out.size(), 0);
  EXPECT_EQ(out.data()[0], 0);
}

TEST(WholeFileTest, FailureLeavesTheOutputAsItWas) {
  testing::TempFolder folder;
  std::vector<std::string> paths = {"", folder.File("missing.bmp"), folder.path()};

  const std::string fifo = folder.File("pipe.wav");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  paths.push_back(fifo);  // must not block waiting for a writer

  // 2^31 bytes do not fit a 32-bit length (sparse, so nothing is really written).
  const std::string huge = folder.Write("huge.wav", "RIFF");
  std::error_code error;
  std::filesystem::resize_file(huge, 1ull << 31, error);
  if (!error) paths.push_back(huge);

  if (::geteuid() != 0) {  // root reads whatever the mode says
    const std::string locked = folder.Write("locked.wav", "RIFF");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    paths.push_back(locked);
  }

  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    ByteBuffer out = ByteBuffer::Copy("keep", 4);
    const std::uint8_t* before = out.data();
    EXPECT_FALSE(ReadWholeFile(path, out));
    EXPECT_EQ(out.data(), before);
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), 4), "keep");
  }
}

}  // namespace
}  // namespace ab
