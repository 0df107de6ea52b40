#pragma once
// The main window's commands on the contacts it already holds: delete, export
// (the selected contact, every contact, the CSV export entry) and mail. Each
// leaves the table sorted, list row i showing table row i, and currentRow,
// currentRecord and the docked viewer's card in step.

#include <string>

class QWidget;

namespace ab {

class MainWindow;

// Removes `row`'s card file (into the desktop's trash where its file system
// has one) and then its table and list rows; the table is sorted again and
// list row currentRow selected. 1 when the row was removed; 0, with nothing
// changed, when the card file or its folder is read-only or the file cannot
// be removed. A card file that is already gone counts as removed.
int DeleteContact(MainWindow* owner, int row);

// Command 103: the selected contact, after question 38, then the list gets the focus.
void DeleteContactCommand(MainWindow* owner);

// Command 118: the selected contact's card, as Save writes it, to a file the
// user chooses. Failures are not reported; the address book stays as it is.
void ExportVCardCommand(MainWindow* owner);

// Command 119: every contact's card, in table order and each as Save writes
// it but for the zero byte at its end, into one file the user chooses,
// replaced atomically. Cards that can no longer be read are left out.
void ExportAllVCardCommand(MainWindow* owner);

// The bytes ExportAllVCardCommand writes.
std::string RenderAllCardsFile();

// Command 135: a CSV file chosen with the save dialog, then ExportContactsAsCsv.
void ExportCsvCommand(MainWindow* owner);

// The CSV export: every contact of the table in one CSV file (ExportCsvFile);
// warning 91 when it cannot be written.
bool ExportContactsAsCsv(QWidget* owner, const std::string& path);

// Commands 125 (the sibling mail program) and 126 (the desktop's mail
// handler): mail to the e-mail address in currentRow's table row. Warning 12
// without a current row, 72 when the row has no address.
void MailCommand(MainWindow* owner, int command);

// Reads currentRow's card into currentRecord (an empty record when there is
// no current row) and repaints the docked viewer.
void ReloadCurrentCard();

}  // namespace ab
