#pragma once
// The card folder shared with other programs (command-line address books,
// sync tools): when card files are added, changed or removed behind the
// window's back, the table and the list follow within a second.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <string>

namespace ab {

class MainWindow;

class CardFolderWatch : public QObject {
 public:
  // Watches `folder` (ending in '/') and every card file the table lists.
  CardFolderWatch(MainWindow* window, std::string folder);

 private:
  void Gather();
  void Reload();
  void WatchTheCards();

  MainWindow* window_;
  std::string folder_;
  QFileSystemWatcher watcher_;
  QTimer gathered_;  // changes that come together make one reload
};

// Reads the card folder again into the table when it no longer matches it:
// sorted as before, the current contact still current where its card still
// exists, the list and the split view's card shown afresh. False when nothing
// had changed.
bool ReloadCardTable(MainWindow* window);

}  // namespace ab
