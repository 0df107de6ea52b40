#pragma once
// The program's one top-level window, "AddressBookWClass": the contact list
// over its client area (or a narrow list beside the card viewer in the split
// view), the main menu and the list's popup menu. Every menu item, accelerator
// and list gesture ends in OnCommand with its command ID.

#include <QMainWindow>
#include <QPoint>

#include <vector>

#include "resources/ResourceFormats.h"

class QCoreApplication;

namespace ab {

inline constexpr char kMainWindowClassName[] = "AddressBookWClass";
inline constexpr QSize kMainWindowSize(847, 545);

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow();
  ~MainWindow() override;

  // The client area: the parent of the list and the viewer.
  QWidget* client() const { return client_; }

  // The command dispatcher; IDs it does not know are ignored.
  void OnCommand(int id);
  // The popup of the list, when `source` is the list.
  void OnContextMenu(QWidget* source, const QPoint& globalPos);
  // The keyboard shortcuts of the accelerator table; a shortcut whose menu
  // item is greyed does nothing, as the item would.
  void InstallAccelerators(const std::vector<Accelerator>& table);

 signals:
  // Every command, as it reaches the dispatcher.
  void commandReceived(int id);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // .vcf and .csv files dropped from a file manager are imported.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void OnCreate();
  void OnDestroy();
  void OnSize(const QSize& client);
  void OnSortCommand(int id);
  void OnViewCommand(int id);
  void OnSplitView();
  void TickMenuItem(int id, bool ticked);
  void FocusList();

  QWidget* client_;
  bool destroyed_ = false;
};

// Registration of the window class has nothing to do on this platform; 1.
int RegisterMainWindowClass();

// Makes the main window (building the list, selecting currentRow, attaching
// the list keys and the menu) and shows it.
MainWindow* CreateMainWindow(QCoreApplication* instance);

// Places the list (180 wide) and the viewer (the rest) over the client area.
void LayoutSplitView(MainWindow* window);

// Brings the window forward, restoring it when it is minimised.
void RaiseMainWindow(QWidget* window);

}  // namespace ab
