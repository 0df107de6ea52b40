#pragma once
// The card viewer: the child window of the split view that shows
// currentRecord as a 640 x 500 business card. It scrolls the card through its
// scroll bars when the window is smaller and centres it on grey when the
// window is larger; the e-mail address and the web page on the card are
// links, and a contact with a sound clip gets a button that plays it.
//
// The viewer never loads cards: the main window puts the contact into
// currentRecord and calls update() on the viewer (or its viewport).

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPoint>
#include <QPointer>
#include <QPushButton>

#include <optional>
#include <string>

#include "viewer/CardTexts.h"
#include "viewer/ViewerMessages.h"

class QScrollBar;

namespace ab {

inline constexpr char kCardViewerClassName[] = "VCardViewWClass";
// Resources of the library the viewer uses.
inline constexpr int kHandCursorId = 527;
inline constexpr int kSoundIconId = 539;
inline constexpr int kEmailPopupMenuId = 153;
// The list strip left of a docked viewer.
inline constexpr int kDockedListWidth = 180;

// Readies the viewer's window class; 1 on success. CreateCardViewer makes no
// viewer before this has been called, as a window of an unregistered class
// cannot be created.
int RegisterCardViewerClass();
// Undoes the registration; viewers that exist stay as they are.
void UnregisterCardViewerClass();

class CardViewer;

// A visible viewer, child of `mainWindow`: docked at x 180 over the rest of
// its client area (the split view), or over the whole of it. Null when the
// class is not registered or there is no main window.
CardViewer* CreateCardViewer(QWidget* mainWindow, bool docked);

class CardViewer : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit CardViewer(QWidget* parent = nullptr);
  ~CardViewer() override;

  // The window procedure: the viewer's client events (size, paint, mouse),
  // its ScrollMessages and CommandMessages all pass here. True when the event
  // was handled completely.
  bool CardViewerProc(QEvent* event);

  // Asks for a repaint of the whole card, as after currentRecord or
  // showCellFrames changed. (update() of the viewer itself would repaint only
  // its frame, not the card.)
  void Invalidate() { viewport()->update(); }

  int verticalRange() const { return verticalRange_; }
  int horizontalRange() const { return horizontalRange_; }
  int verticalPosition() const { return verticalPosition_; }
  int horizontalPosition() const { return horizontalPosition_; }
  QPoint cardOrigin() const { return cardOrigin_; }
  // Where the card's top-left corner lies in client coordinates after scrolling.
  QPoint DrawingOffset() const;
  // Where the content of the card (and so its links) starts.
  QPoint LinkOffset() const { return DrawingOffset() + kContentOrigin; }

  QPushButton* soundButton() const { return soundButton_; }
  const std::string& clickedEmail() const { return clickedEmail_; }
  const CardCells& cells() const { return cells_; }

 protected:
  bool viewportEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The procedure scrolls the contents itself, by the step it allows.
  void scrollContentsBy(int, int) override {}
  // No keyboard or wheel input: the card moves only through the scroll bars.
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool SoundButtonProc(QEvent* event);
  void LoadCursors();
  void OnSize(const QSize& client);
  void OnScroll(const ScrollMessage& message);
  void OnPaint();
  void OnMouseMove(const QPoint& point);
  void OnLeftButtonDown(const QPoint& point);
  void OnCommand(int id);
  void UpdateSoundButton();
  void ShowEmailPopup(const QPoint& point);
  bool OverLink(const QPoint& point, int row) const;
  void ConnectScrollBar(QScrollBar* bar, Qt::Orientation axis);

  CardCells cells_;
  QSize client_;
  int verticalRange_ = 0;
  int horizontalRange_ = 0;
  int verticalPosition_ = 0;
  int horizontalPosition_ = 0;
  QPoint cardOrigin_;
  QPointer<QPushButton> soundButton_;
  std::string clickedEmail_;
  bool updatingBars_ = false;  // the procedure itself is setting the bars
  bool cursorsLoaded_ = false;
  QCursor handCursor_;
  QCursor arrowCursor_;
};

}  // namespace ab
