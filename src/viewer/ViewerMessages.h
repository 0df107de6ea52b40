#pragma once
// The messages the card viewer's procedure handles besides Qt's own events:
// a scroll-bar action and a command (from the sound button or the e-mail popup).

#include <QEvent>

namespace ab {

enum class ScrollCode {
  LineBack,       // line up or left
  LineForward,    // line down or right
  PageBack,
  PageForward,
  ThumbPosition,  // the thumb was released at `thumbPosition`
  ThumbTrack,     // the thumb is being dragged
  ToStart,        // top or leftmost
  ToEnd,          // bottom or rightmost
};

class ScrollMessage : public QEvent {
 public:
  ScrollMessage(Qt::Orientation onAxis, ScrollCode scrollCode, int thumb = 0)
      : QEvent(MessageType()), axis(onAxis), code(scrollCode), thumbPosition(thumb) {}
  static QEvent::Type MessageType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  Qt::Orientation axis;
  ScrollCode code;
  int thumbPosition;
};

class CommandMessage : public QEvent {
 public:
  explicit CommandMessage(int commandId) : QEvent(MessageType()), id(commandId) {}
  static QEvent::Type MessageType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  int id;
};

// Command IDs the viewer handles.
inline constexpr int kSoundButtonCommand = 0;
inline constexpr int kSendViaSiblingMailCommand = 125;
inline constexpr int kComposeMailCommand = 126;

}  // namespace ab
