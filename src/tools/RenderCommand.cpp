#include "tools/RenderCommand.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <utility>

#include "resources/ResourceLibrary.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "viewer/CardViewer.h"

namespace ab {
namespace {

int Fail(const std::string& message) {
  std::cerr << "addressbook-cli: " << message << "\n";
  return 1;
}

// Puts a record into currentRecord for as long as it lives, as the main window
// does before it lets the viewer paint, and gives the old one back afterwards.
class ShownRecord {
 public:
  explicit ShownRecord(std::unique_ptr<ContactRecord> record) : saved_(std::exchange(currentRecord, std::move(record))) {}
  ~ShownRecord() { currentRecord = std::move(saved_); }
  ShownRecord(const ShownRecord&) = delete;
  ShownRecord& operator=(const ShownRecord&) = delete;

 private:
  std::unique_ptr<ContactRecord> saved_;
};

// The resource library beside the program, for the captions and the sound
// button's icon, unless one is loaded already.
class LibraryForRender {
 public:
  LibraryForRender() {
    if (resourceLibrary != nullptr) return;
    loaded_ = LoadResourceLibrary(FindResourceLibrary(QCoreApplication::applicationDirPath()));
    if (!loaded_) std::cerr << "addressbook-cli: no resource library found; the captions are left out\n";
  }
  ~LibraryForRender() {
    if (loaded_) FreeResourceLibrary();
  }
  LibraryForRender(const LibraryForRender&) = delete;
  LibraryForRender& operator=(const LibraryForRender&) = delete;

 private:
  bool loaded_ = false;
};

// Sizes the viewer so that its client area is exactly `client`, whichever
// scroll bars that client area calls for.
bool SizeClientArea(CardViewer& viewer, const QSize& client) {
  QSize outer = client + QSize(2 * viewer.frameWidth(), 2 * viewer.frameWidth());
  for (int attempt = 0; attempt < 4; ++attempt) {
    viewer.resize(outer);
    QCoreApplication::processEvents();
    const QSize now = viewer.viewport()->size();
    if (now == client) return true;
    outer += client - now;
  }
  return false;
}

QImage RenderViewer(const QSize& client) {
  CardViewer viewer;
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.show();
  if (!SizeClientArea(viewer, client)) return {};
  viewer.viewport()->repaint();  // the first paint makes the sound button of a card with a clip
  QCoreApplication::processEvents();
  QImage image(client, QImage::Format_RGB32);
  image.fill(Qt::white);
  viewer.viewport()->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

}  // namespace

int RunRender(const std::string& card, const std::string& outPng, int width, int height) {
  if (width < 1 || height < 1 || width > kLargestRenderSide || height > kLargestRenderSide) {
    return Fail("the size must be from 1 to " + std::to_string(kLargestRenderSide) + " pixels each way");
  }
  auto record = std::make_unique<ContactRecord>();
  if (!ReadCard(*record, card)) return Fail("cannot read '" + card + "' as a vCard");

  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::unique_ptr<QApplication> ownApp;
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "addressbook-cli";
    static char* argv[] = {name, nullptr};
    ownApp = std::make_unique<QApplication>(argc, argv);
  } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    return Fail("rendering needs a QApplication");
  }

  QImage image;
  {
    const LibraryForRender library;
    const ShownRecord shown(std::move(record));
    if (!RegisterCardViewerClass()) return Fail("cannot set up the card viewer");
    image = RenderViewer(QSize(width, height));
  }
  if (image.isNull()) return Fail("cannot lay the card viewer out at " + std::to_string(width) + " x " + std::to_string(height));
  if (!image.save(QString::fromStdString(outPng), "PNG")) return Fail("cannot write '" + outPng + "'");
  return 0;
}

}  // namespace ab
