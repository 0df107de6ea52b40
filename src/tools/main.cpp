// addressbook-cli: the address book's card files from the command line.

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
#ifdef AB_HAVE_RENDER
#include "tools/RenderCommand.h"
#endif

namespace {

constexpr int kUsageError = 2;

int Usage() {
  std::cerr << "usage: addressbook-cli show CARD\n"
               "       addressbook-cli list [FOLDER]\n"
               "       addressbook-cli import-vcard FILE FOLDER\n"
               "       addressbook-cli import-csv FILE FOLDER\n"
               "       addressbook-cli export-csv FOLDER OUT\n"
               "       addressbook-cli export CARD OUT\n"
#ifdef AB_HAVE_RENDER
               "       addressbook-cli render CARD OUT.png [WIDTH HEIGHT]\n"
#endif
      ;
  return kUsageError;
}

int Fail(const std::string& message) {
  std::cerr << "addressbook-cli: " << message << "\n";
  return 1;
}

// The companion answers No: it never deletes a file that stands where a folder should be.
int DeclineQuestion(int) { return ab::kAnswerNo; }

int LoadFolder(const std::string& folder) {
  return ab::LoadCardFolder(folder, DeclineQuestion)
             ? 0
             : Fail("cannot use '" + folder + "' as a card folder (a file of that name is in the way, or the path is too long)");
}

// The window program's card folder, for a companion installed beside it.
std::string DefaultCardFolder(const char* argv0) {
  std::error_code ignored;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ignored);
  const std::string programFolder = self.empty() ? std::filesystem::path(argv0).parent_path().string()
                                                 : self.parent_path().string();
  std::string problem;
  const std::string folder = ab::ChooseCardFolder(programFolder, ab::UserDataFolder(), &problem);
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
  if (const int rc = LoadFolder(folder)) return rc;
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

#ifdef AB_HAVE_RENDER
// A whole decimal number of pixels and nothing else; the range is checked by the render itself.
bool ParseSide(const std::string& text, int& side) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  side = std::stoi(text);
  return true;
}
#endif

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
#ifdef AB_HAVE_RENDER
  if (command == "render" && (args.size() == 3 || args.size() == 5)) {
    int width = ab::kDefaultRenderWidth;
    int height = ab::kDefaultRenderHeight;
    if (args.size() == 5 && !(ParseSide(args[3], width) && ParseSide(args[4], height))) return Usage();
    return ab::RunRender(args[1], args[2], width, height);
  }
#endif
  return Usage();
}
