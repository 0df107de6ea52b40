#pragma once
// The contact list that fills the main window: one widget with two views over
// one model and one selection, so that switching between the icon views and
// the details view keeps the list and its selection. The details view is a
// four-column tree whose rows ContactListView::DrawRow paints; the icon, small
// icon and list views are one QListView in different modes.
//
// The list reports clicks, double clicks and heading clicks as notifications
// to its parent (OnListNotify); it never changes currentRow on its own.

#include <QIcon>
#include <QListView>
#include <QMouseEvent>
#include <QPoint>
#include <QTreeView>
#include <QWidget>

#include <array>
#include <functional>

#include "app/AppState.h"
#include "app/ContactListModel.h"
#include "contacts/CardStore.h"

class QStackedLayout;

namespace ab {

class FixedCellDelegate;

struct ListNotification {
  enum class Code { Click, DoubleClick, ColumnClick };
  Code code = Code::Click;
  int column = -1;  // the heading clicked
};

// An item view that tells its list about left clicks and double clicks once
// it has handled them itself (so the selection is already up to date).
template <typename View>
class NotifyingView : public View {
 public:
  using View::View;
  std::function<void(ListNotification::Code)> onMouse;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    View::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && onMouse) onMouse(ListNotification::Code::Click);
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    View::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && onMouse) onMouse(ListNotification::Code::DoubleClick);
  }
};

// The details view. Its rows are painted by ContactListView::DrawRow; it
// answers the questions DrawRow asks about a row's rectangles.
class ReportView : public NotifyingView<QTreeView> {
 public:
  explicit ReportView(QWidget* parent = nullptr);

  // The whole row across every column, in viewport coordinates.
  QRect RowBounds(int row) const;
  // The small icon at the left of column 0, and the name beside it.
  QRect IconRect(int row) const;
  QRect LabelRect(int row) const;

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class ContactList : public QWidget {
  Q_OBJECT

 public:
  // A list of no rows; rows come with SetListRow. `icon` must not be null.
  ContactList(QWidget* parent, const QIcon& icon, const std::array<QString, kListColumns>& headings);

  ListStyle viewType() const { return style_; }
  // Shows the rows in `style`, keeping the rows, the selection and the focus.
  void SetViewType(ListStyle style);

  ContactListModel* model() const { return model_; }
  ReportView* reportView() const { return report_; }
  QListView* iconView() const { return icons_; }
  // The view showing now.
  QAbstractItemView* view() const;

  // The first selected row, or -1.
  int FirstSelectedRow() const;
  // The row with the focus mark, or -1.
  int FocusedRow() const;
  // Selects `row` (the only selected row) and makes it the row the keys move
  // from; rows outside the list are ignored.
  void SelectRow(int row);
  // The sort mark of the details view's headings.
  void ShowSortColumn(int column);

 signals:
  void notify(const ListNotification& notification);
  // A context menu was asked for over the list at `globalPos`.
  void contextMenuRequested(QWidget* source, const QPoint& globalPos);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyIconViewMode();
  // The cells and wrapping of the icon views for the list's width.
  void FitCellsToWidth();
  void Notify(ListNotification::Code code, int column = -1);

  ContactListModel* model_;
  ReportView* report_;
  NotifyingView<QListView>* icons_;
  FixedCellDelegate* cellDelegate_ = nullptr;
  QStackedLayout* stack_;
  ListStyle style_ = ListStyle::Report;
  int sortColumn_ = 0;
};

// Builds a list over the contact table in `viewType`, filling the whole client
// area of `parent`. Null when the row icon (401) or the headings cannot be
// had, or a row cannot be inserted.
ContactList* CreateContactList(QWidget* parent, ListStyle viewType);

// With `insert`, a new list row at `row` bound to table row slot `row`; without,
// the row shows its slot's texts again. 1 on success, 0 otherwise.
int SetListRow(ContactList* list, int row, bool insert);

// The comparison of the table's sort applied to `column` of two table rows.
int CompareListRows(const ContactRow& a, const ContactRow& b, int column);

// Sorts the table by the column of sortCommand; list row i shows slot i again.
void SortContacts(ContactList* list);

// Hides `list` and deletes it once the event being handled is done: the
// event that led here may be one of the list's own. It sends nothing more.
void DiscardContactList(ContactList* list);

// Destroys listWindow and builds it again in `viewType`, narrow when the split
// view is on, and attaches the list keys to it.
void RecreateContactList(QWidget* parent, ListStyle viewType);

// What every command does after changing the table: sorts table and list,
// and outside the details view builds the list again (in `parent`).
void ReshowContactList(QWidget* parent);

// A row of the contact table: 0 to contactCount - 1.
inline bool IsValidRow(int row) { return row >= 0 && row < contactCount; }

// Reads the card of currentRow into currentRecord (made when missing); an
// invalid currentRow changes nothing.
void LoadCurrentRowCard();

// The main window's handling of the list's notifications; always 0.
int OnListNotify(QWidget* mainWindow, int controlId, const ListNotification& notification);

}  // namespace ab
