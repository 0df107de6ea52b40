#include "app/ContactList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPalette>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStackedLayout>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <memory>

#include "app/CommandIds.h"
#include "app/ContactListView.h"
#include "resources/ResourceLibrary.h"
#include "app/WindowMessages.h"
#include "contacts/VCardReader.h"
#include "viewer/CardViewer.h"

namespace ab {

// Every cell of the icon views is one size, so long names wrap (large icons)
// or end in an ellipsis (small icons, list) inside it.
class FixedCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void SetCellSize(QSize size) { size_ = size; }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return size_; }

 private:
  QSize size_;
};

namespace {

constexpr int kRowIconId = 401;
constexpr std::array<int, kListColumns> kHeadingIds{14, 15, 23, 28};
constexpr std::array<int, kListColumns> kColumnWidths{200, 200, 150, 150};
constexpr int kHeadingCapacity = 260;
constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 32;
// Cells of the icon views: a large icon with two lines of name below it, and
// one line of icon and name in the small-icon and list views.
constexpr QSize kLargeCell(100, 76);
constexpr int kSmallCellWidth = 180;
constexpr int kSmallCellHeight = 20;
// Room left of the icon in a details row, and between icon and name.
constexpr int kIconIndent = 2;
constexpr int kIconGap = 2;

// The list shows its selection in the same colours with or without the focus.
void ShowSelectionWithoutFocus(QWidget* view) {
  QPalette palette = view->palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  view->setPalette(palette);
}

void ConfigureItemView(QAbstractItemView* view) {
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  view->setTextElideMode(Qt::ElideRight);
  view->setDragEnabled(false);
  ShowSelectionWithoutFocus(view);
}

// Icon 401 with both its sizes, or a null icon.
QIcon LoadRowIcon() {
  QIcon icon = LoadResourceIcon(kRowIconId);
  if (icon.isNull() || icon.pixmap(kSmallIcon).isNull() || icon.pixmap(kLargeIcon).isNull()) return {};
  return icon;
}

}  // namespace

// --- ReportView ---------------------------------------------------------------

ReportView::ReportView(QWidget* parent) : NotifyingView<QTreeView>(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setIndentation(0);
  setIconSize(QSize(kSmallIcon, kSmallIcon));
  setSortingEnabled(false);  // the table sorts itself; the headings only send commands
  header()->setSectionsClickable(true);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  header()->setSortIndicatorShown(true);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QRect ReportView::RowBounds(int row) const {
  const QRect cell = visualRect(model()->index(row, 0));
  return QRect(-horizontalOffset(), cell.top(), header()->length(), cell.height());
}

QRect ReportView::IconRect(int row) const {
  const QRect bounds = RowBounds(row);
  return QRect(bounds.left() + kIconIndent, bounds.top() + (bounds.height() - kSmallIcon) / 2, kSmallIcon,
               kSmallIcon);
}

QRect ReportView::LabelRect(int row) const {
  const QRect bounds = RowBounds(row);
  const int left = bounds.left() + kIconIndent + kSmallIcon + kIconGap;
  return QRect(left, bounds.top(), std::max(0, bounds.left() + columnWidth(0) - left), bounds.height());
}

void ReportView::drawRow(QPainter* painter, const QStyleOptionViewItem&, const QModelIndex& index) const {
  contactListView.DrawRow(*painter, *this, index.row());
}

// --- ContactList --------------------------------------------------------------

ContactList::ContactList(QWidget* parent, const QIcon& icon, const std::array<QString, kListColumns>& headings)
    : QWidget(parent),
      model_(new ContactListModel(icon, headings, this)),
      report_(new ReportView(this)),
      icons_(new NotifyingView<QListView>(this)),
      stack_(new QStackedLayout(this)) {
  setObjectName(QStringLiteral("SysListView32"));
  auto* selection = new QItemSelectionModel(model_, this);
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)}) {
    view->setModel(model_);
    QItemSelectionModel* own = view->selectionModel();
    view->setSelectionModel(selection);
    delete own;
    ConfigureItemView(view);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
      emit contextMenuRequested(this, view->viewport()->mapToGlobal(pos));
    });
  }
  report_->onMouse = [this](ListNotification::Code code) { Notify(code); };
  icons_->onMouse = report_->onMouse;
  for (int column = 0; column < kListColumns; ++column) {
    report_->setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
  }
  connect(report_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    Notify(ListNotification::Code::ColumnClick, column);
    // The heading keeps showing the table's order; there is no reverse sort.
    if (report_) ShowSortColumn(sortColumn_);
  });
  icons_->setModelColumn(0);
  cellDelegate_ = new FixedCellDelegate(icons_);
  icons_->setItemDelegate(cellDelegate_);
  icons_->setMovement(QListView::Static);
  icons_->setResizeMode(QListView::Adjust);
  icons_->setUniformItemSizes(true);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(report_);
  stack_->addWidget(icons_);
  stack_->setCurrentWidget(report_);
  setFocusProxy(report_);
  ShowSortColumn(0);
}

QAbstractItemView* ContactList::view() const {
  return style_ == ListStyle::Report ? static_cast<QAbstractItemView*>(report_)
                                     : static_cast<QAbstractItemView*>(icons_);
}

void ContactList::SetViewType(ListStyle style) {
  const bool hadFocus = view()->hasFocus();
  style_ = style;
  if (style == ListStyle::Report) {
    stack_->setCurrentWidget(report_);
  } else {
    ApplyIconViewMode();
    stack_->setCurrentWidget(icons_);
  }
  setFocusProxy(view());
  if (hadFocus) view()->setFocus();
  const QModelIndex current = view()->currentIndex();
  if (current.isValid()) view()->scrollTo(current);
}

void ContactList::ApplyIconViewMode() {
  const bool large = style_ == ListStyle::Icon;
  // The view mode first: it resets flow, wrapping and movement.
  icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
  icons_->setMovement(QListView::Static);
  icons_->setIconSize(large ? QSize(kLargeIcon, kLargeIcon) : QSize(kSmallIcon, kSmallIcon));
  icons_->setFlow(style_ == ListStyle::List ? QListView::TopToBottom : QListView::LeftToRight);
  icons_->setWordWrap(large);
  FitCellsToWidth();
}

void ContactList::FitCellsToWidth() {
  const bool large = style_ == ListStyle::Icon;
  // A list strip too narrow for two columns (the split view) is one column
  // that scrolls down rather than many that scroll sideways.
  const int viewportWidth = width() - 2 * icons_->frameWidth() -
                            icons_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, icons_);
  const bool oneColumn = style_ == ListStyle::List && width() < 2 * kSmallCellWidth;
  const QSize cell = large ? kLargeCell
                           : QSize(oneColumn ? std::max(viewportWidth, kSmallIcon) : kSmallCellWidth, kSmallCellHeight);
  // The cell less the room the view leaves between cells.
  cellDelegate_->SetCellSize(large ? cell - QSize(4, 4) : cell);
  // A mode change lays the items out itself; a new cell or wrapping needs a layout here.
  if (icons_->isWrapping() == !oneColumn && icons_->gridSize() == cell) return;
  icons_->setWrapping(!oneColumn);
  icons_->setGridSize(cell);
  icons_->doItemsLayout();
}

void ContactList::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (style_ == ListStyle::List) FitCellsToWidth();
}

int ContactList::FirstSelectedRow() const {
  int first = -1;
  for (const QModelIndex& index : report_->selectionModel()->selectedIndexes()) {
    if (first < 0 || index.row() < first) first = index.row();
  }
  return first;
}

int ContactList::FocusedRow() const {
  const QModelIndex current = report_->selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void ContactList::SelectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  report_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view()->scrollTo(index);
}

void ContactList::ShowSortColumn(int column) {
  sortColumn_ = column;
  report_->header()->setSortIndicator(column, Qt::AscendingOrder);
}

void ContactList::Notify(ListNotification::Code code, int column) {
  ListNotification notification;
  notification.code = code;
  notification.column = column;
  emit notify(notification);
}

// --- The list's operations ----------------------------------------------------

ContactList* CreateContactList(QWidget* parent, ListStyle viewType) {
  if (parent == nullptr) return nullptr;
  const QIcon icon = LoadRowIcon();
  if (icon.isNull()) return nullptr;
  std::array<QString, kListColumns> headings;
  for (std::size_t column = 0; column < headings.size(); ++column) {
    headings[column] = LoadResourceText(kHeadingIds[column], kHeadingCapacity);
  }
  auto list = std::make_unique<ContactList>(parent, icon, headings);
  list->setGeometry(parent->rect());
  list->SetViewType(viewType);
  for (int row = 0; row < contactCount; ++row) {
    if (SetListRow(list.get(), row, true) == 0) return nullptr;
  }
  list->ShowSortColumn(sortCommand - kSortByNameCommand);
  ContactList* made = list.release();
  QObject::connect(made, &ContactList::notify, made, [made](const ListNotification& notification) {
    OnListNotify(made->window(), kContactListControlId, notification);
  });
  QObject::connect(made, &ContactList::contextMenuRequested, made, [made](QWidget* source, const QPoint& at) {
    ContextMenuMessage message(source, at);
    QCoreApplication::sendEvent(made->window(), &message);
  });
  made->show();
  return made;
}

int SetListRow(ContactList* list, int row, bool insert) {
  if (list == nullptr) return 0;
  if (insert) return list->model()->InsertRow(row) ? 1 : 0;
  if (row < 0 || row >= list->model()->rowCount()) return 0;
  list->model()->RefreshRows(row, row);
  return 1;
}

int CompareListRows(const ContactRow& a, const ContactRow& b, int column) {
  return CompareFolded(SortKey(a, column), SortKey(b, column));
}

void SortContacts(ContactList* list) {
  const int column = sortCommand - kSortByNameCommand;
  SortTable(column);
  // Every list row stays bound to its slot, and the slots now hold the sorted
  // rows, so redrawing the rows puts the list in table order.
  if (list == nullptr) return;
  list->model()->RefreshRows(0, contactCount - 1);
  list->ShowSortColumn(column);
}

void DiscardContactList(ContactList* list) {
  if (list == nullptr) return;
  list->hide();
  QObject::disconnect(list, nullptr, nullptr, nullptr);
  list->deleteLater();
}

void RecreateContactList(QWidget* parent, ListStyle viewType) {
  const bool hadFocus = listWindow != nullptr && listWindow->view()->hasFocus();
  contactListView.Detach();
  DiscardContactList(listWindow);
  listWindow = CreateContactList(parent, viewType);
  if (listWindow == nullptr) return;
  if (viewerWindow != nullptr) listWindow->setGeometry(0, 0, kDockedListWidth, parent->height());
  contactListView.SetListWindow(listWindow);
  contactListView.Attach();
  if (hadFocus) listWindow->setFocus();
}

void ReshowContactList(QWidget* parent) {
  SortContacts(listWindow);
  if (listWindow != nullptr && listWindow->viewType() != ListStyle::Report) {
    RecreateContactList(parent, listWindow->viewType());
  }
}

void LoadCurrentRowCard() {
  if (!IsValidRow(currentRow)) return;
  if (!currentRecord) currentRecord = std::make_unique<ContactRecord>();
  ReadCard(*currentRecord, contactTable[static_cast<std::size_t>(currentRow)].filePath.str());
}

int OnListNotify(QWidget* mainWindow, int controlId, const ListNotification& notification) {
  if (controlId != kContactListControlId || listWindow == nullptr) return 0;
  switch (notification.code) {
    case ListNotification::Code::ColumnClick:
      SendCommand(mainWindow, kSortByNameCommand + notification.column);
      break;
    case ListNotification::Code::DoubleClick:
      SendCommand(mainWindow, kEditContactCommand);
      break;
    case ListNotification::Code::Click: {
      const int selected = listWindow->FirstSelectedRow();
      if (!IsValidRow(selected)) {
        // A click on empty space keeps the current row.
        listWindow->SelectRow(currentRow);
      } else if (selected != currentRow) {
        currentRow = selected;
        if (viewerWindow != nullptr) {
          LoadCurrentRowCard();
          viewerWindow->Invalidate();
        }
      }
      listWindow->setFocus();
      break;
    }
  }
  return 0;
}

}  // namespace ab
