// The main window's contact commands, each timed from the command to the list
// updated (offscreen): deleting one of 256 photo contacts (the card goes to a
// trash of the benchmark's own; the question before it is not timed), importing
// a file of 256 cards and a 255-row CSV file through the command's import
// run (each with its closing count message).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "BenchFixtures.h"
#include "app/AppState.h"
#include "app/ContactCommands.h"
#include "app/ContactList.h"
#include "app/ImportCommands.h"
#include "app/MainWindow.h"
#include "contacts/CardStore.h"
#include "contacts/VCardWriter.h"
#include "resources/ResourceLibrary.h"

namespace {

using namespace ab;

// A main window over `folder` as start-up leaves it; closing it frees the
// resource library and the shared record, as the program's exit does.
struct Window {
  explicit Window(const std::string& folder) {
    ResetAppState();
    LoadResourceLibrary(QStringLiteral(AB_BUNDLE));
    LoadCardFolder(folder, [](int) { return kAnswerNo; });
    currentRow = 0;
    window = std::make_unique<MainWindow>();
  }
  ~Window() {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::unique_ptr<MainWindow> window;
};

// Closes the next message box as soon as it shows.
void CloseNextMessageBox() {
  QTimer::singleShot(0, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      box->accept();
    } else {
      CloseNextMessageBox();
    }
  });
}

// Times `import` on a window over a new empty card folder in `work`, each round,
// up to the list updated; the import must add `expected` contacts.
void TimeImports(benchmark::State& state, const std::string& work, int expected,
                 const std::function<void(MainWindow*)>& import) {
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto open = std::make_unique<Window>(work + "/cards" + std::to_string(round++));
    state.ResumeTiming();

    import(open->window.get());

    state.PauseTiming();
    const int count = contactCount;
    open.reset();
    state.ResumeTiming();
    if (count != expected) {
      state.SkipWithError("not every card was imported");
      break;
    }
  }
  state.counters["cards"] = expected;
}

void BM_DeleteOneOf256PhotoContacts(benchmark::State& state) {
  const std::string folder = bench::MakeTempFolder();
  bench::WriteCards(folder, 256, true);
  Window open(folder);
  constexpr int kRow = 128;
  for (auto _ : state) {
    state.PauseTiming();
    const ContactRow row = contactTable[kRow];
    std::ifstream in(row.filePath.str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    currentRow = kRow;
    state.ResumeTiming();

    const int removed = DeleteContact(open.window.get(), kRow);
    ReloadCurrentCard();

    state.PauseTiming();
    // The card comes back, so every round deletes one of 256.
    std::ofstream(row.filePath.str(), std::ios::binary) << bytes;
    contactTable[contactCount] = row;
    SetListRow(listWindow, contactCount++, true);
    SortContacts(listWindow);
    state.ResumeTiming();
    if (!removed) {
      state.SkipWithError("the card was not deleted");
      break;
    }
  }
  bench::RemoveFolder(folder);
}

void BM_Import256CardFile(benchmark::State& state) {
  const std::string work = bench::MakeTempFolder();
  const std::string file = work + "/all.vcf";
  {
    std::string all;
    ContactRecord record;
    for (int i = 0; i < 256; ++i) {
      bench::FillSampleRecord(record, i, false);
      all += RenderCardFile(record);
      all.pop_back();
    }
    std::ofstream(file, std::ios::binary) << all;
  }
  TimeImports(state, work, 256, [&file](MainWindow* window) {
    CloseNextMessageBox();
    ImportVCardFile(window, file);
  });
  bench::RemoveFolder(work);
}

void BM_ImportCsv255Rows(benchmark::State& state) {
  const std::string work = bench::MakeTempFolder();
  const std::string csv = work + "/contacts.csv";
  {
    std::ofstream out(csv, std::ios::binary);
    out << "\"First Name\",\"Last Name\",\"E-mail Address\",\"Business Phone\"\r\n";
    for (int i = 0; i < 255; ++i) {
      const std::string n = std::to_string((i * 7919) % 1000);  // names in no particular order
      out << "\"Given" << n << "\",\"Family" << n << "\",\"p" << n << "@example.com\",\"+1 555 0" << n << "\"\r\n";
    }
  }
  TimeImports(state, work, 255, [&csv](MainWindow* window) {
    CloseNextMessageBox();  // the closing count message
    ImportCsvIntoList(window, csv);
  });
  bench::RemoveFolder(work);
}

BENCHMARK(BM_DeleteOneOf256PhotoContacts)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Import256CardFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportCsv255Rows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Deleted cards go to a trash of the benchmark's own, not the user's.
  const std::string data = ab::bench::MakeTempFolder();
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ab::bench::RemoveFolder(data);
  return 0;
}
