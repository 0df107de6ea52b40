#pragma once
// A private world for one shell test: its own runtime folder ($XDG_RUNTIME_DIR,
// also $TMPDIR for the fallback), its
// own registry store ($XDG_CONFIG_HOME), and a PATH whose URL opener is a
// recording fake. Every program started by the code under test writes one
// call record (its arguments, one per line with a separator after each) into
// a calls folder, renaming it into place only when complete.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/TempFolder.h"

namespace ab::testing {

inline constexpr char kArgumentSeparator[] = "<end-of-argument>";

// What one started program saw.
struct CallRecord {
  std::vector<std::string> arguments;
  std::string extra;  // what the program copied besides (see RecorderScript)
};

// Sets or clears an environment variable and puts the old state back on destruction.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

  void Set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class ShellSandbox {
 public:
  ShellSandbox()
      : root_(std::filesystem::canonical(base_.path()).string()),
        path_("PATH", root_ + "/bin:/usr/bin:/bin"),
        runtime_("XDG_RUNTIME_DIR", root_ + "/tmp"),
        tmpdir_("TMPDIR", root_ + "/tmp"),
        configHome_("XDG_CONFIG_HOME", root_ + "/config"),
        home_("HOME", root_ + "/home") {
    for (const char* folder : {"bin", "tmp", "config", "home", "calls", "empty-bin"}) {
      std::filesystem::create_directories(root_ + "/" + folder);
    }
    ::chmod((root_ + "/tmp").c_str(), 0700);
    InstallRecorder(root_ + "/bin/xdg-open", "");
  }

  const std::string& root() const { return root_; }
  std::string TempDir() const { return root_ + "/tmp"; }
  std::string RegistryFile() const { return root_ + "/config/Vantoro/registry.ini"; }
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

  // Creates a folder whose absolute path is exactly `length` bytes long.
  std::string MakeFolderOfLength(std::size_t length) const {
    std::string folder = root_ + "/long";
    while (folder.size() < length) {
      std::size_t part = std::min<std::size_t>(length - folder.size() - 1, 100);
      if (length - folder.size() - 1 - part == 1) --part;  // never leave room for a bare '/'
      folder += '/';
      folder.append(part, 'd');
    }
    std::filesystem::create_directories(folder);
    ::chmod(folder.c_str(), 0700);
    return folder;
  }

  // The runtime folder and the temporary folder its fallback is made in.
  void SetTempFolder(const std::optional<std::string>& folder) {
    runtime_.Set(folder);
    tmpdir_.Set(folder);
  }
  void SetConfigHome(const std::optional<std::string>& folder) { configHome_.Set(folder); }
  // A PATH on which no URL opener can be found.
  void RemoveOpenerFromPath() { path_.Set(root_ + "/empty-bin"); }

  // Writes an executable shell script at `file` that records its arguments;
  // `extraCommand` runs with its output going into the record's extra part.
  void InstallRecorder(const std::string& file, const std::string& extraCommand) const {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    const std::string calls = root_ + "/calls/";
    const std::string script =
        "#!/bin/sh\n"
        "record='" + calls + "'\"$$\"\n"
        "{\n"
        "  for arg in \"$@\"; do printf '%s\\n" + kArgumentSeparator + "\\n' \"$arg\"; done\n"
        "} > \"$record.args\"\n"
        "{ :; " + extraCommand + "\n} > \"$record.extra\" 2>&1\n"
        "mv \"$record.args\" \"$record.part\"\n"
        "mv \"$record.part\" \"$record\"\n";
    WriteFile(file, script);
    ::chmod(file.c_str(), 0755);
  }

  // Waits up to five seconds for `count` complete call records.
  std::vector<CallRecord> WaitForCalls(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::vector<std::string> files;
    while (true) {
      files = CompleteRecords();
      if (files.size() >= count || std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<CallRecord> calls;
    for (const std::string& file : files) calls.push_back(ReadRecord(file));
    return calls;
  }

  // For checks that nothing was started: gives a wrongly started program a
  // moment to show up, then returns what is there.
  std::vector<CallRecord> CallsAfterGracePeriod() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::vector<CallRecord> calls;
    for (const std::string& file : CompleteRecords()) calls.push_back(ReadRecord(file));
    return calls;
  }

  void ForgetCalls() const {
    for (const std::string& file : CompleteRecords()) {
      std::filesystem::remove(file);
      std::filesystem::remove(file + ".extra");
    }
  }

  static void WriteFile(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string ReadFile(const std::string& file) { return ab::testing::TempFolder::Read(file); }

 private:
  std::vector<std::string> CompleteRecords() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(root_ + "/calls")) {
      const std::string name = entry.path().filename().string();
      if (name.find('.') == std::string::npos) files.push_back(entry.path().string());
    }
    return files;
  }

  static CallRecord ReadRecord(const std::string& file) {
    CallRecord record;
    const std::string args = ReadFile(file);
    const std::string separator = std::string("\n") + kArgumentSeparator + "\n";
    std::size_t start = 0;
    while (start < args.size()) {
      const std::size_t end = args.find(separator, start);
      if (end == std::string::npos) {
        record.arguments.push_back(args.substr(start) + " <unterminated>");
        break;
      }
      record.arguments.push_back(args.substr(start, end - start));
      start = end + separator.size();
    }
    record.extra = ReadFile(file + ".extra");
    return record;
  }

  ab::testing::TempFolder base_;
  std::string root_;
  ScopedEnv path_;
  ScopedEnv runtime_;
  ScopedEnv tmpdir_;
  ScopedEnv configHome_;
  ScopedEnv home_;
};

}  // namespace ab::testing
