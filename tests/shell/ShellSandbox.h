#pragma once
// A private world for one shell test: its own runtime folder (also $TMPDIR),
// registry store ($XDG_CONFIG_HOME) and home, and a PATH whose URL opener is a
// recording fake. Each started program leaves one record in calls/: its
// arguments, one a line, renamed into place only when complete.

#include <sys/stat.h>

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

class ShellSandbox {
 public:
  ShellSandbox() : root_(std::filesystem::canonical(base_.path()).string()) {
    for (const char* name : {"PATH", "XDG_RUNTIME_DIR", "TMPDIR", "XDG_CONFIG_HOME", "HOME"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    for (const char* folder : {"bin", "tmp", "config", "home", "calls", "empty-bin"})
      std::filesystem::create_directories(Path(folder));
    ::chmod(TempDir().c_str(), 0700);
    ::setenv("PATH", (root_ + "/bin:/usr/bin:/bin").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
    ::setenv("HOME", Path("home").c_str(), 1);
    SetTempFolder(TempDir());
    InstallRecorder(Path("bin/xdg-open"));
  }
  ~ShellSandbox() {
    for (const auto& [name, value] : saved_) value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }

  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
  std::string TempDir() const { return Path("tmp"); }
  std::string RegistryFile() const { return Path("config/Vantoro/registry.ini"); }
  static void SetTempFolder(const std::string& folder) {
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  void RemoveOpenerFromPath() const { ::setenv("PATH", Path("empty-bin").c_str(), 1); }

  // A private folder whose absolute path is exactly `length` bytes long.
  std::string MakeFolderOfLength(std::size_t length) const {
    std::string folder = Path("long");
    while (folder.size() < length)
      folder += length - folder.size() == 1 ? std::string("x")
                                            : "/" + std::string(std::min<std::size_t>(length - folder.size() - 1, 100), 'd');
    std::filesystem::create_directories(folder);
    ::chmod(folder.c_str(), 0700);
    return folder;
  }

  // An executable at `file` that records its arguments, then what `extraCommand` prints.
  void InstallRecorder(const std::string& file, const std::string& extraCommand = "") const {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    const std::string record = Path("calls/") + "$$";
    Write(file, "#!/bin/sh\n{ printf '%s\\n' \"$@\"; " + extraCommand + "\n} > " + record +
                                ".part 2>&1\nmv " + record + ".part " + record + "\n");
    ::chmod(file.c_str(), 0755);
  }

  // The complete records, after waiting up to five seconds for `count` of them (for
  // none, a moment in which a wrongly started program would show up); then forgets them.
  std::vector<std::string> Calls(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(count ? 5000 : 300);
    std::vector<std::string> calls;
    while (calls.size() < std::max<std::size_t>(count, 1) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      calls.clear();
      for (const auto& entry : std::filesystem::directory_iterator(Path("calls")))
        if (entry.path().extension() != ".part") calls.push_back(TempFolder::Read(entry.path().string()));
    }
    std::filesystem::remove_all(Path("calls"));
    std::filesystem::create_directories(Path("calls"));
    return calls;
  }

  static void Write(const std::string& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

 private:
  TempFolder base_;
  std::string root_;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;  // put back at the end
};

}  // namespace ab::testing
