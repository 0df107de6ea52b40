#include "viewer/CardViewer.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

#include "resources/ResourceLibrary.h"
#include "contacts/CardStore.h"
#include "contacts/StoredText.h"
#include "editor/SoundPlayer.h"
#include "shell/Shell.h"
#include "viewer/CardPaint.h"

namespace ab {
namespace {

constexpr int kLineStep = 3;
constexpr int kPageStep = 10;
constexpr QSize kSoundIconSize(32, 32);

bool viewerClassRegistered = false;

std::optional<ScrollCode> CodeForAction(int action, bool sliderDown) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollCode::LineBack;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollCode::LineForward;
    case QAbstractSlider::SliderPageStepSub: return ScrollCode::PageBack;
    case QAbstractSlider::SliderPageStepAdd: return ScrollCode::PageForward;
    case QAbstractSlider::SliderToMinimum: return ScrollCode::ToStart;
    case QAbstractSlider::SliderToMaximum: return ScrollCode::ToEnd;
    case QAbstractSlider::SliderMove: return sliderDown ? ScrollCode::ThumbTrack : ScrollCode::ThumbPosition;
    default: return std::nullopt;
  }
}

int StepFor(const ScrollMessage& message, int position) {
  switch (message.code) {
    case ScrollCode::LineBack: return -kLineStep;
    case ScrollCode::LineForward: return kLineStep;
    case ScrollCode::PageBack: return -kPageStep;
    case ScrollCode::PageForward: return kPageStep;
    case ScrollCode::ThumbPosition: return (message.thumbPosition & 0xFFFF) - position;
    default: return 0;  // the card does not follow the thumb while it is dragged
  }
}

}  // namespace

int RegisterCardViewerClass() {
  viewerClassRegistered = true;
  return 1;
}

void UnregisterCardViewerClass() { viewerClassRegistered = false; }

CardViewer* CreateCardViewer(QWidget* mainWindow, bool docked) {
  if (!viewerClassRegistered || mainWindow == nullptr) return nullptr;
  const QRect client = mainWindow->rect();
  auto* viewer = new CardViewer(mainWindow);
  if (docked) {
    viewer->setGeometry(kDockedListWidth, 0, std::max(0, client.width() - kDockedListWidth), client.height());
  } else {
    viewer->setGeometry(0, 0, client.width(), client.height());
  }
  viewer->show();
  return viewer;
}

CardViewer::CardViewer(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName(QLatin1String(kCardViewerClassName));
  setFrameStyle(QFrame::Box | QFrame::Plain);  // a thin border
  setLineWidth(1);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  QPalette white = viewport()->palette();
  white.setColor(QPalette::Base, Qt::white);
  white.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(white);
  // Every paint covers the whole client area itself.
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  ConnectScrollBar(verticalScrollBar(), Qt::Vertical);
  ConnectScrollBar(horizontalScrollBar(), Qt::Horizontal);
}

CardViewer::~CardViewer() = default;  // the cells are ours; the sound button goes with the viewport

void CardViewer::ConnectScrollBar(QScrollBar* bar, Qt::Orientation axis) {
  bar->setRange(0, 0);
  bar->setSingleStep(kLineStep);
  bar->setPageStep(kPageStep);
  bar->setTracking(false);
  bar->setFocusPolicy(Qt::NoFocus);
  bar->installEventFilter(this);
  // Every action of the bar becomes a ScrollMessage; the procedure decides the
  // new position, which the bar then takes as its value.
  connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, axis](int action) {
    const std::optional<ScrollCode> code = CodeForAction(action, bar->isSliderDown());
    if (!code) return;
    ScrollMessage message(axis, *code, bar->sliderPosition());
    QCoreApplication::sendEvent(this, &message);
    bar->setSliderPosition(axis == Qt::Vertical ? verticalPosition_ : horizontalPosition_);
  });
  // Positions set without an action (the bar's "Scroll here") count as a released thumb.
  connect(bar, &QAbstractSlider::valueChanged, this, [this, bar, axis](int value) {
    const int ours = axis == Qt::Vertical ? verticalPosition_ : horizontalPosition_;
    if (updatingBars_ || bar->isSliderDown() || value == ours) return;
    ScrollMessage message(axis, ScrollCode::ThumbPosition, value);
    QCoreApplication::sendEvent(this, &message);
  });
}

QPoint CardViewer::DrawingOffset() const {
  return QPoint(cardOrigin_.x() - horizontalPosition_, cardOrigin_.y() - verticalPosition_);
}

bool CardViewer::viewportEvent(QEvent* event) {
  if (CardViewerProc(event)) return true;
  return QAbstractScrollArea::viewportEvent(event);
}

bool CardViewer::event(QEvent* event) {
  if (event->type() == ScrollMessage::MessageType() || event->type() == CommandMessage::MessageType()) {
    return CardViewerProc(event);
  }
  return QAbstractScrollArea::event(event);
}

bool CardViewer::eventFilter(QObject* watched, QEvent* event) {
  if (soundButton_ && watched == soundButton_) return SoundButtonProc(event);
  // The window's own scroll bars take no wheel and no keys, like the rest of the viewer.
  if ((watched == verticalScrollBar() || watched == horizontalScrollBar()) &&
      (event->type() == QEvent::Wheel || event->type() == QEvent::KeyPress)) {
    event->ignore();
    return true;
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

void CardViewer::keyPressEvent(QKeyEvent* event) { event->ignore(); }
void CardViewer::wheelEvent(QWheelEvent* event) { event->ignore(); }

void CardViewer::LoadCursors() {
  if (cursorsLoaded_) return;
  cursorsLoaded_ = true;
  // Without the library's hand the system's own pointing hand stands in.
  handCursor_ = LoadResourceCursor(kHandCursorId).value_or(QCursor(Qt::PointingHandCursor));
  arrowCursor_ = QCursor(Qt::ArrowCursor);
}

bool CardViewer::CardViewerProc(QEvent* event) {
  LoadCursors();
  const QEvent::Type type = event->type();
  if (type == ScrollMessage::MessageType()) {
    OnScroll(*static_cast<ScrollMessage*>(event));
    return true;
  }
  if (type == CommandMessage::MessageType()) {
    OnCommand(static_cast<CommandMessage*>(event)->id);
    return true;
  }
  switch (type) {
    case QEvent::Resize:
      OnSize(static_cast<QResizeEvent*>(event)->size());
      return false;
    case QEvent::Paint:
      OnPaint();
      return true;
    case QEvent::MouseMove:
      OnMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {  // a second click is just another press
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      OnLeftButtonDown(mouse->position().toPoint());
      return true;
    }
    default:
      return false;
  }
}

void CardViewer::OnSize(const QSize& client) {
  client_ = client;
  verticalRange_ = std::max(0, kCardHeight - client.height());
  horizontalRange_ = std::max(0, kCardWidth - client.width());
  verticalPosition_ = std::min(verticalPosition_, verticalRange_);
  horizontalPosition_ = std::min(horizontalPosition_, horizontalRange_);
  updatingBars_ = true;
  verticalScrollBar()->setRange(0, verticalRange_);
  horizontalScrollBar()->setRange(0, horizontalRange_);
  verticalScrollBar()->setValue(verticalPosition_);
  horizontalScrollBar()->setValue(horizontalPosition_);
  updatingBars_ = false;
  cardOrigin_ = QPoint(std::max(0, (client.width() - kCardWidth) / 2), std::max(0, (client.height() - kCardHeight) / 2));
}

void CardViewer::OnScroll(const ScrollMessage& message) {
  const bool vertical = message.axis == Qt::Vertical;
  int& position = vertical ? verticalPosition_ : horizontalPosition_;
  const int range = vertical ? verticalRange_ : horizontalRange_;
  const int step = std::clamp(StepFor(message, position), -position, range - position);
  if (step == 0) return;
  position += step;
  if (vertical) {
    viewport()->scroll(0, -step);
  } else {
    viewport()->scroll(-step, 0);
  }
  updatingBars_ = true;
  (vertical ? verticalScrollBar() : horizontalScrollBar())->setValue(position);
  updatingBars_ = false;
  viewport()->repaint();
}

void CardViewer::OnPaint() {
  {
    QPainter painter(viewport());
    const QPoint offset = DrawingOffset();
    PaintCard(painter, viewport()->size(), offset.x(), offset.y(), cells_, currentRecord.get());
  }
  UpdateSoundButton();
}

void CardViewer::UpdateSoundButton() {
  const bool hasSound = currentRecord && !currentRecord->soundData.IsNull();
  if (hasSound && !soundButton_) {
    auto* button = new QPushButton(viewport());
    button->setIcon(LoadResourceIcon(kSoundIconId));
    button->setIconSize(kSoundIconSize);
    button->setMouseTracking(true);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this] {
      CommandMessage message(kSoundButtonCommand);
      QCoreApplication::sendEvent(this, &message);
    });
    soundButton_ = button;
    button->show();
  } else if (!hasSound && soundButton_) {
    soundButton_->hide();
    soundButton_->deleteLater();  // not while the viewport is still painting
    soundButton_ = nullptr;
  }
  if (soundButton_) {
    soundButton_->setGeometry(QRect(DrawingOffset() + kSoundButtonPosition, QSize(kSoundButtonSize, kSoundButtonSize)));
  }
}

bool CardViewer::SoundButtonProc(QEvent* event) {
  if (event->type() == QEvent::MouseMove ||
      (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)) {
    LoadCursors();
    soundButton_->setCursor(handCursor_);
  }
  return false;  // the button goes on with its own handling
}

bool CardViewer::OverLink(const QPoint& point, int row) const {
  const LayoutCell& cell = cells_.cardCells[static_cast<std::size_t>(row)];
  const QPoint offset = LinkOffset();
  return !IsBlank(cell.text()) && cell.HitTest(offset.x(), offset.y(), point);
}

void CardViewer::OnMouseMove(const QPoint& point) {
  const bool overLink = OverLink(point, ROW_WEB_PAGE) || OverLink(point, ROW_EMAIL);
  viewport()->setCursor(overLink ? handCursor_ : arrowCursor_);
}

void CardViewer::OnLeftButtonDown(const QPoint& point) {
  if (OverLink(point, ROW_WEB_PAGE)) OpenWebPage(cells_.cardCells[ROW_WEB_PAGE].text());
  if (OverLink(point, ROW_EMAIL)) {
    clickedEmail_ = cells_.cardCells[ROW_EMAIL].text();
    ShowEmailPopup(point);
  }
}

void CardViewer::ShowEmailPopup(const QPoint& point) {
  const std::unique_ptr<QMenu> menu = LoadResourceMenu(kEmailPopupMenuId);
  QMenu* popup = SubMenu(menu.get(), 0);
  if (popup == nullptr) return;
  if (QAction* send = FindCommandAction(popup, kSendViaSiblingMailCommand)) send->setEnabled(IsSiblingMailAvailable());
  if (QAction* compose = FindCommandAction(popup, kComposeMailCommand)) compose->setEnabled(CanOpenInternetShortcuts());
  // Left- and top-aligned at the click point.
  const QPointer<CardViewer> self(this);
  QAction* chosen = popup->exec(viewport()->mapToGlobal(point));
  if (!self || chosen == nullptr || !chosen->data().isValid()) return;
  // The chosen command arrives as a message of its own, after the click.
  QCoreApplication::postEvent(this, new CommandMessage(chosen->data().toInt()));
}

void CardViewer::OnCommand(int id) {
  switch (id) {
    case kSoundButtonCommand:
      if (currentRecord) PlaySoundClip(currentRecord->soundData);
      break;
    case kSendViaSiblingMailCommand: SendViaSiblingMail(clickedEmail_); break;
    case kComposeMailCommand: ComposeMailTo(clickedEmail_); break;
    default: break;
  }
}

}  // namespace ab
