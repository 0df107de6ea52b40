// The contact editor inside the window program, offscreen: from the New
// command to the sheet shown, and from OK in an edited contact's sheet to the
// list sorted, selected and repainted, with photo cards loaded.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "BenchFixtures.h"
#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/ContactList.h"
#include "app/MainWindow.h"
#include "app/WindowMessages.h"
#include "contacts/CardStore.h"
#include "resources/ResourceLibrary.h"
#include "viewer/CardViewer.h"

namespace {

using namespace ab;
using Clock = std::chrono::steady_clock;

// A program folder with `cards` photo cards and the main window over them.
class Session {
 public:
  explicit Session(int cards) : folder_(bench::MakeTempFolder()) {
    ResetAppState();
    LoadResourceLibrary(QStringLiteral(AB_BUNDLE));
    RegisterCardViewerClass();
    const std::string cardFolder = folder_ + "/VCardData";
    std::filesystem::create_directory(cardFolder);
    bench::WriteCards(cardFolder, cards, true);
    LoadCardStore(folder_, [](int) { return kAnswerNo; });
    currentRow = 0;
    window_.reset(CreateMainWindow(QCoreApplication::instance()));
    QCoreApplication::processEvents();
  }
  ~Session() {
    window_.reset();  // which releases the resource library
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    currentRecord.reset();
    contactCount = 0;
    bench::RemoveFolder(folder_);
  }

  // Sends command `id`; `inSheet` runs once the editor it opens is shown.
  void RunWithSheet(int id, const std::function<void(QDialog*)>& inSheet) {
    QTimer::singleShot(0, window_.get(), [inSheet] {
      if (auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget())) inSheet(sheet);
    });
    SendCommand(window_.get(), id);
  }

 private:
  std::string folder_;
  std::unique_ptr<MainWindow> window_;
};

// 255 cards, so the table has room for the new one; the sheet is cancelled after each measure.
void BM_NewCommandToSheetShown_255PhotoCards(benchmark::State& state) {
  Session session(255);
  for (auto _ : state) {
    Clock::time_point shown;
    const Clock::time_point start = Clock::now();
    session.RunWithSheet(kNewContactCommand, [&shown](QDialog* sheet) {
      QCoreApplication::processEvents();  // its first paint
      shown = Clock::now();
      sheet->reject();
    });
    if (shown == Clock::time_point()) state.SkipWithError("the editor did not open");
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}

// OK in the editor of a contact whose given name changed, until the card is
// written, the table sorted, the row selected again and the list repainted.
void BM_OkToListUpdated_256PhotoCards(benchmark::State& state) {
  Session session(256);
  int round = 0;
  for (auto _ : state) {
    listWindow->SelectRow(round % 256);
    Clock::time_point ok;
    session.RunWithSheet(kEditContactCommand, [&ok, &round](QDialog* sheet) {
      sheet->findChild<QLineEdit*>(QStringLiteral("ctl1018"))->setText(QString::number(++round));
      ok = Clock::now();
      sheet->accept();
    });
    QCoreApplication::processEvents();
    if (ok == Clock::time_point()) state.SkipWithError("the editor did not open");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - ok).count());
  }
}

BENCHMARK(BM_NewCommandToSheetShown_255PhotoCards)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_OkToListUpdated_256PhotoCards)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
