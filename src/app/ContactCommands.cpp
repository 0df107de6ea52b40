#include "app/ContactCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "contacts/AtomicFile.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvExport.h"
#include "editor/FileDialogs.h"
#include "resources/MessageBoxes.h"
#include "shell/Shell.h"
#include "viewer/CardViewer.h"

namespace ab {

namespace {

constexpr int kNoContactWarning = 12;
constexpr int kDeleteQuestion = 38;
constexpr int kNoAddressWarning = 72;
constexpr int kCsvNotWrittenWarning = 91;

void FocusList() {
  if (listWindow != nullptr) listWindow->setFocus();
}

std::string RowPath(int row) { return contactTable[static_cast<std::size_t>(row)].filePath.str(); }

// Read-only as a file manager shows it (no write permission for anyone), or
// not writable for this user.
bool IsReadOnly(const QFileInfo& info) {
  constexpr auto kAnyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return !(info.permissions() & kAnyWrite) || !info.isWritable();
}

// Qt's trash falls back to the home trash, and where it cannot make that either it
// puts "files" and "info" into the current folder. So the home trash must be
// possible (its data folder made, as a desktop session has it) before a card goes
// to the trash at all.
bool HomeTrashPossible() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty() || !QDir().mkpath(data)) return false;
  const QFileInfo trash(data + QStringLiteral("/Trash"));
  return trash.exists() ? trash.isDir() && trash.isWritable() : QFileInfo(data).isWritable();
}

bool RemoveCardFile(const std::string& path) {
  const QString file = QFile::decodeName(QByteArray::fromStdString(path));
  const QFileInfo info(file);
  if (!info.exists() && !info.isSymLink()) return true;
  if (IsReadOnly(info) || IsReadOnly(QFileInfo(info.absolutePath()))) return false;
  // Where the file system has no trash the card is deleted for good.
  return (HomeTrashPossible() && QFile::moveToTrash(file)) || QFile::remove(file);
}

// The save dialog with `filter`; the chosen path, or empty when cancelled.
std::string ChooseFileToWrite(MainWindow* owner, unsigned filter) {
  FileNameBuffer file;
  PrepareFileDialog(owner, filter);
  if (!ShowSaveFileDialog(owner, file, nullptr)) return {};
  return file.str();
}

// The selected row made currentRow; -1, with currentRow unchanged, when no valid row is selected.
int TakeSelectedRow() {
  const int selected = listWindow != nullptr ? listWindow->FirstSelectedRow() : -1;
  if (!IsValidRow(selected)) return -1;
  currentRow = selected;
  return selected;
}

}  // namespace

void ReloadCurrentCard() {
  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  if (IsValidRow(currentRow)) {
    LoadCurrentRowCard();
  } else {
    currentRecord->Clear();
  }
  if (viewerWindow != nullptr) viewerWindow->Invalidate();
}

int DeleteContact(MainWindow* owner, int row) {
  if (!IsValidRow(row) || !RemoveCardFile(RowPath(row))) return 0;
  CopyRow(row, contactCount - 1);
  SetListRow(listWindow, row, false);
  --contactCount;
  if (listWindow != nullptr) listWindow->model()->RemoveLastRow();
  ReshowContactList(owner->client());
  // currentRow still holds the removed row's index, now another contact's.
  if (listWindow != nullptr) listWindow->SelectRow(currentRow);
  return 1;
}

void DeleteContactCommand(MainWindow* owner) {
  const int row = TakeSelectedRow();
  if (row >= 0 && AskYesNo(owner, kDeleteQuestion) == kResultYes) {
    DeleteContact(owner, row);
    if (currentRow == contactCount) currentRow = contactCount - 1;  // the last row went
    ReloadCurrentCard();
  }
  FocusList();
}

void ExportVCardCommand(MainWindow* owner) {
  if (TakeSelectedRow() < 0) return;
  const std::string file = ChooseFileToWrite(owner, FILTER_VCARD);
  if (file.empty()) return;
  ReloadCurrentCard();
  SaveAs(*currentRecord, file);
}

std::string RenderAllCardsFile() {
  std::string all;
  ContactRecord card;
  for (int row = 0; row < contactCount; ++row) {
    if (!ReadCard(card, RowPath(row))) continue;
    std::string bytes = RenderCardFile(card);
    if (bytes.empty()) continue;
    bytes.pop_back();  // the zero byte that ends a card file
    all += bytes;
  }
  return all;
}

void ExportAllVCardCommand(MainWindow* owner) {
  const std::string file = ChooseFileToWrite(owner, FILTER_VCARD);
  if (!file.empty()) ReplaceFileAtomically(file, RenderAllCardsFile());
}

bool ExportContactsAsCsv(QWidget* owner, const std::string& path) {
  if (ExportCsvFile(path)) return true;
  ShowWarning(owner, kCsvNotWrittenWarning);
  return false;
}

void ExportCsvCommand(MainWindow* owner) {
  const std::string file = ChooseFileToWrite(owner, FILTER_CSV);
  if (!file.empty()) ExportContactsAsCsv(owner, file);
}

void MailCommand(MainWindow* owner, int command) {
  if (!IsValidRow(currentRow)) {
    ShowWarning(owner, kNoContactWarning);
    return;
  }
  const std::string address = contactTable[static_cast<std::size_t>(currentRow)].email.str();
  if (address.empty()) {
    ShowWarning(owner, kNoAddressWarning);
    return;
  }
  if (command == kSiblingMailCommand) {
    SendViaSiblingMail(address);
  } else {
    ComposeMailTo(address);
  }
}

}  // namespace ab
