#include "app/ImportCommands.h"

#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "app/ContactCommands.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "contacts/CardFileSplit.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvImport.h"
#include "editor/FileDialogs.h"
#include "resources/MessageBoxes.h"
#include "resources/ResourceLibrary.h"

namespace ab {

namespace {

constexpr int kAlreadyInBookQuestion = 42;
constexpr int kNotImportedWarning = 79;
constexpr int kImportedCountText = 81;  // %1 imported
constexpr int kLeftOutCountText = 82;   // %1 imported, %2 left out
constexpr int kNotOnDiskWarning = 92;
constexpr int kCaptionId = 6;
constexpr int kCaptionCapacity = 32;
constexpr int kTextCapacity = 255;

using CardSource = std::function<int(ContactRecord&)>;

// Adds the card `read` puts into currentRecord as a new card file, with its
// table row and list row at the end (not sorted yet). False, with contactCount,
// currentRow and currentRecord as before, when the table is full or the card
// cannot be read or written.
bool AddCard(const CardSource& read) {
  if (contactCount + 1 > kMaxContacts) return false;
  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  ContactRecord& record = *currentRecord;
  const int previous = currentRow;
  currentRow = contactCount++;
  std::string path;
  if (read(record)) MakeCardFileName(path, cardFolder.str());
  record.filePath = path;
  // SaveNew never replaces a file and may take another name: the row gets the final one.
  if (path.empty() || !SaveNew(record)) {
    --contactCount;
    currentRow = previous;
    ReloadCurrentCard();
    return false;
  }
  FillRow(record, currentRow);
  SetListRow(listWindow, currentRow, true);
  return true;
}

// Sorts and shows the list again with the card at `path` as currentRow,
// selected, and loaded into currentRecord.
void ShowAddedCard(MainWindow* owner, const std::string& path) {
  ReshowContactList(owner->client());
  currentRow = FindRow(path, FIND_BY_PATH);
  ReloadCurrentCard();
  if (listWindow != nullptr) listWindow->SelectRow(currentRow);
}

struct ImportCount {
  int imported = 0;
  int leftOut = 0;  // cards not reached because the table was full
};

ImportCount ImportCardTexts(MainWindow* owner, const std::vector<std::string_view>& cards) {
  ImportCount count;
  std::string lastPath;
  for (std::size_t i = 0; i < cards.size(); ++i) {
    if (contactCount + 1 > kMaxContacts) {
      count.leftOut = static_cast<int>(cards.size() - i);
      break;
    }
    if (!AddCard([&](ContactRecord& record) { return ReadCardFromText(record, cards[i]); })) continue;
    ++count.imported;
    lastPath = currentRecord->filePath.str();
  }
  // One sort for the whole file.
  if (count.imported > 0) ShowAddedCard(owner, lastPath);
  return count;
}

void ShowImportCount(QWidget* owner, const ImportCount& count) {
  const bool full = count.leftOut > 0;
  QString text = LoadResourceText(full ? kLeftOutCountText : kImportedCountText, kTextCapacity).arg(count.imported);
  if (full) text = text.arg(count.leftOut);
  QMessageBox box(full ? QMessageBox::Warning : QMessageBox::Information,
                  LoadResourceText(kCaptionId, kCaptionCapacity), text, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::string ChooseFileToRead(MainWindow* owner, unsigned filter) {
  FileNameBuffer file;
  PrepareFileDialog(owner, filter);
  if (!ShowOpenFileDialog(owner, file, nullptr)) return {};
  return file.str();
}

// The CSV reader's one message: no owner, no icon, an OK button.
void ShowCsvMessage(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool IsCsvName(const QString& file) { return file.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive); }

std::vector<QString> ImportableFiles(const QMimeData* data) {
  std::vector<QString> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString file = url.toLocalFile();
    if (IsCsvName(file) || file.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)) files.push_back(file);
  }
  return files;
}

}  // namespace

int ImportCardFile(MainWindow* owner, const std::string& path) {
  if (!AddCard([&path](ContactRecord& record) { return ReadCard(record, path); })) return 0;
  ShowAddedCard(owner, currentRecord->filePath.str());
  return 1;
}

void ImportVCardCommand(MainWindow* owner) {
  const std::string file = ChooseFileToRead(owner, FILTER_VCARD);
  if (!file.empty()) ImportVCardFile(owner, file);
}

void ImportVCardFile(MainWindow* owner, const std::string& path) {
  if (FindRow(path, FIND_BY_PATH) >= 0 && AskYesNo(owner, kAlreadyInBookQuestion) != kResultYes) return;
  const std::optional<std::string> text = ReadCardsFileText(path);
  const std::vector<std::string_view> cards = text ? SplitCards(*text) : std::vector<std::string_view>();
  if (cards.size() < 2) {
    if (!ImportCardFile(owner, path)) ShowWarning(owner, kNotImportedWarning);
    return;
  }
  const ImportCount count = ImportCardTexts(owner, cards);
  if (count.imported == 0 && count.leftOut == 0) {
    ShowWarning(owner, kNotImportedWarning);  // not one card could be read
  } else {
    ShowImportCount(owner, count);
  }
}

void ImportCsvCommand(MainWindow* owner) {
  const std::string file = ChooseFileToRead(owner, FILTER_CSV);
  if (!file.empty()) ImportCsvIntoList(owner, file);
}

void ImportCsvIntoList(MainWindow* owner, const std::string& path) {
  if (contactCount + 1 > kMaxContacts) return;
  const int previous = currentRow;
  std::string lastPath;
  ImportCount count;
  bool fileRefused = false;
  CsvImportHooks hooks;
  hooks.showMessage = [&fileRefused](std::string_view text, std::string_view caption) {
    fileRefused = true;
    ShowCsvMessage(text, caption);
  };
  hooks.cardAdded = [&lastPath, &count](int row, int saved) {
    // A row without its card file could be neither opened nor deleted.
    if (!saved && row == contactCount - 1) {
      --contactCount;
      return;
    }
    ++count.imported;
    lastPath = contactTable[static_cast<std::size_t>(row)].filePath.str();
    SetListRow(listWindow, row, true);
    SortContacts(listWindow);
  };
  CsvImportCounts counts;
  ImportCsvFile(path, hooks, &counts);
  if (!lastPath.empty()) {
    ShowAddedCard(owner, lastPath);
  } else {
    currentRow = previous;  // nothing added, so nothing moved
    ReloadCurrentCard();
  }
  count.leftOut = counts.leftOut;
  if (!fileRefused) ShowImportCount(owner, count);
  if (!counts.synced) ShowWarning(owner, kNotOnDiskWarning);
}

bool HasImportableFiles(const QMimeData* data) { return !ImportableFiles(data).empty(); }

bool ImportDroppedFiles(MainWindow* owner, const QMimeData* data) {
  const std::vector<QString> files = ImportableFiles(data);
  if (files.empty()) return false;
  ImportFiles(owner, QStringList(files.begin(), files.end()));
  return true;
}

void ImportFiles(MainWindow* owner, const QStringList& files) {
  QTimer::singleShot(0, owner, [owner, files] {
    for (const QString& file : files) {
      const std::string path = QFile::encodeName(file).toStdString();
      if (IsCsvName(file)) {
        ImportCsvIntoList(owner, path);
      } else {
        ImportVCardFile(owner, path);
      }
    }
  });
}

}  // namespace ab
