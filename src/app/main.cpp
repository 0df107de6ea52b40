// The address book's window program.
#include <QApplication>

#include <cstdio>

#include "app/DisplayCheck.h"
#include "app/WinMain.h"

int main(int argc, char** argv) {
  if (const auto problem = ab::DisplayProblem()) {
    std::fprintf(stderr,
                 "addressbook: %s\n"
                 "Start it from a desktop session, or set QT_QPA_PLATFORM=offscreen to run it without one.\n",
                 problem->c_str());
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Address Book"));
  QApplication::setDesktopFileName(QStringLiteral("com.vantoro.AddressBook"));
  return ab::WinMain(ab::DefaultStartOptions());
}
