// The contact commands through the main window, on real card folders, with
// the file dialogs, message boxes and the contact editor answered as a user
// would; and the list following other programs' changes to the card folder.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <map>

#include "AppHarness.h"
#include "app/CardFolderWatch.h"
#include "app/CommandIds.h"
#include "contacts/CardCompare.h"
#include "contacts/VCardReader.h"
#include "support/DialogAnswers.h"
#include "support/SheetInput.h"
#include "shell/ShellSandbox.h"

namespace ab::testing {
namespace {

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

struct Case {
  const char* name;
  int loaded, row, command;   // contacts, the row selected at the start, the command (kDrop: the file is dropped)
  std::string file, content;  // the file chosen (none: the dialog is cancelled) and what it holds
  bool yes;
  int count, current;   // afterwards
  std::string message;  // part of the one message shown
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case kCases[] = {
    {"DeleteAnsweredNo", 3, 1, kDelete, "", "", false, 3, 1, "really want to delete"},
    {"Delete", 3, 1, kDelete, "", "", true, 2, 1, "really want to delete"},
    {"DeleteTheOnlyContact", 1, 0, kDelete, "", "", true, 0, -1, "really want to delete"},
    {"ImportNoCard", 3, 0, kVcf, "junk.vcf", "hello", true, 3, 0, "could not be imported"},
    {"ImportOwnCardYes", 3, 0, kVcf, "VCardData/card1.vcf", "", true, 4, kNew, "already in the address book"},
    {"ImportOverTheLimit", 254, 0, kVcf, "3.VCF",  // with text around the cards, as exports have
     "exported by a phone\r\n" + CardText({"Ann 0"}) + CardText({"Ann 1"}) + "\r\n" + CardText({"Ann 2"}), true, 256, kNew,
     "file: 2. Left out because the address book is full (256 contacts): 1"},
    {"ImportCsvOverTheLimit", 250, 0, kCsv, "in.csv", Csv(10), true, 256, kNew,
     "file: 6. Left out because the address book is full (256 contacts): 4"},
    {"DropUnreadableCsv", 3, 0, kDrop, "gone.csv", "", true, 3, 0, "can not open CSV file"},
    {"MailWithoutAddress", 3, 0, kComposeMailToCommand, "", "", true, 3, 0, "no e-mail address"},
};

class EveryCommand : public ContactCommandsTest, public ::testing::WithParamInterface<Case> {};

TEST_P(EveryCommand, LeavesTableListAndCardFolderInStep) {
  const Case& c = GetParam();
  ShellSandbox sandbox;  // a home of its own, without .local/share: the trash is made there
  const std::string trash = sandbox.Path("home/.local/share/Trash");
  Open(c.loaded, c.row);
  const std::string card = IsValidRow(c.row) ? Path(c.row) : "", folder = cardFolder.str();
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

class EditCommandsTest : public SampleContactsTest {
 protected:
  void SetUp() override {
    SampleContactsTest::SetUp();
    OpenWindow(5);
  }
  // Presses `listKey` in the list (Insert: New, Enter: Edit), types the names into the editor and ends it with `key`.
  void Edit(Qt::Key listKey, Qt::Key key, const std::function<void()>& beforeKey = [] {}) {
    AnswerModal<QDialog>([key, beforeKey](QDialog* sheet) {
      TypeText(sheet->findChild<QLineEdit*>(QStringLiteral("ctl1017")), "Zed");
      TypeText(sheet->findChild<QLineEdit*>(QStringLiteral("ctl1018")), "Ann");
      beforeKey();
      QTest::keyClick(sheet->focusWidget(), key);
    }, window_.get());
    Key(listKey);
  }
  std::map<std::string, std::string> Cards() const {
    std::map<std::string, std::string> cards;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("VCardData")))
      cards[entry.path()] = TempFolder::Read(entry.path());
    return cards;
  }
};

TEST_F(EditCommandsTest, OkWritesTheCardAndSelectsItsSortedRowEscapeWritesNothing) {
  for (Qt::Key listKey : {Qt::Key_Insert, Qt::Key_Return}) {
    SCOPED_TRACE(listKey);
    const std::map<std::string, std::string> before = Cards();
    const int count = contactCount;
    Edit(listKey, Qt::Key_Escape);
    EXPECT_EQ(Cards(), before);
    EXPECT_EQ(currentRow, 5);

    Edit(listKey, Qt::Key_Return);
    std::string written;
    for (const auto& [f, card] : Cards()) written += before.count(f) && before.at(f) == card ? "" : f;
    EXPECT_EQ(contactCount, listKey == Qt::Key_Insert ? count + 1 : count);
    EXPECT_NE(TempFolder::Read(written).find("N:Zed;Ann;"), std::string::npos);
    ASSERT_EQ(currentRow, FindRow(written, FIND_BY_PATH));
    EXPECT_EQ(contactTable[currentRow].displayName.str() + currentRecord->formattedName.str(), "Zed AnnZed Ann");
    EXPECT_EQ(listWindow->FirstSelectedRow(), currentRow);
    listWindow->SelectRow(currentRow = 5);
  }
}

// New with a full table, or an edit whose card cannot be written, warns and changes no row.
TEST_F(EditCommandsTest, AFullTableOrAFailedWriteWarnsAndChangesNoRow) {
  const std::string shown(contactTable[5].displayName.view());
  const int count = contactCount;
  contactCount = kMaxContacts;  // the rows past the sample cards are never read here
  EXPECT_EQ(WarningFrom([] { Command(kNewContactCommand); }), LoadResourceString(29));
  contactCount = count;
  const auto removeFolder = [this] { std::filesystem::remove_all(folder_.File("VCardData")); };
  EXPECT_EQ(WarningFrom([&] { Edit(Qt::Key_Return, Qt::Key_Return, removeFolder); }), LoadResourceString(90));
  EXPECT_TRUE(contactCount == count && currentRow == 5 && contactTable[5].displayName == shown);
}

class CardFolderWatchTest : public AppTest {
 protected:
  std::string Card(const std::string& name) const { return cardFolder.str() + name; }
  void Write(const std::string& name, const std::string& fn) const {
    folder_.Write("VCardData/" + name, "BEGIN:VCARD\r\nFN:" + fn + "\r\nEND:VCARD\r\n");
  }
  static bool Waited(int count) {
    return QTest::qWaitFor([count] { return contactCount == count && listWindow->model()->rowCount() == count; }, 3000);
  }
  static std::string Current() { return IsValidRow(currentRow) ? Path(currentRow) : ""; }
};

TEST_F(CardFolderWatchTest, TheListFollowsOtherProgramsAndKeepsTheCurrentContact) {
  LoadCards({{"Ann", "", "", ""}, {"Bob", "", "", ""}, {"Cy", "", "", ""}});
  OpenWindow(1);
  new CardFolderWatch(window_.get(), cardFolder.str());
  const std::string kept = Current();

  Write("VC9001.vcf", "Aaron Added");  // sorts first: the current contact's row moves
  ASSERT_TRUE(Waited(4));
  EXPECT_TRUE(Current() == kept && listWindow->FirstSelectedRow() == currentRow);
  EXPECT_EQ(FindRow(Card("VC9001.vcf"), FIND_BY_PATH), 0);

  Write("VC9001.vcf", "Zed Changed");  // rewritten in place, as an editor saves
  ASSERT_TRUE(QTest::qWaitFor([] { return contactTable[static_cast<std::size_t>(contactCount - 1)].displayName == "Zed Changed"; }, 3000));
  EXPECT_TRUE(Current() == kept && currentRecord->filePath.str() == kept);

  // Under a dialog the table stays as it is; the reload comes once it is closed.
  QMessageBox box(QMessageBox::Information, "x", "y", QMessageBox::Ok, window_.get());
  QTimer::singleShot(0, [this] { std::filesystem::remove(Card("VC9001.vcf")); });
  QTimer::singleShot(1200, &box, [&box] {
    EXPECT_EQ(contactCount, 4);
    box.accept();
  });
  box.exec();
  ASSERT_TRUE(Waited(3));

  std::filesystem::remove(kept);  // the current contact's own card goes: the row in its place is current
  ASSERT_TRUE(Waited(2));
  EXPECT_TRUE(IsValidRow(currentRow) && currentRecord->filePath.str() == Current());
  EXPECT_FALSE(ReloadCardTable(window_.get()));  // nothing more to follow
}

}  // namespace
}  // namespace ab::testing
