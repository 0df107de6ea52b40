#include "contacts/RowCache.h"

#include <elf.h>
#include <link.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "contacts/AtomicFile.h"
#include "contacts/CardStore.h"
#include "contacts/FileBytes.h"

namespace ab {

namespace {

constexpr std::string_view kMagic = "ABROWS01";
constexpr std::size_t kMaxCacheBytes = 4u * 1024u * 1024u;  // 256 rows take well under 1 MB

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += kDigits[static_cast<unsigned char>(c) >> 4];
    out += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return out;
}

std::int64_t Nanoseconds(const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

void PutNumber(std::string& out, std::uint64_t n) { out.append(reinterpret_cast<const char*>(&n), sizeof n); }

void PutText(std::string& out, std::string_view text) {
  PutNumber(out, text.size());
  out += text;
}

// Reads what PutNumber and PutText wrote; every read past the end fails.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}

  std::optional<std::uint64_t> Number() {
    std::uint64_t n = 0;
    if (rest_.size() < sizeof n) return std::nullopt;
    std::memcpy(&n, rest_.data(), sizeof n);
    rest_.remove_prefix(sizeof n);
    return n;
  }
  bool Text(std::string& out) {
    const auto size = Number();
    if (!size || *size > rest_.size()) return false;
    out.assign(rest_.substr(0, *size));
    rest_.remove_prefix(*size);
    return true;
  }
  bool Stamp(CardFileStamp& s) {
    std::uint64_t n[5];
    for (std::uint64_t& field : n) {
      const auto read = Number();
      if (!read) return false;
      field = *read;
    }
    s = {n[0], n[1], static_cast<std::int64_t>(n[2]), static_cast<std::int64_t>(n[3]), static_cast<std::int64_t>(n[4])};
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

std::string_view CellOf(const ContactRow& row, int cell) {
  switch (cell) {
    case 0: return row.displayName.view();
    case 1: return row.email.view();
    case 2: return row.workPhone.view();
    default: return row.homePhone.view();
  }
}

}  // namespace

CardFileStamp CardFileStamp::Of(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
          static_cast<std::int64_t>(info.st_size), Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

RowCache::RowCache(std::string file, std::string program, std::chrono::nanoseconds settle)
    : file_(std::move(file)), program_(std::move(program)), settle_(settle) {}

void RowCache::Load() {
  loaded_.clear();
  kept_.clear();
  hits_ = 0;
  if (file_.empty() || program_.empty()) return;
  // Only the user's own file, not a link: rows planted by someone else are not shown.
  const auto file = ReadRegularFile(file_, kMaxCacheBytes, FileOwner::User);
  if (!file || file->size < kMagic.size() + sizeof(std::uint64_t)) return;
  const std::string_view body = file->view().substr(0, file->size - sizeof(std::uint64_t));
  Reader check(file->view().substr(body.size()));
  if (!body.starts_with(kMagic) || check.Number() != Fnv1a(body)) return;

  Reader in(body.substr(kMagic.size()));
  std::string program;
  const auto count = in.Text(program) ? in.Number() : std::nullopt;
  if (!count || program != program_) return;
  std::unordered_map<std::string, Entry> entries;
  for (std::uint64_t i = 0; i < *count; ++i) {
    std::string name;
    Entry entry;
    if (!in.Text(name) || !in.Stamp(entry.stamp)) return;
    for (std::string& cell : entry.cells)
      if (!in.Text(cell)) return;
    entries.emplace(std::move(name), std::move(entry));
  }
  if (in.AtEnd()) loaded_ = std::move(entries);
}

bool RowCache::Find(const std::string& name, const CardFileStamp& stamp, ContactRow& row) {
  const auto found = loaded_.find(name);
  if (found == loaded_.end() || !(found->second.stamp == stamp)) return false;
  const Entry& entry = found->second;
  row.displayName = entry.cells[0];
  row.email = entry.cells[1];
  row.workPhone = entry.cells[2];
  row.homePhone = entry.cells[3];
  kept_.insert(*found);
  ++hits_;
  return true;
}

void RowCache::Keep(const std::string& name, const CardFileStamp& stamp, const ContactRow& row) {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const std::int64_t settled = Nanoseconds(now) - settle_.count();
  if (stamp.modified >= settled || stamp.changed >= settled) return;
  Entry& entry = kept_[name];
  entry.stamp = stamp;
  for (int cell = 0; cell < 4; ++cell) entry.cells[cell] = CellOf(row, cell);
}

void RowCache::Save() const {
  if (file_.empty() || program_.empty()) return;
  if (kept_.size() == loaded_.size() && kept_.size() == static_cast<std::size_t>(hits_)) return;  // nothing new
  std::string out(kMagic);
  PutText(out, program_);
  PutNumber(out, kept_.size());
  for (const auto& [name, entry] : kept_) {
    PutText(out, name);
    const CardFileStamp& s = entry.stamp;
    for (const std::uint64_t n : {s.device, s.inode}) PutNumber(out, n);
    for (const std::int64_t n : {s.size, s.modified, s.changed}) PutNumber(out, static_cast<std::uint64_t>(n));
    for (const std::string& cell : entry.cells) PutText(out, cell);
  }
  PutNumber(out, Fnv1a(out));
  // Only the user may read the rows; a half-written file fails its check.
  const std::string folder = file_.substr(0, file_.rfind('/'));
  ::mkdir(folder.substr(0, folder.rfind('/')).c_str(), 0700);
  ::mkdir(folder.c_str(), 0700);
  ::chmod(folder.c_str(), 0700);  // also where something else made it first
  ReplaceFileAtomically(file_, out, false);
}

std::string RowCacheFile(const std::string& cacheHome, const std::string& folder) {
  if (cacheHome.empty() || cacheHome.front() != '/') return {};
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016" PRIx64, Fnv1a(folder));
  return cacheHome + "/addressbook/rows-" + hash;
}

std::string ProgramBuildId() {
  std::string id;
  // The program itself comes first in the list of loaded objects.
  ::dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* out) {
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& segment = info->dlpi_phdr[i];
          if (segment.p_type != PT_NOTE) continue;
          const std::size_t align = segment.p_align == 8 ? 8 : 4;
          const auto padded = [align](std::size_t n) { return (n + align - 1) / align * align; };
          const char* note = reinterpret_cast<const char*>(info->dlpi_addr + segment.p_vaddr);
          std::size_t left = segment.p_memsz;
          while (left >= sizeof(ElfW(Nhdr))) {
            ElfW(Nhdr) head;
            std::memcpy(&head, note, sizeof head);
            const std::size_t size = sizeof head + padded(head.n_namesz) + padded(head.n_descsz);
            if (size > left) break;
            if (head.n_type == NT_GNU_BUILD_ID && head.n_namesz == 4 && std::memcmp(note + sizeof head, "GNU", 4) == 0) {
              static_cast<std::string*>(out)->assign(note + sizeof head + padded(head.n_namesz), head.n_descsz);
              return 1;
            }
            note += size;
            left -= size;
          }
        }
        return 1;
      },
      &id);
  return Hex(id);
}

}  // namespace ab
