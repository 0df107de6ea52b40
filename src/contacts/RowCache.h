#pragma once
// The list rows of a card folder as an earlier start read them, kept in the
// user's cache folder, so that a start reads only the card files that changed.
// A row is taken only for a file of the same name, size, times and inode,
// read by the same build of the program; anything else is read again.

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ab {

struct ContactRow;

// What a file's stat says of its contents: a change to the file changes it.
struct CardFileStamp {
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0, modified = 0, changed = 0;  // times in nanoseconds
  static CardFileStamp Of(const struct stat& info);
  friend bool operator==(const CardFileStamp&, const CardFileStamp&) = default;
};

class RowCache {
 public:
  // A file changed this close to the save may change again within the same
  // tick of its file system's clock, keeping its stamp: its row is not kept.
  static constexpr std::chrono::seconds kSettleTime{3};

  // Rows kept in `file` for the build named `program` (the cache is unused
  // when either is empty). `settle` is kSettleTime except in tests.
  RowCache(std::string file, std::string program, std::chrono::nanoseconds settle = kSettleTime);

  // Takes the rows kept in the file; a missing or damaged file, or one of
  // another build, gives none. The stamps tell the files of one folder from
  // those of another.
  void Load();
  // The row kept for card file `name` when it still has `stamp`; the path is
  // not filled. False when there is none.
  bool Find(const std::string& name, const CardFileStamp& stamp, ContactRow& row);
  // Notes the row read from card file `name` with `stamp`, for Save.
  void Keep(const std::string& name, const CardFileStamp& stamp, const ContactRow& row);
  // Replaces the file with the rows found or kept since Load, unless they are
  // the rows it holds. Nothing is reported: a cache that cannot be written is
  // only slower.
  void Save() const;

  int hits() const { return hits_; }

 private:
  struct Entry {
    CardFileStamp stamp;
    std::string cells[4];  // name, e-mail, work phone, home phone
  };

  std::string file_, program_;
  std::chrono::nanoseconds settle_;
  std::unordered_map<std::string, Entry> loaded_, kept_;
  int hits_ = 0;
};

// Where the rows of card folder `folder` are kept under the user's cache
// folder `cacheHome`; empty when `cacheHome` is not an absolute path.
std::string RowCacheFile(const std::string& cacheHome, const std::string& folder);
// The build ID the linker gave the running program, in hex; empty without one.
std::string ProgramBuildId();

}  // namespace ab
