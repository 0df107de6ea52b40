#pragma once
// The main window's New contact and Edit contact commands. Both run the
// contact editor over currentRecord and, on OK, write the card at once and
// show the contact in its sorted place in the list, selected.

namespace ab {

class MainWindow;

inline constexpr int kNoNewContactWarning = 29;
inline constexpr int kEditNotSavedWarning = 90;

// A new contact in a new card file of the card folder. 1 when it was added,
// or when the user cancelled (no file is made then); 0 when the table is full,
// the editor could not be opened or the card could not be written. On 0 and
// on Cancel nothing is added and the previous row is current again.
int NewContact(MainWindow* owner);

// Edits the contact of the list's selected row and rewrites its card; without
// a selected row, only selects the current row again. A card that cannot be
// written is read again (table row, record and file then agree) and warning
// 90 says so. The split view's card is repainted and the list gets the focus.
void EditContact(MainWindow* owner);

}  // namespace ab
