#pragma once
// Messages the list sends to the main window: a command by ID (the same
// CommandMessage the viewer's buttons use) and a request for the list's popup.

#include <QCoreApplication>
#include <QEvent>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "viewer/ViewerMessages.h"

namespace ab {

// Sends command `id` to `window` and returns once it has been carried out.
inline void SendCommand(QWidget* window, int id) {
  if (window == nullptr) return;
  CommandMessage message(id);
  QCoreApplication::sendEvent(window, &message);
}

// Queues command `id` for `window`: it is carried out once the event at hand
// (a menu still handling its item, say) is done.
inline void PostCommand(QWidget* window, int id) {
  if (window != nullptr) QCoreApplication::postEvent(window, new CommandMessage(id));
}

class ContextMenuMessage : public QEvent {
 public:
  ContextMenuMessage(QWidget* from, QPoint at) : QEvent(MessageType()), source(from), globalPos(at) {}
  static QEvent::Type MessageType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  QPointer<QWidget> source;  // the window the right click was over
  QPoint globalPos;
};

}  // namespace ab
