#pragma once
// Writing card files so that readers see either the old or the new bytes,
// never a half-written file, and so that a new card never replaces another.

#include <string>
#include <string_view>
#include <vector>

namespace ab {

// New files written without waiting for the disk one by one, then made
// durable together: a run that writes many cards syncs once at its end.
class SyncBatch {
 public:
  void Add(const std::string& path) { paths_.push_back(path); }
  bool IsEmpty() const { return paths_.empty(); }
  // Puts the data of every file added, and the folders that name them, on
  // disk. False when any of them could not be opened or flushed. The batch is
  // empty afterwards.
  bool Flush();

 private:
  std::vector<std::string> paths_;
};

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// disk (unless `flush` is false, for files that may be lost) and renames it
// over `path`. False on any failure; the old file, if any, is then untouched
// and no temporary file is left behind.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, bool flush = true);

enum class CreateResult { Created, NameTaken, Failed };

// Writes `bytes` as a new file at `path`, flushed to disk, only if nothing
// has that name yet: an existing file is never replaced (NameTaken). A failed
// write leaves nothing behind. With a `batch`, the file is not flushed but
// added to the batch, whose Flush makes it durable.
CreateResult CreateFileExclusively(const std::string& path, std::string_view bytes, SyncBatch* batch = nullptr);

// True for a name that only an interrupted write of this program can have
// left behind: ".<card name>.XXXXXX", or "<card name>.XXXXXX" as older
// versions named them (not when XXXXXX is all small letters, as a word the user
// chose would be), where the card name ends in ".vcf".
bool IsLeftoverTemporaryName(std::string_view name);

}  // namespace ab
