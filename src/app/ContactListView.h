#pragma once
// The contact list's keys and the painting of its details rows. One object
// for the whole run, attached to each list as it is built: Escape toggles the
// card's cell frames, Up, Down, Home and End move currentRow (and the viewer
// of the split view with it), Insert and Delete send the new and delete
// commands; every key then goes on to the list, which moves its selection.

#include <QObject>
#include <QPointer>

class QEvent;
class QPainter;
class QWidget;

namespace ab {

class ContactList;
class ReportView;

class ContactListView : public QObject {
  Q_OBJECT

 public:
  ContactListView() = default;
  ~ContactListView() override;

  void SetListWindow(ContactList* list) { list_ = list; }
  ContactList* listWindow() const { return list_; }

  // Starts watching the list's keys and focus; 1, or 0 when there is no list.
  int Attach();
  // Stops watching, if the list still exists.
  void Detach();

  // The subclass procedure: true when the event must not reach the list.
  bool WindowProc(QObject* watched, QEvent* event);
  // Paints row `row` of the details view: highlighted from the name to the end
  // of the last column when selected, texts cut with an ellipsis.
  void DrawRow(QPainter& painter, const ReportView& list, int row) const;
  // The focus moved to or from `other`.
  void OnFocusChange(QWidget* other);
  // Repaints the focused row at once.
  void RepaintSelection();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override { return WindowProc(watched, event); }

 private:
  QPointer<ContactList> list_;
  QPointer<ContactList> attachedTo_;
};

extern ContactListView contactListView;

}  // namespace ab
