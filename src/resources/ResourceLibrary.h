#pragma once
// The resource library "OSTREL_RC.dll": a Qt binary resource bundle beside the
// program, registered at start and released at exit. Menus, strings, icons,
// bitmaps, cursors, accelerator tables and dialog templates are looked up here
// by ID. While no library is loaded (resourceLibrary is null) every lookup
// fails: an empty string, a null menu, a null icon.
//
// Lookups copy what they need out of the bundle and hold no QFile on it, since
// Qt refuses to release a bundle while a QFile on it exists. Code elsewhere
// should likewise take its bytes from here rather than open ":/" paths.

#include "resources/ResourceFormats.h"

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace ab {

struct ResourceLibrary;
extern ResourceLibrary* resourceLibrary;  // the loaded library; null when none is loaded

// Registers the bundle at `path`, releasing any library loaded before. On
// failure resourceLibrary stays null and false is returned.
bool LoadResourceLibrary(const QString& path);

// Where "OSTREL_RC.dll" is: beside the program (the build tree, a portable
// copy), at the path the install rules put it, or in ../share/addressbook
// (../../share/addressbook for a helper program in libexec/addressbook) from
// the program's folder; the first that exists, else the one beside the
// program (whose loading then fails as a missing library does).
QString FindResourceLibrary(const QString& programFolder);

// Releases the loaded library; resourceLibrary is null afterwards. Returns false
// when none was loaded, or when a QFile on the bundle is still open: Qt then
// unlists the bundle at once but frees its memory only when that file is gone.
bool FreeResourceLibrary();

// A string of the string table as UTF-8; empty when it is missing.
std::string LoadResourceString(int id);
// The same, as read into a buffer of `capacity` bytes: at most capacity - 1
// bytes, never ending inside a UTF-8 character.
std::string LoadResourceString(int id, int capacity);
QString LoadResourceText(int id, int capacity);

// Menu `id` as a menu bar whose menus are its popups, or as a popup menu whose
// entries are its popups (take one with SubMenu). Every command item is a
// QAction whose data() is the command ID. Null when the menu is missing.
std::unique_ptr<QMenuBar> LoadResourceMenuBar(int id);
std::unique_ptr<QMenu> LoadResourceMenu(int id);

// The submenu at `position` of a menu or menu bar; null when that entry is none.
QMenu* SubMenu(const QWidget* menu, int position);

// The first command item with `commandId` anywhere in a menu or menu bar, to
// tick or grey it by ID; null when there is none.
QAction* FindCommandAction(const QWidget* menu, int commandId);

// The accelerator table `name`; empty when it is missing.
std::vector<Accelerator> LoadResourceAccelerators(const QString& name);

// Icon `id` with every size the library holds; null when missing.
QIcon LoadResourceIcon(int id);
QPixmap LoadResourceBitmap(int id);
std::optional<QCursor> LoadResourceCursor(int id);

// Dialog template `id`: the bytes of its Qt Designer form; empty when missing.
QByteArray LoadDialogTemplate(int id);

}  // namespace ab
