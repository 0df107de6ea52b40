#pragma once
// The main window's import commands: vCard files (one card, or every card of
// a file that holds several), CSV exports, and .vcf and .csv files dropped on
// the window. Each new contact gets a card file of its own in the card folder;
// the chosen file itself is never written to.

#include <string>

#include <QStringList>

class QMimeData;

namespace ab {

class MainWindow;

// Adds the first card of the vCard file at `path` as a new card file and row,
// then sorts, makes it currentRow, selects it and loads its card. 1 when
// added; 0 when the table is full or the file cannot be read as a card or
// the new card file cannot be written (count, currentRow and the card as before).
int ImportCardFile(MainWindow* owner, const std::string& path);

// Command 116: a vCard file chosen with the open dialog, then ImportVCardFile.
void ImportVCardCommand(MainWindow* owner);

// The vCard import once the file is known: question 42 first when it is one
// of the address book's own card files. A file of one card goes through
// ImportCardFile (warning 79 on failure); of a file holding several, every
// card is imported in file order until the table is full, and one message
// says how many were imported (81) and how many did not fit (82).
void ImportVCardFile(MainWindow* owner, const std::string& path);

// Command 134: a CSV file chosen with the open dialog, then ImportCsvIntoList.
void ImportCsvCommand(MainWindow* owner);

// Nothing when the table is full; otherwise ImportCsvFile with a list row and
// a sort for every card, after which the last card imported is currentRow.
// A card whose file cannot be written gets no row.
void ImportCsvIntoList(MainWindow* owner, const std::string& path);

// Whether `data` names at least one local .vcf or .csv file (any letter case).
bool HasImportableFiles(const QMimeData* data);

// Imports the .vcf and .csv files `data` names, as ImportFiles does. False
// when there is nothing to import.
bool ImportDroppedFiles(MainWindow* owner, const QMimeData* data);

// Imports `files` one after another as the two import commands do once their
// file is chosen: a name ending in .csv (any letter case) as a CSV export,
// any other as a vCard file (opened from a file manager, say). The imports run
// once the event at hand is over, so the program the files came from is not
// kept waiting.
void ImportFiles(MainWindow* owner, const QStringList& files);

}  // namespace ab
