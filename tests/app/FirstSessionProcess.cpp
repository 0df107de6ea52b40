// A new user's first short session, as a process of its own: the program
// starts on a folder of three cards with the first contact selected, and
// File > Exit, chosen with the keyboard in the real menu bar, ends the run
// with exit code 0. A
// menu deleted under its own key press shows up as a heap error (the test sets
// MALLOC_PERTURB_) or under Valgrind. Each failed step has its own exit code.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/AppState.h"
#include "app/ContactList.h"
#include "app/WinMain.h"
#include "support/TempFolder.h"

namespace {

void Check(bool ok, int code, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::_Exit(code);
}

void Session() {
  QWidget* window = ab::listWindow != nullptr ? ab::listWindow->window() : nullptr;
  if (window == nullptr || !window->isVisible()) {
    QTimer::singleShot(20, Session);
    return;
  }
  window->activateWindow();
  Check(QTest::qWaitForWindowActive(window), 4, "the window became active");
  Check(ab::currentRow == 0 && ab::listWindow->FirstSelectedRow() == 0, 5, "the first contact is selected at start");
  QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
  QTimer::singleShot(50, [] {
    if (QWidget* menu = QApplication::activePopupWidget()) QTest::keyClick(menu, Qt::Key_X);
  });
  QTimer::singleShot(5000, [] { Check(false, 3, "File > Exit ended the program"); });
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ab::testing::TempFolder folder;
  std::filesystem::create_directory(folder.File("VCardData"));
  for (const char* name : {"Carol", "Alice", "Bob"})
    folder.Write(std::string("VCardData/") + name + ".vcf", std::string("BEGIN:VCARD\r\nFN:") + name + "\r\nEND:VCARD\r\n");
  ab::StartOptions options;
  options.programFolder = QString::fromStdString(folder.path());
  options.resourceLibraryPath = QStringLiteral(AB_PRODUCT_BUNDLE);
  options.instanceName = QStringLiteral("abfirst-%1").arg(QCoreApplication::applicationPid());
  QTimer::singleShot(0, Session);
  return ab::WinMain(options);
}
