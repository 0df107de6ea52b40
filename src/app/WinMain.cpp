#include "app/WinMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <memory>

#include "app/AppState.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "resources/MessageBoxes.h"
#include "app/MessageLoop.h"
#include "resources/ResourceLibrary.h"
#include "app/SingleInstance.h"
#include "contacts/CardStore.h"
#include "viewer/CardViewer.h"

namespace ab {
namespace {

constexpr char kAcceleratorTable[] = "ZiziZiziAccel";

// Closes the window after the list's first paint.
class FirstPaintQuit : public QObject {
 public:
  explicit FirstPaintQuit(QWidget* window) : QObject(window), window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      watched->removeEventFilter(this);
      QMetaObject::invokeMethod(window_, &QWidget::close, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget* window_;
  bool done_ = false;
};

int AskStartQuestion(int stringId) { return AskYesNo(nullptr, stringId) == kResultYes ? kAnswerYes : kAnswerNo; }

}  // namespace

StartOptions DefaultStartOptions() {
  StartOptions options;
  options.programFolder = QCoreApplication::applicationDirPath();
  options.resourceLibraryPath = options.programFolder + QStringLiteral("/OSTREL_RC.dll");
  options.instanceName = InstanceNameForUser();
  options.quitAfterFirstPaint = qEnvironmentVariable("AB_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1");
  return options;
}

int WinMain(const StartOptions& options) {
  SingleInstance instance(options.instanceName);
  if (instance.HandOverToRunning()) return 0;

  ResetAppState();
  if (!LoadResourceLibrary(options.resourceLibraryPath)) {
    QMessageBox failed(QMessageBox::NoIcon, QStringLiteral("ERROR"), QStringLiteral("Can't not load OSTREL_RC.dll"),
                       QMessageBox::Ok);
    failed.exec();
  }
  if (RegisterMainWindowClass() == 0) return 0;
  if (RegisterCardViewerClass() == 0) return 0;
  if (LoadCardStore(options.programFolder.toStdString(), AskStartQuestion) == 0) return 0;

  std::unique_ptr<MainWindow> window(CreateMainWindow(QCoreApplication::instance()));
  if (!window) return 0;
  QPointer<MainWindow> shown(window.get());
  instance.onRaiseRequest = [shown] { RaiseMainWindow(shown); };
  window->InstallAccelerators(LoadResourceAccelerators(QLatin1String(kAcceleratorTable)));
  if (options.quitAfterFirstPaint && listWindow != nullptr) {
    listWindow->view()->viewport()->installEventFilter(new FirstPaintQuit(window.get()));
  }
  const int code = RunMessageLoop();
  window.reset();
  UnregisterCardViewerClass();
  return code;
}

}  // namespace ab
