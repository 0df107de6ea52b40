#include "contacts/RowCache.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <span>

#include "contacts/CardStore.h"
#include "support/CardBuilders.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

constexpr auto kAllSettled = -std::chrono::hours(1);  // every file counts as long unchanged

class RowCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { for (const char* name : {"Amy", "Bob", "Cyd"}) WriteCard(name, name); }
  void WriteCard(const std::string& file, const std::string& name) const {
    std::ofstream(folder_.File(file + ".vcf"), std::ios::binary)
        << testing::Card({"FN:" + name, "EMAIL;PREF:" + name + "@x", "TEL;WORK:1", "TEL;HOME:2"});
  }
  // Loads the folder with a cache for `program`; the rows as "name email work home path" lines.
  std::string Load(const std::string& program = "build-1", std::chrono::nanoseconds settle = kAllSettled) {
    RowCache cache(cacheFile_, program, settle);
    EXPECT_EQ(LoadCardFolder(folder_.path(), [](int) { return kAnswerNo; }, nullptr, &cache), 1);
    hits_ = cache.hits();
    std::string rows;
    for (const ContactRow& r : std::span(contactTable.data(), static_cast<std::size_t>(contactCount)))
      rows += r.displayName.str() + " " + r.email.str() + " " + r.workPhone.str() + " " + r.homePhone.str() + " " +
              r.filePath.str() + "\n";
    return rows;
  }

  static struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
  }

  testing::TempFolder folder_, cacheHome_;
  std::string cacheFile_ = RowCacheFile(cacheHome_.path(), folder_.path());
  int hits_ = 0;
};

TEST_F(RowCacheTest, UnchangedCardsComeFromTheCacheAndChangedOnesFromTheirFiles) {
  // Cards changed just before a load may change again within one tick of
  // their file system's clock and keep their stamp: they are not kept.
  const std::string read = Load("build-1", RowCache::kSettleTime);
  EXPECT_EQ(Load(), read);
  EXPECT_EQ(hits_, 0);
  EXPECT_EQ(Load(), read);
  EXPECT_EQ(hits_, 3);
  // The same size and modification time: only the change time tells, once
  // the file system's clock has moved on.
  const std::string bob = folder_.File("Bob.vcf");
  const struct stat before = StatOf(bob);
  do {
    WriteCard("Bob", "Bea");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, bob.c_str(), times, 0), 0);
  } while (CardFileStamp::Of(StatOf(bob)).changed == CardFileStamp::Of(before).changed);
  std::string expected = read;
  EXPECT_EQ(Load(), expected.replace(expected.find("Bob Bob@x"), 9, "Bea Bea@x"));
  EXPECT_EQ(hits_, 2);
}

TEST_F(RowCacheTest, RowsOfAnotherBuildOrAFileDamagedAnywhereAreNotTaken) {
  const std::string read = Load();
  EXPECT_EQ(Load("build-2"), read);
  EXPECT_EQ(hits_, 0);
  EXPECT_EQ(ProgramBuildId().size(), 40u);  // the linker's SHA-1, in hex
  Load();
  const std::string kept = testing::TempFolder::Read(cacheFile_);
  const auto expectUnused = [&](const char* what) {
    EXPECT_EQ(Load(), read) << what;
    EXPECT_EQ(hits_, 0) << what;
  };
  // Rows planted through a link, or in a file of another user, are not the user's.
  const std::string planted = cacheHome_.Write("planted", kept);
  ASSERT_EQ(::unlink(cacheFile_.c_str()), 0);
  ASSERT_EQ(::symlink(planted.c_str(), cacheFile_.c_str()), 0);
  expectUnused("rows read through a link");
  if (::chown(planted.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {  // root only
    ASSERT_EQ(::rename(planted.c_str(), cacheFile_.c_str()), 0);
    expectUnused("rows of another user");
  }
  for (std::size_t at = 0; at < kept.size(); at += 37) {
    std::string damaged = kept;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
    std::ofstream(cacheFile_, std::ios::binary) << damaged;
    expectUnused(("a byte changed at " + std::to_string(at)).c_str());
    std::ofstream(cacheFile_, std::ios::binary) << kept.substr(0, at);
    expectUnused(("cut at " + std::to_string(at)).c_str());
  }
}

}  // namespace
}  // namespace ab
