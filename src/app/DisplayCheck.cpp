#include "app/DisplayCheck.h"

#include <QLibraryInfo>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace ab {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool XDisplayAnswers(const std::string& display) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool ok = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return ok;
}

bool WaylandSocketAnswers(const std::string& display) {
  std::string path = display;
  if (path.front() != '/') {
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    if (runtime.empty()) return false;
    path = runtime + "/" + display;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

bool QtHasWayland() {
  const std::filesystem::path platforms =
      std::filesystem::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) / "platforms";
  std::error_code ignored;
  return std::filesystem::exists(platforms / "libqwayland-generic.so", ignored);
}

}  // namespace

std::optional<std::string> DisplayProblem() {
  if (!Environment("QT_QPA_PLATFORM").empty()) return std::nullopt;
  const std::string x = Environment("DISPLAY");
  const std::string wayland = Environment("WAYLAND_DISPLAY");
  if (!x.empty() && XDisplayAnswers(x)) return std::nullopt;
  if (!wayland.empty() && WaylandSocketAnswers(wayland) && QtHasWayland()) {
    ::setenv("QT_QPA_PLATFORM", "wayland", 1);
    return std::nullopt;
  }
  if (x.empty() && wayland.empty()) {
    return "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).";
  }
  if (!x.empty()) return "cannot open the display \"" + x + "\": it does not answer, or it refused the connection.";
  return "cannot open the Wayland display \"" + wayland + "\".";
}

}  // namespace ab
