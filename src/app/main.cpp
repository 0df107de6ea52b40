// The address book's window program.
#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "app/WinMain.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fputs(
        "addressbook: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
        "Start it from a desktop session, or set QT_QPA_PLATFORM=offscreen to run it without one.\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Address Book"));
  return ab::WinMain(ab::DefaultStartOptions());
}
