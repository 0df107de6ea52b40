#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>

#include <memory>

#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/ContactCommands.h"
#include "app/ContactList.h"
#include "app/ContactListView.h"
#include "app/EditCommands.h"
#include "app/ImportCommands.h"
#include "app/InfoDialog.h"
#include "app/MessageLoop.h"
#include "resources/MessageBoxes.h"
#include "resources/ResourceLibrary.h"
#include "app/WindowMessages.h"
#include "contacts/CardStore.h"
#include "shell/Shell.h"
#include "viewer/CardViewer.h"

namespace ab {
namespace {

constexpr int kTitleId = 52;
constexpr int kTitleCapacity = 16;
constexpr int kAppIconId = 130;
constexpr int kMainMenuId = 154;
constexpr int kListPopupMenuId = 155;

void GreyCommand(const QWidget* menu, int id) {
  if (QAction* action = FindCommandAction(menu, id)) action->setEnabled(false);
}

// The two mail commands are greyed where nothing could carry them out.
void GreyUnavailableMail(const QWidget* menu) {
  if (!IsSiblingMailAvailable()) GreyCommand(menu, kSiblingMailCommand);
  if (!CanOpenInternetShortcuts()) GreyCommand(menu, kComposeMailToCommand);
}

}  // namespace

int RegisterMainWindowClass() { return 1; }

MainWindow::MainWindow() : client_(new QWidget(this)) {
  setObjectName(QLatin1String(kMainWindowClassName));
  setWindowTitle(LoadResourceText(kTitleId, kTitleCapacity));
  setWindowIcon(LoadResourceIcon(kAppIconId));
  client_->setObjectName(QStringLiteral("client"));
  QPalette white = client_->palette();
  white.setColor(QPalette::Window, Qt::white);
  client_->setPalette(white);
  client_->setAutoFillBackground(true);
  client_->installEventFilter(this);
  setCentralWidget(client_);
  resize(kMainWindowSize);
  setAcceptDrops(true);
  OnCreate();
}

MainWindow::~MainWindow() { OnDestroy(); }

void MainWindow::OnCreate() {
  listWindow = CreateContactList(client_, listStyle);
  if (listWindow != nullptr) {
    listWindow->SelectRow(currentRow);
    contactListView.SetListWindow(listWindow);
    contactListView.Attach();
  }
  if (std::unique_ptr<QMenuBar> menu = LoadResourceMenuBar(kMainMenuId)) {
    mainMenu = menu.release();
    setMenuBar(mainMenu);
    // As with the popup, the command runs once the menu is done with its item:
    // Exit would otherwise delete the menu bar under the menu's own key press.
    connect(mainMenu, &QMenuBar::triggered, this, [this](QAction* action) { PostCommand(this, action->data().toInt()); });
  }
  if (listWindow == nullptr) {
    QMessageBox failed(QMessageBox::NoIcon, QString(), QStringLiteral("Address Book open failed!"), QMessageBox::Ok);
    failed.exec();
    PostQuitMessage(0);
  }
  if (mainMenu != nullptr) GreyUnavailableMail(mainMenu);
}

void MainWindow::OnDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  delete mainMenu;
  mainMenu = nullptr;
  delete viewerWindow;
  viewerWindow = nullptr;
  contactListView.Detach();
  contactListView.SetListWindow(nullptr);
  DiscardContactList(listWindow);  // the exit may come from one of the list's own events
  listWindow = nullptr;
  FreeResourceLibrary();
  currentRecord.reset();
  PostQuitMessage(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  OnDestroy();
  event->accept();
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == CommandMessage::MessageType()) {
    OnCommand(static_cast<CommandMessage*>(event)->id);
    return true;
  }
  if (event->type() == ContextMenuMessage::MessageType()) {
    auto* message = static_cast<ContextMenuMessage*>(event);
    OnContextMenu(message->source, message->globalPos);
    return true;
  }
  return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) OnSize(client_->size());
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // Right clicks that reach the window itself come from outside the list.
  OnContextMenu(childAt(event->pos()), event->globalPos());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (HasImportableFiles(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (ImportDroppedFiles(this, event->mimeData())) event->acceptProposedAction();
}

void MainWindow::OnSize(const QSize& client) {
  if (viewerWindow != nullptr) {
    LayoutSplitView(this);
  } else if (listWindow != nullptr) {
    listWindow->setGeometry(0, 0, client.width(), client.height());
    listWindow->update();
  }
}

void LayoutSplitView(MainWindow* window) {
  if (window == nullptr) return;
  const QRect client = window->client()->rect();
  if (listWindow != nullptr) listWindow->setGeometry(0, 0, kDockedListWidth, client.height());
  // Narrower than the list, the window shows the list alone.
  if (viewerWindow != nullptr) {
    viewerWindow->setGeometry(kDockedListWidth, 0, std::max(0, client.width() - kDockedListWidth), client.height());
  }
}

void MainWindow::InstallAccelerators(const std::vector<Accelerator>& table) {
  for (const Accelerator& accelerator : table) {
    auto* shortcut = new QShortcut(accelerator.keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    const int id = accelerator.command;
    connect(shortcut, &QShortcut::activated, this, [this, id] {
      const QAction* item = mainMenu != nullptr ? FindCommandAction(mainMenu, id) : nullptr;
      if (item != nullptr && !item->isEnabled()) return;
      OnCommand(id);
    });
  }
}

void MainWindow::FocusList() {
  if (listWindow != nullptr) listWindow->setFocus();
}

void MainWindow::TickMenuItem(int id, bool ticked) {
  if (mainMenu == nullptr) return;
  if (QAction* action = FindCommandAction(mainMenu, id)) action->setChecked(ticked);
}

void MainWindow::OnCommand(int id) {
  id &= 0xFFFF;
  emit commandReceived(id);
  switch (id) {
    case kNewContactCommand:
      if (NewContact(this) == 0) ShowWarning(this, kNoNewContactWarning);
      FocusList();
      break;
    case kEditContactCommand:
      EditContact(this);
      break;
    case kDeleteContactCommand:
      DeleteContactCommand(this);
      break;
    case kImportVCardCommand:
      ImportVCardCommand(this);
      break;
    case kExportVCardCommand:
      ExportVCardCommand(this);
      break;
    case kExportAllVCardCommand:
      ExportAllVCardCommand(this);
      break;
    case kSiblingMailCommand:
    case kComposeMailToCommand:
      MailCommand(this, id);
      break;
    case kImportCsvCommand:
      ImportCsvCommand(this);
      break;
    case kExportCsvCommand:
      ExportCsvCommand(this);
      break;
    case kExitCommand:
      close();
      break;
    case kSortByNameCommand:
    case kSortByNameCommand + 1:
    case kSortByNameCommand + 2:
    case kSortByHomePhoneCommand:
      OnSortCommand(id);
      break;
    case kLargeIconsCommand:
    case kSmallIconsCommand:
    case kListCommand:
    case kDetailsCommand:
      OnViewCommand(id);
      break;
    case kSplitViewCommand:
      OnSplitView();
      break;
    case kInformationCommand:
      ShowInfoDialog(this);
      break;
    default:
      break;  // every other ID does nothing
  }
}

void MainWindow::OnSortCommand(int id) {
  if (sortCommand == id) return;
  TickMenuItem(sortCommand, false);
  TickMenuItem(id, true);
  sortCommand = id;
  // The current row follows its card through the sort; without a valid row
  // there is nothing to follow.
  const bool follow = IsValidRow(currentRow);
  const std::string path = follow ? contactTable[static_cast<std::size_t>(currentRow)].filePath.str() : std::string();
  SortContacts(listWindow);
  if (follow) currentRow = FindRow(path, FIND_BY_PATH);
  if (listWindow != nullptr && listWindow->viewType() != ListStyle::Report) {
    RecreateContactList(client_, listWindow->viewType());
  }
  if (listWindow != nullptr) listWindow->SelectRow(currentRow);
}

void MainWindow::OnViewCommand(int id) {
  if (viewCommand == id) return;
  if (viewerWindow != nullptr) {
    delete viewerWindow;
    viewerWindow = nullptr;
    if (listWindow != nullptr) listWindow->setGeometry(client_->rect());
  }
  TickMenuItem(viewCommand, false);
  TickMenuItem(id, true);
  viewCommand = id;
  listStyle = StyleOfViewCommand(id);
  if (listWindow != nullptr && listWindow->viewType() != listStyle) listWindow->SetViewType(listStyle);
}

void MainWindow::OnSplitView() {
  if (viewCommand == kSplitViewCommand) return;
  TickMenuItem(viewCommand, false);
  TickMenuItem(kSplitViewCommand, true);
  viewCommand = kSplitViewCommand;
  listStyle = StyleOfViewCommand(kSplitViewCommand);
  if (listWindow != nullptr) {
    if (listWindow->viewType() != listStyle) listWindow->SetViewType(listStyle);
    listWindow->setGeometry(0, 0, kDockedListWidth, client_->height());
  }
  if (IsValidRow(currentRow)) {
    LoadCurrentRowCard();
  } else if (currentRecord) {
    currentRecord->Clear();  // no contact to show: an empty card
  }
  viewerWindow = CreateCardViewer(client_, true);
}

void MainWindow::OnContextMenu(QWidget* source, const QPoint& globalPos) {
  if (source == nullptr || source != listWindow) return;
  std::unique_ptr<QMenu> menu = LoadResourceMenu(kListPopupMenuId);
  QMenu* popup = menu ? SubMenu(menu.get(), 0) : nullptr;
  if (popup == nullptr) return;
  const int selected = listWindow->FirstSelectedRow();
  if (!IsValidRow(selected)) {
    for (int id : {kEditContactCommand, kDeleteContactCommand, kSiblingMailCommand, kComposeMailToCommand,
                   kExportVCardCommand}) {
      GreyCommand(popup, id);
    }
  } else {
    currentRow = selected;
  }
  GreyUnavailableMail(popup);
  const QAction* chosen = popup->exec(globalPos);
  const int id = chosen != nullptr ? chosen->data().toInt() : 0;
  menu.reset();
  // The chosen item arrives as a command once the menu is gone.
  if (chosen != nullptr) OnCommand(id);
}

MainWindow* CreateMainWindow(QCoreApplication* instance) {
  programInstance = instance;
  auto* window = new MainWindow();
  window->show();
  return window;
}

void RaiseMainWindow(QWidget* window) {
  if (window == nullptr) return;
  if (window->isMinimized() || window->isHidden()) window->showNormal();
  window->raise();
  window->activateWindow();
}

}  // namespace ab
