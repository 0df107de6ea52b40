#pragma once
// The program-wide state of the main window: one of each, used only on the
// user-interface thread. The contact table and currentRow live in the card store.

class QCoreApplication;
class QMenuBar;

namespace ab {

class CardViewer;
class ContactList;

// How the contact list shows its rows. The split view shows the list style
// in a narrow strip beside the card viewer.
enum class ListStyle { Icon, SmallIcon, List, Report };

extern QCoreApplication* programInstance;  // set when the main window is created
extern QMenuBar* mainMenu;                 // menu 154, owned by the main window
extern ContactList* listWindow;            // replaced whenever the list is rebuilt; null after a failed rebuild
extern CardViewer* viewerWindow;           // the docked viewer while the split view is on
extern int sortCommand;                    // 112 + the column the table is sorted by
extern int viewCommand;                    // 120 to 124
extern ListStyle listStyle;                // the style the list is (re)built in

// Puts every value back to its start value (a new main window starts from these).
void ResetAppState();

// The list style of a view command 120 to 124.
ListStyle StyleOfViewCommand(int command);

}  // namespace ab
