#pragma once
// The card folder beside the program and the in-memory contact table: a few
// display strings per card and the card's path, never whole records.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/ContactRecord.h"
#include "contacts/FixedText.h"

namespace ab {

class RowCache;

inline constexpr int kMaxContacts = 256;
inline constexpr int kCardFolderQuestion = 71;  // string: the folder's name is taken by a file
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

struct ContactRow {
  FixedText<256> displayName;
  FixedText<256> email;
  FixedText<40> workPhone;
  FixedText<40> homePhone;
  FixedText<260> filePath;
};

enum SortColumn { SORT_BY_NAME = 0, SORT_BY_EMAIL = 1, SORT_BY_WORK_PHONE = 2, SORT_BY_HOME_PHONE = 3 };
enum FindKey { FIND_BY_NAME = 0, FIND_BY_PATH = 1 };

extern std::array<ContactRow, kMaxContacts> contactTable;
extern std::int32_t contactCount;
extern std::int32_t currentRow;
extern FixedText<256> cardFolder;  // ends with '/' once the folder is known to exist
extern std::unique_ptr<ContactRecord> currentRecord;

// Asks a yes/no question by string ID; returns kAnswerYes or kAnswerNo.
using AskYesNoFn = std::function<int(int stringId)>;

// What loading a folder left out.
struct FolderLoadReport {
  int notLoaded = 0;                     // card files past the table's 256 rows
  std::vector<std::string> pathTooLong;  // names of cards whose full path a record cannot hold
};

// Builds cardFolder as `programFolder` + "/VCardData/", makes sure the folder
// exists, fills the table with the first 256 cards that read well, taking the
// files in the byte order of their names, and sorts it by display name. 0 when
// the user declined to replace a file that holds the folder's name (start-up
// then ends), else 1. `report`, when given, says what was left out.
int LoadCardStore(const std::string& programFolder, const AskYesNoFn& askYesNo, FolderLoadReport* report = nullptr);
// The same with the card folder itself given (the command-line companion's
// folders). With a `cache`, rows it keeps for unchanged files are taken from
// it instead of the files, and it is saved with the rows of this load.
int LoadCardFolder(const std::string& cardFolderPath, const AskYesNoFn& askYesNo, FolderLoadReport* report = nullptr,
                   RowCache* cache = nullptr);
// The rows LoadCardFolder fills the table with, unsorted, from the card files
// of `folder` (ending in '/'), or from `cache` (loaded) where it has them; the
// table itself is left alone.
std::vector<ContactRow> ReadFolderRows(const std::string& folder, FolderLoadReport* report = nullptr,
                                       RowCache* cache = nullptr);

// Where a program keeps its cards.
enum class ProgramLayout {
  Portable,   // its resource library beside it: the build tree, a copy run from its folder
  Installed,  // under a prefix, its resource library in share/
};

// The card folder of a program in `programFolder`: VCardData beside it where
// that folder exists and may be written, or, for a portable program, where it
// can be made there (also where a file has its name, so that the user is
// asked about it); otherwise addressbook/VCardData in the user's data folder
// `dataHome`, made when missing. Empty, with the reason in `error`, when
// neither can be had.
std::string ChooseCardFolder(const std::string& programFolder, ProgramLayout layout, const std::string& dataHome,
                             std::string* error = nullptr);
// The user's data folder as the desktop defines it: $XDG_DATA_HOME when it is
// an absolute path, else ~/.local/share. Empty without a home folder.
std::string UserDataFolder();

void FillRow(const ContactRecord& record, int row);
// The five cells of a row as FillRow sets them.
void FillRowOf(const ContactRecord& record, ContactRow& row);
void CopyRow(int destination, int source);
// First row whose display name (key 0) or path (key 1) equals `text`; -1 otherwise.
int FindRow(std::string_view text, int key);
void SortTable(int column);
// The field of `row` that sorting by `column` compares (the display name for any other column).
std::string_view SortKey(const ContactRow& row, int column);

// A path in `folder` (ending in '/') named VC<number>.vcf that no entry of the
// folder has yet; empty only when all 32768 names are taken.
void MakeCardFileName(std::string& out, const std::string& folder);

// Case-insensitive comparison that folds A-Z only; <0, 0 or >0.
int CompareFolded(std::string_view a, std::string_view b);

}  // namespace ab
