#include "BenchFixtures.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "contacts/VCardWriter.h"

extern char** environ;

namespace ab::bench {

namespace {

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

ByteBuffer MakeBmp(int bytes) {
  const int width = 116;  // 348 bytes a row, no padding
  const int height = (bytes - 54) / (width * 3);
  const int size = 54 + width * 3 * height;
  ByteBuffer bmp = ByteBuffer::Allocate(size);
  std::uint8_t* p = bmp.data();
  std::memset(p, 0, 54);
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<std::uint32_t>(size));
  Put32(p + 10, 54);
  Put32(p + 14, 40);
  Put32(p + 18, static_cast<std::uint32_t>(width));
  Put32(p + 22, static_cast<std::uint32_t>(height));
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  for (int i = 54; i < size; ++i) p[i] = static_cast<std::uint8_t>(i * 31 + i / 348);
  return bmp;
}

ByteBuffer MakeWave(int bytes) {
  const int data = bytes - 44;
  ByteBuffer wave = ByteBuffer::Allocate(bytes);
  std::uint8_t* p = wave.data();
  std::memcpy(p, "RIFF", 4);
  Put32(p + 4, static_cast<std::uint32_t>(bytes - 8));
  std::memcpy(p + 8, "WAVEfmt ", 8);
  Put32(p + 16, 16);
  Put16(p + 20, 1);
  Put16(p + 22, 1);
  Put32(p + 24, 8000);
  Put32(p + 28, 8000);
  Put16(p + 32, 1);
  Put16(p + 34, 8);
  std::memcpy(p + 36, "data", 4);
  Put32(p + 40, static_cast<std::uint32_t>(data));
  for (int i = 44; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(128 + (i % 64) - 32);
  return wave;
}

void FillSampleRecord(ContactRecord& r, int index, bool withMedia) {
  r.Clear();
  const std::string n = std::to_string(index);
  r.familyName = "Family" + n;
  r.givenName = "Given" + n;
  r.formattedName = "Given" + n + " Family" + n;
  r.orgName = "Company " + n;
  r.title = "Engineer";
  r.emails[0].address = "person" + n + "@example.org";
  r.emails[0].flags = FLAG_PREF;
  r.emailCount = 1;
  r.preferredEmail = 0;
  r.workPhones[PHONE_VOICE].number = "+1 555 01" + n;
  r.workPhones[PHONE_VOICE].flags = FLAG_WORK | FLAG_VOICE;
  r.homePhones[PHONE_VOICE].number = "+1 555 02" + n;
  r.homePhones[PHONE_VOICE].flags = FLAG_HOME | FLAG_VOICE;
  r.addresses[SLOT_BUSINESS].street = n + " Main Street";
  r.addresses[SLOT_BUSINESS].locality = "Springfield";
  r.addresses[SLOT_BUSINESS].flags |= FLAG_WORK;
  if (withMedia) {
    r.SetPhoto(MakeBmp(40 * 1024));
    r.SetSound(MakeWave(20 * 1024));
  }
}

std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "abbench.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

void RemoveFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void WriteCards(const std::string& folder, int count, bool withMedia) {
  ContactRecord record;
  for (int i = 0; i < count; ++i) {
    FillSampleRecord(record, i, withMedia);
    if (!SaveAs(record, folder + "/VC" + std::to_string(i) + ".vcf")) throw std::runtime_error("cannot write a card");
  }
}

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& extraEnv, long* peakKB,
               std::chrono::steady_clock::time_point* firstLine) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);
  int output[2] = {-1, -1};
  if (firstLine && ::pipe2(output, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (firstLine) posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (firstLine) {
    ::close(output[1]);
    // Read to the end, so that the program never waits on a full pipe.
    char bytes[256];
    bool seen = false;
    for (ssize_t n; (n = ::read(output[0], bytes, sizeof bytes)) > 0;) {
      if (!seen && std::memchr(bytes, '\n', static_cast<std::size_t>(n)) != nullptr) {
        *firstLine = std::chrono::steady_clock::now();
        seen = true;
      }
    }
    ::close(output[0]);
  }
  if (spawned != 0) return -1;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)) return -1;
  if (peakKB) *peakKB = usage.ru_maxrss;
  return WEXITSTATUS(status);
}

}  // namespace ab::bench
