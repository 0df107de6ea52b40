#include "app/MessageLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace ab {
namespace {

QPointer<QEventLoop> messageLoop;

}  // namespace

int RunMessageLoop() {
  QEventLoop loop;
  messageLoop = &loop;
  const int code = loop.exec();
  messageLoop = nullptr;
  return code;
}

void PostQuitMessage(int code) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [code] { if (messageLoop) messageLoop->exit(code); }, Qt::QueuedConnection);
}

}  // namespace ab
