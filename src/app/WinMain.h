#pragma once
// Start-up of the window program, in order: one instance per user, the
// resource library, the card store, the main window, its accelerators, and
// the event loop.

#include <QString>
#include <QStringList>

#include "contacts/CardStore.h"

namespace ab {

struct StartOptions {
  QString programFolder;        // VCardData is made and read here where it can be written
  QString dataFolder;           // ... else in addressbook/VCardData in this user's data folder
  ProgramLayout layout = ProgramLayout::Portable;  // an installed program keeps its cards there always
  QString resourceLibraryPath;  // OSTREL_RC.dll
  QString instanceName;         // the single-instance socket
  QStringList filesToOpen;      // absolute paths of vCard and CSV files to import
  // Closes the main window as soon as it has been painted once (start-up timing).
  bool quitAfterFirstPaint = false;
  QString cacheFolder;  // the list rows of the last start are kept here (none when empty)
};

// The program's own folder and library, the user's data folder and instance
// name, the files named on the command line (a file manager's "open with"), and
// AB_QUIT_AFTER_FIRST_PAINT=1 from the environment. Needs the application object.
StartOptions DefaultStartOptions();

// Runs the program in the existing QApplication; the exit code: 0 when another
// instance took over or a start step failed, 1 when no card folder can be had,
// otherwise that of the event loop.
int WinMain(const StartOptions& options);

}  // namespace ab
