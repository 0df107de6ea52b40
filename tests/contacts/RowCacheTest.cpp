#include "contacts/RowCache.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "contacts/CardStore.h"
#include "support/CardBuilders.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

constexpr auto kAllSettled = -std::chrono::hours(1);  // every file counts as long unchanged

class RowCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"Amy", "Bob", "Cyd"}) WriteCard(name, name);
  }
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
    for (int i = 0; i < contactCount; ++i) {
      const ContactRow& r = contactTable[static_cast<std::size_t>(i)];
      rows += r.displayName.str() + " " + r.email.str() + " " + r.workPhone.str() + " " + r.homePhone.str() + " " +
              r.filePath.str() + "\n";
    }
    return rows;
  }

  testing::TempFolder folder_, cacheHome_;
  std::string cacheFile_ = RowCacheFile(cacheHome_.path(), folder_.path());
  int hits_ = 0;
};

TEST_F(RowCacheTest, UnchangedCardsComeFromTheCacheAndChangedOnesFromTheirFiles) {
  const std::string read = Load();
  EXPECT_EQ(hits_, 0);
  struct stat saved {}, kept {};
  ASSERT_EQ(::stat(cacheFile_.c_str(), &saved), 0);
  EXPECT_EQ(Load(), read);
  EXPECT_EQ(hits_, 3);
  ASSERT_EQ(::stat(cacheFile_.c_str(), &kept), 0);
  EXPECT_EQ(kept.st_ino, saved.st_ino) << "a start that changed nothing rewrote the rows";
  // The same size and modification time: only the change time tells, once
  // the file system's clock has moved on.
  const std::string bob = folder_.File("Bob.vcf");
  struct stat before {}, after {};
  ASSERT_EQ(::stat(bob.c_str(), &before), 0);
  do {
    WriteCard("Bob", "Bea");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, bob.c_str(), times, 0), 0);
    ASSERT_EQ(::stat(bob.c_str(), &after), 0);
  } while (CardFileStamp::Of(after).changed == CardFileStamp::Of(before).changed);
  const std::string changed = Load();
  EXPECT_EQ(hits_, 2);
  EXPECT_NE(changed.find("Bea Bea@x 1 2 " + bob), std::string::npos) << changed;
  EXPECT_EQ(changed.find("Bob@x"), std::string::npos) << changed;
}

TEST_F(RowCacheTest, RowsOfAnotherBuildOrAFileDamagedAnywhereAreNotTaken) {
  const std::string read = Load();
  Load();
  ASSERT_EQ(hits_, 3);
  EXPECT_EQ(Load("build-2"), read);
  EXPECT_EQ(hits_, 0);
  Load();
  const std::string kept = testing::TempFolder::Read(cacheFile_);
  // Rows planted through a link, or in a file of another user, are not the user's.
  const std::string planted = cacheHome_.Write("planted", kept);
  ASSERT_EQ(::rename(cacheFile_.c_str(), (cacheFile_ + ".moved").c_str()), 0);
  ASSERT_EQ(::symlink(planted.c_str(), cacheFile_.c_str()), 0);
  EXPECT_EQ(Load(), read);
  EXPECT_EQ(hits_, 0) << "rows read through a link";
  if (::chown(planted.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {  // root only
    ASSERT_EQ(::rename(planted.c_str(), cacheFile_.c_str()), 0);
    EXPECT_EQ(Load(), read);
    EXPECT_EQ(hits_, 0) << "rows of another user";
  }
  for (std::size_t at = 0; at < kept.size(); at += 37) {
    SCOPED_TRACE(at);
    std::string damaged = kept;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
    std::ofstream(cacheFile_, std::ios::binary) << damaged;
    EXPECT_EQ(Load(), read);
    EXPECT_EQ(hits_, 0);
    std::ofstream(cacheFile_, std::ios::binary) << kept.substr(0, at);
    EXPECT_EQ(Load(), read);
    EXPECT_EQ(hits_, 0);
  }
}

// A file may change again within one tick of its file system's clock and keep its stamp.
TEST_F(RowCacheTest, CardsChangedJustBeforeTheLoadAreNotKept) {
  Load("build-1", RowCache::kSettleTime);
  Load("build-1", RowCache::kSettleTime);
  EXPECT_EQ(hits_, 0);
  EXPECT_EQ(ProgramBuildId().find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(ProgramBuildId().size(), 40u);  // the linker's SHA-1
}

}  // namespace
}  // namespace ab
