#include "contacts/CardStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "contacts/AtomicFile.h"
#include "contacts/RowCache.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"

namespace ab {

std::array<ContactRow, kMaxContacts> contactTable;
std::int32_t contactCount = 0;
std::int32_t currentRow = 0;
FixedText<256> cardFolder;
std::unique_ptr<ContactRecord> currentRecord;

namespace {

constexpr int kCardNumbers = 32768;

bool EndsWithVcf(const char* name) {
  const std::size_t n = std::strlen(name);
  if (n < 4) return false;
  const char* ext = name + n - 4;
  // The folder listing matches "*.vcf" regardless of letter case.
  return ext[0] == '.' && (ext[1] | 0x20) == 'v' && (ext[2] | 0x20) == 'c' && (ext[3] | 0x20) == 'f';
}

bool EntryExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// Makes sure `folder` is a folder, asking before a file of that name is removed.
// False when the user keeps the file.
bool EnsureFolder(const std::string& folder, const AskYesNoFn& askYesNo) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    if (!askYesNo || askYesNo(kCardFolderQuestion) != kAnswerYes) return false;
    ::unlink(folder.c_str());
  }
  // A folder that cannot be made leaves the table empty; nothing is reported.
  ::mkdir(folder.c_str(), 0777);
  return true;
}

// Removes what interrupted saves left in the folder: only names the program's
// own temporary files can have, only regular files, only when older than a
// minute (a save of another running copy may still be under way).
void RemoveLeftoverTemporaryFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const int fd = ::dirfd(dir);
  const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsLeftoverTemporaryName(entry->d_name)) continue;
    struct stat info {};
    if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now - info.st_mtime > 60) ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(dir);
}

std::string CardPath(const std::string& folder, int number) {
  return folder + "VC" + std::to_string(number) + ".vcf";
}

// The names of the card files in `folder`, in the byte order of the names.
std::vector<std::string> CardFileNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir))
      if (EndsWithVcf(entry->d_name)) names.emplace_back(entry->d_name);
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::vector<ContactRow> ReadFolderRows(const std::string& folder, FolderLoadReport* report, RowCache* cache) {
  FolderLoadReport done;
  std::vector<ContactRow> rows;
  const std::vector<std::string> names = CardFileNames(folder);
  rows.reserve(std::min(names.size(), static_cast<std::size_t>(kMaxContacts)));
  std::size_t next = 0;
  ContactRecord scratch;
  for (; next < names.size() && rows.size() < static_cast<std::size_t>(kMaxContacts); ++next) {
    const std::string path = folder + names[next];
    // A path the record cannot hold would be cut, and a save would write elsewhere.
    if (CountUnits(path) >= scratch.filePath.capacity) {
      done.pathTooLong.push_back(names[next]);
      continue;
    }
    // The stamp is taken before the read: a change while reading makes it stale.
    struct stat info {};
    const bool stamped = cache && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    const CardFileStamp stamp = stamped ? CardFileStamp::Of(info) : CardFileStamp{};
    ContactRow& row = rows.emplace_back();
    if (stamped && cache->Find(names[next], stamp, row)) {
      row.filePath = path;
      continue;
    }
    if (!ReadCardFields(scratch, path)) {
      rows.pop_back();
      continue;
    }
    FillRowOf(scratch, row);
    if (stamped) cache->Keep(names[next], stamp, row);
  }
  done.notLoaded = static_cast<int>(names.size() - next);
  if (report) *report = std::move(done);
  return rows;
}

int LoadCardFolder(const std::string& folderPath, const AskYesNoFn& askYesNo, FolderLoadReport* report,
                   RowCache* cache) {
  if (report) *report = {};
  std::string folder = folderPath;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  // One byte is kept for the trailing '/' and the folder must leave room for a card name.
  if (CountUnits(folder) + 1 + 12 >= cardFolder.capacity) return 0;
  cardFolder = folder;
  if (!EnsureFolder(folder, askYesNo)) return 0;
  cardFolder = folder + "/";

  RemoveLeftoverTemporaryFiles(folder);
  if (cache) cache->Load();
  const std::vector<ContactRow> rows = ReadFolderRows(cardFolder.str(), report, cache);
  if (cache) cache->Save();
  contactCount = static_cast<std::int32_t>(rows.size());
  std::copy(rows.begin(), rows.end(), contactTable.begin());
  SortTable(SORT_BY_NAME);
  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  return 1;
}

int LoadCardStore(const std::string& programFolder, const AskYesNoFn& askYesNo, FolderLoadReport* report) {
  std::string folder = programFolder;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return LoadCardFolder(folder + "/VCardData", askYesNo, report);
}

std::string ChooseCardFolder(const std::string& programFolder, ProgramLayout layout, const std::string& dataHome,
                             std::string* error) {
  std::string beside = programFolder;
  while (beside.size() > 1 && beside.back() == '/') beside.pop_back();
  beside += "/VCardData";
  const bool portable = layout == ProgramLayout::Portable;
  struct stat info {};
  if (::stat(beside.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode) ? ::access(beside.c_str(), W_OK | X_OK) == 0 : portable) return beside;
  } else if (portable && ::mkdir(beside.c_str(), 0777) == 0) {
    return beside;
  }
  if (dataHome.empty() || dataHome.front() != '/') {
    if (error) *error = "the folder beside the program cannot be written, and there is no data folder for the user";
    return {};
  }
  // The data folder itself may be missing too; the user's cards are the user's alone.
  std::error_code ignored;
  std::filesystem::create_directories(dataHome, ignored);
  const std::string folder = dataHome + "/addressbook/VCardData";
  ::mkdir((dataHome + "/addressbook").c_str(), 0700);
  ::mkdir(folder.c_str(), 0700);
  if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0) {
    return folder;
  }
  if (error) *error = "neither '" + beside + "' nor '" + folder + "' can be made or written";
  return {};
}

std::string UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return data;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return {};
  return std::string(home) + "/.local/share";
}

void FillRowOf(const ContactRecord& record, ContactRow& r) {
  r.displayName = DecodeStoredText(record.formattedName.view());
  r.email = record.preferredEmail != -1 ? DecodeStoredText(record.PreferredEmail()) : std::string();
  r.workPhone = DecodeStoredText(record.WorkPhone());
  r.homePhone = DecodeStoredText(record.HomePhone());
  r.filePath = record.filePath.view();
}

void FillRow(const ContactRecord& record, int row) {
  if (row < 0 || row >= kMaxContacts) return;
  FillRowOf(record, contactTable[static_cast<std::size_t>(row)]);
}

void CopyRow(int destination, int source) {
  if (destination < 0 || destination >= kMaxContacts || source < 0 || source >= kMaxContacts) return;
  contactTable[static_cast<std::size_t>(destination)] = contactTable[static_cast<std::size_t>(source)];
}

int FindRow(std::string_view text, int key) {
  if (key != FIND_BY_NAME && key != FIND_BY_PATH) return -1;
  for (int i = 0; i < contactCount; ++i) {
    const ContactRow& row = contactTable[static_cast<std::size_t>(i)];
    if ((key == FIND_BY_NAME ? row.displayName.view() : row.filePath.view()) == text) return i;
  }
  return -1;
}

void SortTable(int column) {
  if (column < SORT_BY_NAME || column > SORT_BY_HOME_PHONE) column = SORT_BY_NAME;
  // Rows are large: the order is found on their indices, then each row moves once.
  const auto count = static_cast<std::size_t>(std::clamp(contactCount, 0, kMaxContacts));
  std::array<std::uint16_t, kMaxContacts> order;
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint16_t>(i);
  std::stable_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
                   [column](std::uint16_t a, std::uint16_t b) {
                     return CompareFolded(SortKey(contactTable[a], column), SortKey(contactTable[b], column)) < 0;
                   });
  // Slot i takes row order[i]: follow each cycle of the permutation with one spare row.
  std::array<bool, kMaxContacts> placed{};
  for (std::size_t start = 0; start < count; ++start) {
    if (placed[start] || order[start] == start) continue;
    ContactRow spare = std::move(contactTable[start]);
    std::size_t slot = start;
    while (order[slot] != start) {
      contactTable[slot] = std::move(contactTable[order[slot]]);
      placed[slot] = true;
      slot = order[slot];
    }
    contactTable[slot] = std::move(spare);
    placed[slot] = true;
  }
}

std::string_view SortKey(const ContactRow& row, int column) {
  switch (column) {
    case SORT_BY_EMAIL: return row.email.view();
    case SORT_BY_WORK_PHONE: return row.workPhone.view();
    case SORT_BY_HOME_PHONE: return row.homePhone.view();
    default: return row.displayName.view();
  }
}

void MakeCardFileName(std::string& out, const std::string& folder) {
  // Seeded once, so two calls in one second try different names; the names
  // stay unpredictable across programs writing into the same folder.
  static std::mt19937 generator(std::random_device{}() ^
                                static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::uniform_int_distribution<int> number(0, kCardNumbers - 1);
  for (int attempt = 0; attempt < 4 * kCardNumbers; ++attempt) {
    std::string path = CardPath(folder, number(generator));
    if (!EntryExists(path)) {
      out = std::move(path);
      return;
    }
  }
  // A folder so full that chance finds no free name: take the first free one.
  for (int n = 0; n < kCardNumbers; ++n) {
    std::string path = CardPath(folder, n);
    if (!EntryExists(path)) {
      out = std::move(path);
      return;
    }
  }
  out.clear();
}

}  // namespace ab
