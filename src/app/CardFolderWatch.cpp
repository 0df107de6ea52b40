#include "app/CardFolderWatch.h"

#include <QApplication>
#include <QFile>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "contacts/CardStore.h"
#include "viewer/CardViewer.h"

namespace ab {
namespace {

constexpr int kGatherMs = 300;

auto CellsOf(const ContactRow& row) {
  return std::make_tuple(row.filePath.view(), row.displayName.view(), row.email.view(), row.workPhone.view(),
                         row.homePhone.view());
}

// The table lists exactly `rows`, in whatever order.
bool TableHolds(std::vector<ContactRow> rows) {
  if (static_cast<int>(rows.size()) != contactCount) return false;
  std::vector<ContactRow> table(contactTable.begin(), contactTable.begin() + contactCount);
  const auto byPath = [](const ContactRow& a, const ContactRow& b) { return a.filePath.view() < b.filePath.view(); };
  std::sort(rows.begin(), rows.end(), byPath);
  std::sort(table.begin(), table.end(), byPath);
  return std::equal(rows.begin(), rows.end(), table.begin(),
                    [](const ContactRow& a, const ContactRow& b) { return CellsOf(a) == CellsOf(b); });
}

QString Path(const char* bytes) { return QFile::decodeName(QByteArray(bytes)); }

}  // namespace

CardFolderWatch::CardFolderWatch(MainWindow* window, std::string folder)
    : QObject(window), window_(window), folder_(std::move(folder)) {
  gathered_.setSingleShot(true);
  gathered_.setInterval(kGatherMs);
  connect(&gathered_, &QTimer::timeout, this, &CardFolderWatch::Reload);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CardFolderWatch::Gather);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &CardFolderWatch::Gather);
  watcher_.addPath(Path(folder_.c_str()));
  WatchTheCards();
}

void CardFolderWatch::Gather() { gathered_.start(); }

void CardFolderWatch::Reload() {
  // Not under the editor, a dialog or a menu: they work on the table as it is.
  if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
    gathered_.start();
    return;
  }
  ReloadCardTable(window_);
  WatchTheCards();
}

// A card rewritten in place changes no folder entry; its own watch sees it.
void CardFolderWatch::WatchTheCards() {
  const QStringList watched = watcher_.files();
  if (!watched.isEmpty()) watcher_.removePaths(watched);
  QStringList cards;
  for (int row = 0; row < contactCount; ++row) cards.append(Path(contactTable[static_cast<std::size_t>(row)].filePath.c_str()));
  if (!cards.isEmpty()) watcher_.addPaths(cards);
}

bool ReloadCardTable(MainWindow* window) {
  std::vector<ContactRow> rows = ReadFolderRows(cardFolder.str());
  if (TableHolds(rows)) return false;
  const int previousRow = currentRow;
  const std::string current = IsValidRow(currentRow) ? contactTable[static_cast<std::size_t>(currentRow)].filePath.str() : "";
  contactCount = static_cast<int>(rows.size());
  std::copy(rows.begin(), rows.end(), contactTable.begin());
  SortTable(sortCommand - kSortByNameCommand);
  // The current contact stays current; where its card went, the row in its place does.
  currentRow = current.empty() ? -1 : FindRow(current, FIND_BY_PATH);
  if (currentRow == -1 && contactCount > 0) currentRow = std::clamp(previousRow, 0, contactCount - 1);
  if (listWindow != nullptr) RecreateContactList(window->client(), listWindow->viewType());
  if (listWindow != nullptr) listWindow->SelectRow(currentRow);
  if (IsValidRow(currentRow)) {
    LoadCurrentRowCard();
  } else if (currentRecord) {
    currentRecord->Clear();
  }
  if (viewerWindow != nullptr) viewerWindow->Invalidate();
  return true;
}

}  // namespace ab
