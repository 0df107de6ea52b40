#include "app/EditCommands.h"

#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "editor/ContactEditor.h"
#include "resources/MessageBoxes.h"
#include "viewer/CardViewer.h"

namespace ab {
namespace {

// currentRecord for `row` again; without a valid row, an empty record.
void MakeCurrent(int row) {
  currentRow = row;
  if (IsValidRow(currentRow)) {
    LoadCurrentRowCard();
  } else if (currentRecord) {
    currentRecord->Clear();
  }
}

// The contact of `path` becomes the current row, its card loaded, its row selected.
void SelectContact(const std::string& path) {
  currentRow = FindRow(path, FIND_BY_PATH);
  LoadCurrentRowCard();
  if (listWindow != nullptr) listWindow->SelectRow(currentRow);
}

}  // namespace

int NewContact(MainWindow* owner) {
  if (contactCount + 1 > kMaxContacts) return 0;
  const int previousRow = currentRow;
  std::string path;
  MakeCardFileName(path, cardFolder.str());
  if (path.empty()) return 0;
  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  ReadCard(*currentRecord, path);  // no such file yet: an empty record with that path

  const int result = RunContactEditor(owner, {});
  // The row is added only once its card exists, so a failure leaves nothing half-added.
  if (result <= 0 || SaveNew(*currentRecord) == 0) {
    MakeCurrent(previousRow);
    return result == 0 ? 1 : 0;
  }
  const int row = contactCount++;
  FillRow(*currentRecord, row);
  SetListRow(listWindow, row, true);
  ReshowContactList(owner->client());
  SelectContact(currentRecord->filePath.str());  // SaveNew may have taken another name
  return 1;
}

void EditContact(MainWindow* owner) {
  if (listWindow == nullptr) return;
  const int selected = listWindow->FirstSelectedRow();
  if (!IsValidRow(selected)) {
    listWindow->SelectRow(currentRow);
    listWindow->setFocus();
    return;
  }
  currentRow = selected;
  LoadCurrentRowCard();
  const ContactRow& row = contactTable[static_cast<std::size_t>(currentRow)];
  if (RunContactEditor(owner, row.displayName.view()) > 0) {
    const std::string path = row.filePath.str();
    if (Save(*currentRecord) == 0) {
      LoadCurrentRowCard();
      ShowWarning(owner, kEditNotSavedWarning);
    } else {
      FillRow(*currentRecord, currentRow);
      ReshowContactList(owner->client());
      SelectContact(path);
    }
  }
  if (viewerWindow != nullptr) viewerWindow->Invalidate();
  if (listWindow != nullptr) listWindow->setFocus();
}

}  // namespace ab
