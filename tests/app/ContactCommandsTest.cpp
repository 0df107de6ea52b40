// The contact commands through the main window, on real card folders, with
// the file dialogs and message boxes answered as a user would.
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "AppHarness.h"
#include "app/CommandIds.h"
#include "contacts/CardCompare.h"
#include "contacts/VCardReader.h"
#include "support/DialogAnswers.h"
#include "shell/ShellSandbox.h"

namespace ab::testing {
namespace {

std::string Cards(int count) {  // with text around them, as exports have
  std::string text = "exported by a phone\r\n";
  for (int i = 0; i < count; ++i) text += CardText({"Ann " + std::to_string(i), "", "", ""}) + "\r\n";
  return text;
}

std::string Csv(int rows) {
  std::string csv = "\"First Name\",\"Last Name\"\r\n";
  for (int i = 0; i < rows; ++i) csv += "\"Ann\",\"Row" + std::to_string(i) + "\"\r\n";
  return csv;
}

class ContactCommandsTest : public AppTest {
 protected:
  // A window over "Person 000"... (only the first without e-mail), `row` selected and its card loaded.
  void Open(int count, int row) {
    std::vector<CardSpec> people;
    for (int i = 0; i < count; ++i) {
      people.push_back({"Person " + std::to_string(1000 + i).substr(1), i ? "p@x" : "", "", ""});
    }
    LoadCards(people);
    OpenWindow(row);
    LoadCurrentRowCard();
  }

  // The next file dialog gets `path` (empty: cancelled); the next message box Yes or No (or OK), its text kept.
  void Answer(const std::string& path, bool yes = true) {
    AnswerModal<QFileDialog>([path](QFileDialog* dialog) {
      if (path.empty()) return dialog->reject();
      dialog->selectFile(QString::fromStdString(path));
      static_cast<QDialog*>(dialog)->accept();
    }, window_.get());
    AnswerModal<QMessageBox>([this, yes](QMessageBox* box) {
      message_ = box->text().toStdString();
      QAbstractButton* button = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
      (button ? button : box->button(QMessageBox::Ok))->click();
    }, window_.get());
  }

  std::string message_;
};

constexpr int kDrop = 0, kDelete = kDeleteContactCommand, kVcf = kImportVCardCommand, kCsv = kImportCsvCommand;
constexpr int kNew = -2;  // currentRow: the card added last
enum Lock { kNone, kCard, kFolder };

struct Case {
  const char* name;
  int loaded, row, command;   // contacts, the row selected at the start, the command (kDrop: the file is dropped)
  std::string file, content;  // the file chosen (none: the dialog is cancelled) and what it holds
  bool yes;
  Lock lock;
  int count, current;   // afterwards
  std::string message;  // part of the one message shown
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case kCases[] = {
    {"DeleteAnsweredNo", 3, 1, kDelete, "", "", false, kNone, 3, 1, "really want to delete"},
    {"Delete", 3, 1, kDelete, "", "", true, kNone, 2, 1, "really want to delete"},
    {"DeleteTheLastRow", 3, 2, kDelete, "", "", true, kNone, 2, 1, "really want to delete"},
    {"DeleteTheOnlyContact", 1, 0, kDelete, "", "", true, kNone, 0, -1, "really want to delete"},
    {"DeleteAReadOnlyCard", 3, 1, kDelete, "", "", true, kCard, 3, 1, "really want to delete"},
    {"DeleteInAReadOnlyFolder", 3, 1, kDelete, "", "", true, kFolder, 3, 1, "really want to delete"},
    {"ImportOneCard", 3, 0, kVcf, "in.vcf", Cards(1), true, kNone, 4, kNew, ""},
    {"ImportCancelled", 3, 0, kVcf, "", "", true, kNone, 3, 0, ""},
    {"ImportNoCard", 3, 0, kVcf, "junk.vcf", "hello", true, kNone, 3, 0, "could not be imported"},
    {"ImportOwnCardNo", 3, 0, kVcf, "VCardData/card1.vcf", "", false, kNone, 3, 0, "already in the address book"},
    {"ImportOwnCardYes", 3, 0, kVcf, "VCardData/card1.vcf", "", true, kNone, 4, kNew, "already in the address book"},
    {"ImportIntoAFullTable", 256, 0, kVcf, "in.vcf", Cards(1), true, kNone, 256, 0, "could not be imported"},
    {"ImportOverTheLimit", 254, 0, kVcf, "3.VCF", Cards(3), true, kNone, 256, kNew,
     "file: 2. Left out because the address book is full (256 contacts): 1"},
    {"ImportCsvOverTheLimit", 250, 0, kCsv, "in.csv", Csv(10), true, kNone, 256, kNew,
     "file: 6. Left out because the address book is full (256 contacts): 4"},
    {"DropCsv", 3, 0, kDrop, "in.csv", Csv(2), true, kNone, 5, kNew, "imported from the file: 2."},
    {"DropUnreadableCsv", 3, 0, kDrop, "gone.csv", "", true, kNone, 3, 0, "can not open CSV file"},
    {"MailWithoutContact", 0, -1, kSiblingMailCommand, "", "", true, kNone, 0, -1, "No contact is selected"},
    {"MailWithoutAddress", 3, 0, kComposeMailToCommand, "", "", true, kNone, 3, 0, "no e-mail address"},
};

class EveryCommand : public ContactCommandsTest, public ::testing::WithParamInterface<Case> {};

TEST_P(EveryCommand, LeavesTableListAndCardFolderInStep) {
  const Case& c = GetParam();
  ShellSandbox sandbox;  // a home of its own, without .local/share: the trash is made there
  const std::string trash = sandbox.Path("home/.local/share/Trash");
  Open(c.loaded, c.row);
  const std::string card = IsValidRow(c.row) ? Path(c.row) : "", folder = cardFolder.str();
  using std::filesystem::perms, std::filesystem::perm_options;
  if (c.lock != kNone) {
    std::filesystem::permissions(c.lock == kCard ? card : folder, perms::owner_write, perm_options::remove);
  }
  const std::string file = c.file.empty() ? "" : folder_.File(c.file);
  if (!c.content.empty()) folder_.Write(c.file, c.content);
  const std::string before = TempFolder::Read(file);
  Answer(file, c.yes);
  if (c.command == kDelete) {
    Key(Qt::Key_Delete);
  } else if (c.command != kDrop) {
    Command(c.command);
  } else {  // as a file manager drops: onto the window, over the list
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file)), QUrl("http://example.com/a.vcf")});
    QDragEnterEvent enter(QPoint(40, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->windowHandle(), &enter);
    QDropEvent drop(QPointF(40, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->windowHandle(), &drop);
    QTest::qWait(50);
  }
  std::filesystem::permissions(folder, perms::owner_write, perm_options::add);
  EXPECT_EQ(contactCount, c.count);
  EXPECT_TRUE(message_.find(c.message) != message_.npos && message_.empty() == c.message.empty()) << message_;
  EXPECT_EQ(TempFolder::Read(file), before);
  const std::string trashed = trash + "/files/" + std::filesystem::path(card).filename().string();
  EXPECT_EQ(!card.empty() && std::filesystem::exists(trashed), c.count < c.loaded);
  // New cards are named VC... (and sort before every "Person").
  EXPECT_EQ(IsValidRow(currentRow) && Path(currentRow).rfind(folder + "VC", 0) == 0, c.current == kNew);
  EXPECT_TRUE(c.current == kNew || currentRow == c.current) << currentRow;
  // No row is selected once the last row went.
  EXPECT_EQ(listWindow->FirstSelectedRow(), c.row == contactCount && c.count < c.loaded ? -1 : currentRow);
  // A card file for every row, the table sorted, list row i showing table row i, currentRow's card loaded.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), contactCount);
  ASSERT_EQ(listWindow->model()->rowCount(), contactCount);
  for (int row = 0; row < contactCount; ++row) {
    EXPECT_EQ(ContactListModel::CellText(row, 0).toStdString(), contactTable[row].displayName.str());
    EXPECT_TRUE(row == 0 || CompareFolded(SortKey(contactTable[row - 1], 0), SortKey(contactTable[row], 0)) <= 0);
  }
  EXPECT_EQ(currentRecord->filePath.str(), IsValidRow(currentRow) ? Path(currentRow) : "");
}

INSTANTIATE_TEST_SUITE_P(ContactCommands, EveryCommand, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST_F(ContactCommandsTest, ExportedCardsImportBackIntoTheSameFields) {
  Open(3, 0);
  const std::string one = folder_.File("one.vcf"), all = folder_.File("all.vcf");
  for (const auto& [command, file] : {std::pair{kExportVCardCommand, one}, {kExportAllVCardCommand, all},
                                      {kImportVCardCommand, one}, {kImportVCardCommand, all}}) {
    Answer(file);
    Command(command);
  }
  EXPECT_EQ(TempFolder::Read(all).find('\0'), std::string::npos);
  const std::string csv = folder_.File("all.csv");
  Answer(csv);
  Command(kExportCsvCommand);
  const std::string rows = TempFolder::Read(csv);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1 + contactCount);
  ASSERT_EQ(contactCount, 3 + 1 + 3);
  ContactRecord card, canonical, twin;
  int twins = 0;  // copies sort beside their card
  for (int row = 0; row + 1 < contactCount; ++row) {
    ASSERT_TRUE(ReadCard(card, Path(row)) && ReadCard(twin, Path(row + 1)));
    CanonicaliseForCard(card, canonical);
    twins += card.formattedName == twin.formattedName && FirstCarriedDifference(canonical, twin).empty();
  }
  EXPECT_EQ(twins, 4);
}

}  // namespace
}  // namespace ab::testing
