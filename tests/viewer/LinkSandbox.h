#pragma once
// A private world for the link tests: its own runtime folder ($XDG_RUNTIME_DIR),
// registry store ($XDG_CONFIG_HOME) and home, and a PATH whose URL opener is a
// fake that records its arguments, one file per start.

#include <sys/stat.h>

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

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  void Set(const std::string& value) { ::setenv(name_.c_str(), value.c_str(), 1); }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class LinkSandbox {
 public:
  LinkSandbox()
      : root_(std::filesystem::canonical(base_.path()).string()),
        path_("PATH", root_ + "/bin:/usr/bin:/bin"),
        tmpdir_("XDG_RUNTIME_DIR", root_ + "/tmp"),
        config_("XDG_CONFIG_HOME", root_ + "/config"),
        home_("HOME", root_ + "/home") {
    for (const char* folder : {"bin", "tmp", "config", "home", "calls", "no-opener"}) {
      std::filesystem::create_directories(root_ + "/" + folder);
    }
    ::chmod((root_ + "/tmp").c_str(), 0700);
    // Writes its arguments, one a line, and moves the record into place when complete.
    const std::string opener = root_ + "/bin/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\n"
                          << "record='" << root_ << "/calls/'\"$$\"\n"
                          << "for arg in \"$@\"; do printf '%s\\n' \"$arg\"; done > \"$record.part\"\n"
                          << "mv \"$record.part\" \"$record\"\n";
    ::chmod(opener.c_str(), 0755);
  }

  const std::string& root() const { return root_; }
  std::string TempFile(const std::string& name) const { return root_ + "/tmp/" + name; }
  void RemoveOpener() { path_.Set(root_ + "/no-opener"); }

  // The argument lists of the opener's starts, waiting up to five seconds for `count` of them.
  std::vector<std::string> WaitForCalls(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Records().size() < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<std::string> calls;
    for (const std::string& file : Records()) calls.push_back(TempFolder::Read(file));
    return calls;
  }

  // For checks that nothing was started: a moment for a wrong start to show.
  std::vector<std::string> CallsAfterGracePeriod() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return WaitForCalls(0);
  }

 private:
  std::vector<std::string> Records() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(root_ + "/calls")) {
      if (entry.path().extension() != ".part") files.push_back(entry.path().string());
    }
    return files;
  }

  TempFolder base_;
  std::string root_;
  ScopedVariable path_;
  ScopedVariable tmpdir_;
  ScopedVariable config_;
  ScopedVariable home_;
};

}  // namespace ab::testing
