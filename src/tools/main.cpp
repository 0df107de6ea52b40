// addressbook-cli: the address book's card files from the command line.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/CardFileSplit.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "tools/CardJson.h"
#include "tools/ExportCsvCommand.h"
#include "tools/ImportCsvCommand.h"

namespace {

constexpr int kUsageError = 2;

int Usage() {
  std::cerr << "usage: addressbook-cli show CARD\n"
               "       addressbook-cli list [FOLDER]\n"
               "       addressbook-cli import-vcard FILE FOLDER\n"
               "       addressbook-cli import-csv FILE FOLDER\n"
               "       addressbook-cli export-csv FOLDER OUT\n"
               "       addressbook-cli export CARD OUT\n"
               "       addressbook-cli render CARD OUT.png [WIDTH HEIGHT]\n"
      ;
  return kUsageError;
}

int Fail(const std::string& message) {
  std::cerr << "addressbook-cli: " << message << "\n";
  return 1;
}

// The companion answers No: it never deletes a file that stands where a folder should be.
int DeclineQuestion(int) { return ab::kAnswerNo; }

int LoadFolder(const std::string& folder, ab::FolderLoadReport* report = nullptr) {
  return ab::LoadCardFolder(folder, DeclineQuestion, report)
             ? 0
             : Fail("cannot use '" + folder + "' as a card folder (a file of that name is in the way, or the path is too long)");
}

// This program's own file.
std::string ProgramPath(const char* argv0) {
  std::error_code ignored;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ignored);
  return self.empty() ? std::string(argv0) : self.string();
}

// The window program's card folder, for a companion installed beside it.
std::string DefaultCardFolder(const char* argv0) {
  const std::string programFolder = std::filesystem::path(ProgramPath(argv0)).parent_path().string();
  std::string problem;
  // Portable like the window program when the resource library is beside it.
  const auto layout = ::access((programFolder + "/OSTREL_RC.dll").c_str(), F_OK) == 0 ? ab::ProgramLayout::Portable
                                                                                      : ab::ProgramLayout::Installed;
  const std::string folder = ab::ChooseCardFolder(programFolder, layout, ab::UserDataFolder(), &problem);
  if (folder.empty()) std::cerr << "addressbook-cli: " << problem << "\n";
  return folder;
}

int Show(const std::string& card) {
  ab::ContactRecord record;
  if (!ab::ReadCard(record, card)) return Fail("cannot read '" + card + "' as a vCard");
  std::cout << ab::RecordToJson(record) << "\n";
  return 0;
}

int List(const std::string& folder) {
  ab::FolderLoadReport report;
  if (const int rc = LoadFolder(folder, &report)) return rc;
  for (const std::string& name : report.pathTooLong)
    std::cerr << "addressbook-cli: '" << name << "' was not loaded: its full path is too long\n";
  if (report.notLoaded > 0)
    std::cerr << "addressbook-cli: " << report.notLoaded
              << " card files in the folder were not loaded: the address book shows at most 256 contacts\n";
  for (int i = 0; i < ab::contactCount; ++i) {
    const ab::ContactRow& row = ab::contactTable[static_cast<std::size_t>(i)];
    std::cout << row.displayName << '\t' << row.email << '\t' << row.workPhone << '\t' << row.homePhone << '\t'
              << row.filePath << '\n';
  }
  return 0;
}

// Every card of FILE (one, or each of a file holding several) as a card file
// of its own in FOLDER, in file order; prints how many were imported. 1 when
// a card could not be read or written, 3 when the folder filled up first.
int ImportVCard(const std::string& file, const std::string& folder) {
  constexpr int kFolderFull = 3;
  if (const int rc = LoadFolder(folder)) return rc;
  const std::optional<std::string> text = ab::ReadCardsFileText(file);
  if (!text) return Fail("cannot read '" + file + "'");
  std::vector<std::string_view> cards = ab::SplitCards(*text);
  if (cards.size() < 2) cards = {*text};  // one card: the reader takes it as it would the file
  int imported = 0;
  int failed = 0;  // Fail's exit code once a card was not imported
  ab::ContactRecord record;
  for (std::size_t i = 0; i < cards.size(); ++i) {
    if (ab::contactCount + 1 > ab::kMaxContacts) {
      std::cout << imported << "\n";
      Fail("the card folder is full (256 cards); " + std::to_string(cards.size() - i) + " cards were left out");
      return kFolderFull;
    }
    const std::string which = "card " + std::to_string(i + 1) + " of '" + file + "'";
    if (!ab::ReadCardFromText(record, cards[i])) {
      failed = Fail(which + " cannot be read as a vCard");
      continue;
    }
    std::string path;
    ab::MakeCardFileName(path, ab::cardFolder.str());
    record.filePath = path;
    if (path.empty() || !ab::SaveNew(record)) {
      failed = Fail("cannot write " + which + " into '" + folder + "'");
      continue;
    }
    ab::FillRow(record, ab::contactCount++);
    ++imported;
  }
  std::cout << imported << "\n";
  return failed;
}

int Export(const std::string& card, const std::string& out) {
  ab::ContactRecord record;
  if (!ab::ReadCard(record, card)) return Fail("cannot read '" + card + "' as a vCard");
  if (!ab::SaveAs(record, out)) return Fail("cannot write '" + out + "'");
  return 0;
}

// The card viewer needs Qt's widgets, which the other commands never load: a
// program of its own draws the card. The first that exists of: beside this
// program, the installed place, ../libexec/addressbook from this program's folder.
std::string RenderProgram(const std::string& self) {
  const std::filesystem::path folder = std::filesystem::path(self).parent_path();
  for (const std::filesystem::path& candidate :
       {folder / "addressbook-render", std::filesystem::path(AB_INSTALLED_RENDER),
        folder / ".." / "libexec" / "addressbook" / "addressbook-render"}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

int Render(const std::string& self, std::vector<std::string> args) {
  std::string program = RenderProgram(self);
  if (program.empty()) return Fail("cannot render: the program addressbook-render is not installed");
  args.front() = program;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  return Fail("cannot start '" + program + "'");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  if (command == "show" && args.size() == 2) return Show(args[1]);
  if (command == "list" && args.size() == 2) return List(args[1]);
  if (command == "list" && args.size() == 1) return List(DefaultCardFolder(argv[0]));
  if (command == "import-vcard" && args.size() == 3) return ImportVCard(args[1], args[2]);
  if (command == "export" && args.size() == 3) return Export(args[1], args[2]);
  if (command == "import-csv" && args.size() == 3) return ab::RunImportCsv(args[1], args[2]);
  if (command == "export-csv" && args.size() == 3) return ab::RunExportCsv(args[1], args[2]);
  if (command == "render" && (args.size() == 3 || args.size() == 5)) return Render(ProgramPath(argv[0]), args);
  return Usage();
}
