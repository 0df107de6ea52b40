// The contact editor driven as a user drives it: keys and clicks on the named
// controls of its four pages, then OK or Cancel, and what the record holds.
#include "editor/ContactEditor.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "contacts/StoredText.h"
#include "contacts/VCardWriter.h"
#include "editor/FileDialogs.h"
#include "resources/ResourceLibrary.h"
#include "support/SheetInput.h"
#include "support/TempFolder.h"
#include "support/TestBitmaps.h"
#include "support/TestWaves.h"

namespace ab {
namespace {

constexpr int kNamePage = 0, kHomePage = 1, kBusinessPage = 2, kNotesPage = 3;

// "a@x.org", "b@x.org", ... one for each letter.
std::vector<std::string> Addresses(std::string_view letters) {
  std::vector<std::string> out;
  for (char letter : letters) out.push_back(std::string(1, letter) + "@x.org");
  return out;
}

std::string Text(const ByteBuffer& bytes) { return std::string(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(bytes.size())); }
ByteBuffer Bmp(int width, int height) { return testing::BmpBuffer(testing::SolidImage(width, height, Qt::green)); }
ByteBuffer Wave(int frames) { return ByteBuffer::Copy(testing::PcmWave(1, 8000, 8, frames).data(), frames + 44); }

// A contact every page could change: values longer than the pages read back,
// telephone kinds the pages would replace, photo, logo and clip.
void FillSample(ContactRecord& r) {
  r.familyName = "Lee", r.givenName = "Ann", r.formattedName = "Lee Ann";
  r.addresses[SLOT_HOME].street = std::string(400, 's');
  r.addresses[SLOT_HOME].locality = "城市名字很長很長很長很長很長很長很長很長";  // 20 characters, 40 units
  r.addresses[SLOT_HOME].postalCode = "123456789012";
  r.addresses[SLOT_BUSINESS].postalCode = "ABCDEFGHIJKL";
  r.homePhones[PHONE_VOICE].flags = FLAG_HOME | FLAG_VOICE | FLAG_PREF, r.workPhones[PHONE_CELL].flags = FLAG_CELL;
  r.note = EncodeStoredText("first line\r\nsecond; line");
  r.SetPhoto(Bmp(30, 40)), r.SetLogo(Bmp(60, 20)), r.SetSound(Wave(100));
}

class ContactEditorTest : public ::testing::Test {
 protected:
  ContactEditorTest() { FillSample(record_); }
  ~ContactEditorTest() override { SetFileDialogHook(nullptr); }

  void Open() {
    ASSERT_NE(sheet_ = ContactEditorSheet::Create(nullptr, "", record_), nullptr);
    sheet_->show();
  }
  template <typename T = QWidget>
  T* Get(int page, int id) const { return sheet_->tabs()->widget(page)->findChild<T*>(QStringLiteral("ctl%1").arg(id)); }
  void ShowPage(int page) const { sheet_->tabs()->setCurrentIndex(page); }
  void Type(int page, int id, const QString& text) const { testing::TypeText(Get(page, id), text); }
  void Click(int page, int id) const { QTest::mouseClick(Get<QAbstractButton>(page, id), Qt::LeftButton); }
  void ClickAddress(int row, bool twice = false) const {
    QTreeWidget* list = Get<QTreeWidget>(kNamePage, 1020);
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
  // Presses a key on the control or clicks the button; the text of the warning that came up.
  void Ok() const { sheet_->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }
  // Every file dialog is answered with the file for its filter.
  static void AnswerFileDialogs(const std::string& bmp, const std::string& wave) {
    SetFileDialogHook([=](const FileDialogRequest& r) { return r.filterMask == FILTER_WAVE ? wave : bmp; });
  }

  ContactRecord record_;
  std::unique_ptr<ContactEditorSheet> sheet_;
};

TEST_F(ContactEditorTest, EnterRebuildsTheDisplayNameOrStaysOpenWithoutAName) {
  // Refused first, so no earlier row has written the home page's city.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"", "", nullptr}, {"Lee", "Ann", "Lee Ann"}, {"Lee", "", "Lee"}, {"", "Ann", "Ann"}};
  for (const auto& [family, given, shown] : cases) {
    SCOPED_TRACE(std::string(family) + "/" + given);
    record_.formattedName = "Dr. Ann Lee";
    Open();
    Type(kNamePage, 1017, family), Type(kNamePage, 1018, given), Type(kNamePage, 1019, "Mo");
    ShowPage(kHomePage);
    Type(kHomePage, 1022, "Paris");
    EXPECT_EQ(testing::WarningFrom([this] { QTest::keyClick(Get(kHomePage, 1022), Qt::Key_Return); }),
              shown ? "" : LoadResourceString(13));
    // A refused OK applies no page after the name page.
    const bool applied = record_.addresses[SLOT_HOME].locality == "Paris";
    EXPECT_EQ(std::tuple(sheet_->result(), record_.formattedName.str(), applied),
              std::tuple(shown ? 1 : 0, std::string(shown ? shown : "Dr. Ann Lee"), shown != nullptr));
    if (shown) continue;
    EXPECT_EQ(sheet_->tabs()->currentIndex(), kNamePage) << "a refused OK stays on the name page";
    QTest::keyClick(sheet_->focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(record_.additionalNames, "Mo") << "names written by a refused OK stay";
  }
}

TEST_F(ContactEditorTest, EmailListKeepsOnePreferredAddress) {
  // The record's addresses (the first preferred), what the user does, the addresses and the preferred one after OK.
  struct Case { const char* name; const char* start; std::function<void()> act; std::vector<std::string> after; int preferred; } cases[] = {
      {"add to an empty list", "", [this] { Type(kNamePage, 1003, "n@x.org"), Click(kNamePage, 1005); }, {"n@x.org"}, 0},
      {"add a seventeenth", "abcdefghijklmnop", [this] { Type(kNamePage, 1003, "q@x.org"), Click(kNamePage, 1005); }, Addresses("abcdefghijklmnop"), 0},
      {"remove the preferred third", "abcde", [this] { ClickAddress(2), Click(kNamePage, 1011), Click(kNamePage, 1010); }, Addresses("abde"), 1},
      {"remove the last one", "a", [this] { Click(kNamePage, 1010); }, {}, -1},
      {"double click", "abc", [this] { ClickAddress(2, true); }, Addresses("abc"), 2},
      {"edit in place stops at 20", "ab", [this] {
         ClickAddress(1), Click(kNamePage, 1007);
         auto* box = Get<QTreeWidget>(kNamePage, 1020)->findChild<QLineEdit*>();
         testing::TypeText(box, QString(25, QLatin1Char('z'))), QTest::keyClick(box, Qt::Key_Return);
         QCoreApplication::processEvents();  // the list takes the text once the key is done
       }, {"a@x.org", std::string(20, 'z')}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record_.emailCount = 0;
    for (const std::string& address : Addresses(c.start)) record_.emails[static_cast<std::size_t>(record_.emailCount++)].address = address;
    record_.preferredEmail = record_.emailCount > 0 ? 0 : -1;
    Open();
    EXPECT_EQ(testing::WarningFrom(c.act), record_.emailCount == kMaxEmails ? LoadResourceString(80) : "");
    EXPECT_TRUE(Get<QLineEdit>(kNamePage, 1003)->text().isEmpty());
    Ok();
    std::vector<std::pair<std::string, bool>> expected, after;  // each address, whether it carries the preferred flag
    for (std::size_t i = 0; i < c.after.size(); ++i) expected.emplace_back(c.after[i], static_cast<int>(i) == c.preferred);
    for (int i = 0; i < record_.emailCount; ++i) after.emplace_back(record_.emails[i].address.str(), (record_.emails[i].flags & FLAG_PREF) != 0);
    EXPECT_EQ(std::pair(after, record_.preferredEmail), std::pair(expected, c.preferred));
  }
}

TEST_F(ContactEditorTest, AttachmentsFollowTheLastOfBrowseAndRemove) {
  testing::TempFolder folder;
  const std::string picture = folder.Write("new.bmp", Text(Bmp(50, 20)));
  const std::string clip = folder.Write("new.wav", Text(Wave(50)));
  using Bytes = ByteBuffer ContactRecord::*;
  using Decoded = std::unique_ptr<Picture> ContactRecord::*;
  const Bytes photo = &ContactRecord::photoData, logo = &ContactRecord::logoData, sound = &ContactRecord::soundData;
  const std::tuple<const char*, int, std::vector<int>, Bytes, Decoded, std::string> cases[] = {
      // name, page, buttons clicked, the attachment, its picture, the file whose bytes it then holds ("": none)
      {"photo browse, remove", kNamePage, {1028, 1030}, photo, &ContactRecord::photoPicture, ""},
      {"photo remove, browse", kNamePage, {1030, 1028}, photo, &ContactRecord::photoPicture, picture},
      {"logo remove, browse", kBusinessPage, {1009, 1004}, logo, &ContactRecord::logoPicture, picture},
      {"sound browse, remove", kNamePage, {1021, 1022}, sound, nullptr, ""},
      {"sound remove, browse, play", kNamePage, {1022, 1021, 1037}, sound, nullptr, clip},
  };
  for (const auto& [name, page, clicks, bytes, decoded, stored] : cases) {
    SCOPED_TRACE(name);
    FillSample(record_);
    AnswerFileDialogs(picture, clip);
    Open();
    ShowPage(page);
    for (int id : clicks) Click(page, id);
    Ok();
    EXPECT_TRUE(Text(record_.*bytes) == (stored.empty() ? "" : testing::TempFolder::Read(stored))) << "the bytes of the chosen file";
    const Picture* shown = decoded ? (record_.*decoded).get() : nullptr;
    EXPECT_EQ(shown ? shown->Width() : -1, !decoded || stored.empty() ? -1 : 50);
  }
}

// Enter with only the first page opened and Escape after editing every page change nothing; OK after
// opening every page cuts each field to its length, with no half character, and sets the fixed kinds.
TEST_F(ContactEditorTest, OkAppliesTheOpenedPagesOnlyCutToTheirLengthsAndCancelNothing) {
  testing::TempFolder folder;
  AnswerFileDialogs(folder.Write("new.bmp", Text(Bmp(5, 5))), folder.Write("new.wav", Text(Wave(10))));
  const std::string before = RenderCardFile(record_);
  ASSERT_FALSE(before.empty());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    Open();
    for (const auto& [page, id] : {std::pair{kNamePage, 1017}, {kNamePage, 1003}, {kHomePage, 1021}, {kNotesPage, 1000}})
      if (key == Qt::Key_Escape) ShowPage(page), Type(page, id, "x");
    for (const auto& [page, id] : {std::pair{kNamePage, 1005}, {kNamePage, 1028}, {kNamePage, 1021}, {kBusinessPage, 1004}})
      if (key == Qt::Key_Escape) ShowPage(page), Click(page, id);
    QTest::keyClick(Get(kNamePage, 1019), key);
    EXPECT_EQ(RenderCardFile(record_), before) << key;
  }

  Open();
  for (int page : {kHomePage, kBusinessPage, kNotesPage}) ShowPage(page);
  Type(kHomePage, 1013, "1234567890123456789012345");
  EXPECT_EQ(Get<QLineEdit>(kHomePage, 1013)->text(), "1234567890123456789") << "typing stops at 19";
  Ok();
  const AddressEntry& home = record_.addresses[SLOT_HOME];
  EXPECT_EQ(std::tuple(home.street.str(), home.locality.str(), home.postalCode.str(), record_.addresses[SLOT_BUSINESS].postalCode.str()),
            std::tuple(std::string(255, 's'), std::string("城市名字很長很長很長很長很長很"), std::string("123456789"), std::string("ABCDEFGHI")));
  EXPECT_TRUE((home.flags & FLAG_HOME) && (record_.addresses[SLOT_BUSINESS].flags & FLAG_WORK));
  const TypeFlags kinds[] = {6, 10, 18, 34, 130, 258, 5, 9, 17, 33};  // home slots, then business slots
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ((i < 6 ? record_.homePhones[i] : record_.workPhones[i - 6]).flags, kinds[i]) << i;
  EXPECT_EQ(std::pair(record_.urls[SLOT_BUSINESS].flags, record_.urls[SLOT_HOME].flags), std::pair(TypeFlags{FLAG_WORK}, TypeFlags{FLAG_HOME}));
  EXPECT_EQ(record_.note, EncodeStoredText("first line\r\nsecond; line"));
}

TEST(ContactEditorRun, CaptionIsNameBlankAndSuffixInAtMost127Units) {
  const std::string suffix = " " + LoadResourceString(43);
  const std::string chinese = "王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明王小明";
  const std::pair<std::string, std::string> cases[] = {
      {"", suffix.substr(1)}, {"Lee Ann", "Lee Ann" + suffix},
      {chinese, chinese.substr(0, (127 - suffix.size() - 3) / 2 * 3) + "..." + suffix}};
  for (const auto& [name, caption] : cases) EXPECT_EQ(EditorCaption(name).toStdString(), caption) << name;
}

}  // namespace
}  // namespace ab
