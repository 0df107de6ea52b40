#include "app/WinMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/CardFolderWatch.h"
#include "app/ContactList.h"
#include "app/ImportCommands.h"
#include "app/MainWindow.h"
#include "resources/MessageBoxes.h"
#include "app/MessageLoop.h"
#include "resources/ResourceLibrary.h"
#include "app/SingleInstance.h"
#include "contacts/CardStore.h"
#include "contacts/RowCache.h"
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
      // Once the paint is done: a timing harness reads the line, then the program ends.
      QMetaObject::invokeMethod(
          window_,
          [window = window_] {
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            window->close();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget* window_;
  bool done_ = false;
};

int AskStartQuestion(int stringId) { return AskYesNo(nullptr, stringId) == kResultYes ? kAnswerYes : kAnswerNo; }

// LoadCardFolder with the rows cache of `cacheFolder`, which is let go once the table is filled.
int LoadCardsAtStart(const std::string& cardFolderPath, const QString& cacheFolder, FolderLoadReport* leftOut) {
  RowCache rows(RowCacheFile(QFile::encodeName(cacheFolder).toStdString(), cardFolderPath), ProgramBuildId());
  return LoadCardFolder(cardFolderPath, AskStartQuestion, leftOut, &rows);
}

constexpr int kCardsNotLoadedWarning = 83;  // string: %1 card files were left unread
constexpr int kPathsTooLongWarning = 84;    // string: %1 names the cards whose path is too long
constexpr int kBoxCaption = 6;
constexpr int kCaptionCapacity = 32;
constexpr int kTextCapacity = 255;
constexpr int kNamesShown = 5;

// One warning in the look of ShowWarning, with its argument put into the text.
void WarnWith(QWidget* owner, int stringId, const QString& argument) {
  QMessageBox box(QMessageBox::Warning, LoadResourceText(kBoxCaption, kCaptionCapacity),
                  LoadResourceText(stringId, kTextCapacity).arg(argument), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

// What the card folder's load left out, once the window is up: the cards the
// full table left unread, and the cards whose path a record cannot hold.
void WarnAboutCardsLeftOut(QWidget* owner, const FolderLoadReport& report) {
  if (report.notLoaded > 0) WarnWith(owner, kCardsNotLoadedWarning, QString::number(report.notLoaded));
  if (report.pathTooLong.empty()) return;
  QStringList names;
  for (std::size_t i = 0; i < report.pathTooLong.size() && i < kNamesShown; ++i)
    names.append(QFile::decodeName(QByteArray::fromStdString(report.pathTooLong[i])));
  if (report.pathTooLong.size() > kNamesShown) names.append(QStringLiteral("..."));
  WarnWith(owner, kPathsTooLongWarning, names.join(QStringLiteral(", ")));
}

}  // namespace

StartOptions DefaultStartOptions() {
  StartOptions options;
  options.programFolder = QCoreApplication::applicationDirPath();
  options.resourceLibraryPath = FindResourceLibrary(options.programFolder);
  // An installed program finds its library under share/; one that finds none is run from its folder.
  if (QFileInfo(options.resourceLibraryPath).absolutePath() != QFileInfo(options.programFolder).absoluteFilePath()) {
    options.layout = ProgramLayout::Installed;
  }
  options.dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  options.cacheFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  options.instanceName = InstanceNameForUser();
  options.quitAfterFirstPaint = qEnvironmentVariable("AB_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1");
  for (const QString& file : QCoreApplication::arguments().mid(1)) {
    options.filesToOpen.append(QFileInfo(file).absoluteFilePath());
  }
  return options;
}

int WinMain(const StartOptions& options) {
  SingleInstance instance(options.instanceName);
  if (instance.HandOverToRunning(options.filesToOpen)) return 0;

  ResetAppState();
  if (!LoadResourceLibrary(options.resourceLibraryPath)) {
    QMessageBox failed(QMessageBox::NoIcon, QStringLiteral("ERROR"), QStringLiteral("Can't not load OSTREL_RC.dll"),
                       QMessageBox::Ok);
    failed.exec();
  }
  // Every way out releases the library; the main window releases it on its own way out.
  struct LibraryRelease {
    ~LibraryRelease() { FreeResourceLibrary(); }
  } libraryRelease;
  if (RegisterMainWindowClass() == 0) return 0;
  if (RegisterCardViewerClass() == 0) return 0;
  std::string problem;
  const std::string cardFolderPath =
      ChooseCardFolder(QFile::encodeName(options.programFolder).toStdString(), options.layout,
                       QFile::encodeName(options.dataFolder).toStdString(), &problem);
  if (cardFolderPath.empty()) {
    const QString text = QStringLiteral("Address Book has no folder to keep its cards in: %1.").arg(QString::fromStdString(problem));
    std::fprintf(stderr, "addressbook: %s\n", text.toLocal8Bit().constData());
    QMessageBox failed(QMessageBox::Critical, QStringLiteral("ERROR"), text, QMessageBox::Ok);
    failed.exec();
    return 1;
  }
  FolderLoadReport leftOut;
  if (LoadCardsAtStart(cardFolderPath, options.cacheFolder, &leftOut) == 0) return 0;

  std::unique_ptr<MainWindow> window(CreateMainWindow(QCoreApplication::instance()));
  if (!window) return 0;
  QPointer<MainWindow> shown(window.get());
  instance.onRaiseRequest = [shown] { RaiseMainWindow(shown); };
  instance.onOpenFiles = [shown](const QStringList& files) {
    if (shown) ImportFiles(shown, files);
  };
  if (!options.filesToOpen.isEmpty()) ImportFiles(window.get(), options.filesToOpen);
  window->InstallAccelerators(LoadResourceAccelerators(QLatin1String(kAcceleratorTable)));
  new CardFolderWatch(window.get(), cardFolder.str());  // the window owns it
  if (leftOut.notLoaded > 0 || !leftOut.pathTooLong.empty()) {
    QTimer::singleShot(0, window.get(), [owner = window.get(), leftOut] { WarnAboutCardsLeftOut(owner, leftOut); });
  }
  if (options.quitAfterFirstPaint && listWindow != nullptr) {
    listWindow->view()->viewport()->installEventFilter(new FirstPaintQuit(window.get()));
  }
  const int code = RunMessageLoop();
  window.reset();
  UnregisterCardViewerClass();
  return code;
}

}  // namespace ab
