#include <gtest/gtest.h>

#include <functional>

#include "contacts/VCardReader.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

// A card of the given property lines, with CR LF ends.
std::string Card(std::initializer_list<std::string_view> lines) {
  std::string text = "BEGIN:VCARD\r\n";
  for (auto line : lines) {
    text += line;
    text += "\r\n";
  }
  return text + "END:VCARD\r\n";
}

ContactRecord& Read(ContactRecord& record, const std::string& text) {
  EXPECT_EQ(ReadCardFromText(record, text), 1) << text;
  return record;
}

struct ReadCase {
  const char* name;
  std::string card;
  std::function<void(const ContactRecord&)> check;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }


class ReadCardTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadCardTest, MapsProperties) {
  ContactRecord record;
  GetParam().check(Read(record, GetParam().card));
}

const ReadCase kReadCases[] = {
    {"namesAndOrganisation",
     Card({"N:Smith;John;Q", "FN:John Q. Smith", "ORG:Acme;Sales", "TITLE:Boss", "NOTE:Likes tea"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.familyName, "Smith");
       EXPECT_EQ(r.givenName, "John");
       EXPECT_EQ(r.additionalNames, "Q");
       EXPECT_EQ(r.formattedName, "John Q. Smith");
       EXPECT_EQ(r.orgName, "Acme");
       EXPECT_EQ(r.orgUnit, "Sales");
       EXPECT_EQ(r.title, "Boss");
       EXPECT_EQ(r.note, "Likes tea");
     }},
    {"displayNameFromFamilyAndGiven", Card({"N:Smith;John"}),
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "Smith John"); }},
    {"displayNameFromGivenOnly", Card({"N:;John"}), [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "John"); }},
    {"displayNameFromFamilyOnly", Card({"N:Smith"}), [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "Smith"); }},
    {"noname", Card({"TITLE:Nobody"}), [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "noname"); }},
    {"emptyFnStillComposes", Card({"FN:", "N:Doe;Jane"}),
     [](const ContactRecord& r) {
       // An empty value must not take the next line as its value.
       EXPECT_EQ(r.familyName, "Doe");
       EXPECT_EQ(r.formattedName, "Doe Jane");
     }},
    {"homeVoiceAndFax", Card({"TEL;HOME;VOICE;FAX:123"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.homePhones[PHONE_VOICE].number, "123");
       EXPECT_EQ(r.homePhones[PHONE_FAX].number, "123");
       EXPECT_EQ(r.homePhones[PHONE_VOICE].flags, FLAG_HOME | FLAG_VOICE | FLAG_FAX);
       EXPECT_EQ(r.homePhones[PHONE_FAX].flags, FLAG_HOME | FLAG_VOICE | FLAG_FAX);
       EXPECT_TRUE(r.workPhones[PHONE_VOICE].number.empty());
     }},
    {"telephoneSlots",
     Card({"TEL;WORK;CELL:1", "TEL;MSG:2", "TEL;HOME;MSG:3", "TEL;VIDEO:4", "TEL;HOME;ICQ:5", "TEL;HOME;VIDEO:6",
           "TEL;PAGER:7", "TEL;HOME;PAGER;CELL:8"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.workPhones[PHONE_CELL].number, "1");
       EXPECT_EQ(r.workPhones[PHONE_CELL].flags, FLAG_WORK | FLAG_CELL);
       // MSG selects nothing and VIDEO without HOME neither: both go to business voice, which
       // the first keeps; the second is kept as it stands.
       EXPECT_EQ(r.workPhones[PHONE_VOICE].number, "2");
       EXPECT_EQ(r.workPhones[PHONE_VOICE].flags, FLAG_MSG);
       EXPECT_EQ(r.extraProperties, std::vector<std::string>{"TEL;VIDEO:4"});
       EXPECT_EQ(r.homePhones[PHONE_VOICE].number, "3");
       EXPECT_EQ(r.homePhones[PHONE_ICQ].number, "5");
       EXPECT_EQ(r.homePhones[PHONE_VIDEO].number, "6");
       EXPECT_EQ(r.workPhones[PHONE_PAGER].number, "7");
       EXPECT_EQ(r.homePhones[PHONE_PAGER].number, "8");
       EXPECT_EQ(r.homePhones[PHONE_CELL].number, "8");
     }},
    {"preferredEmailIsFirstMarked", Card({"EMAIL:a@x", "EMAIL;PREF:b@x", "EMAIL;PREF:c@x"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.emailCount, 3);
       EXPECT_EQ(r.preferredEmail, 1);
       EXPECT_EQ(r.PreferredEmail(), "b@x");
     }},
    {"noPreferredEmail", Card({"EMAIL:a@x"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.emailCount, 1);
       EXPECT_EQ(r.preferredEmail, -1);
     }},
    {"emailTypes", Card({"EMAIL;AOL:a@x", "EMAIL:b@x", "EMAIL;AppleLink:c@x", "EMAIL;IBMMail;X400:d@x", "EMAIL;Inet:e@x"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.emails[0].type, 0);
       EXPECT_EQ(r.emails[1].type, 6);
       // The library hands known parameter words over in its own spelling.
       EXPECT_EQ(r.emails[2].type, 1);
       EXPECT_EQ(r.emails[3].type, 12);  // the last type word wins
       EXPECT_EQ(r.emails[4].type, 6);   // an unknown word keeps INTERNET
     }},
    {"blankEmailKeepsItsSlot", Card({"EMAIL;INTERNET:", "EMAIL;PREF:b@x"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.emailCount, 2);
       EXPECT_TRUE(r.emails[0].address.empty());
       EXPECT_EQ(r.emails[1].address, "b@x");
       EXPECT_EQ(r.preferredEmail, 1);
     }},
    {"labels", Card({"LABEL;DOM;HOME:Home label", "LABEL;WORK:Work label"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.domesticLabel, "Home label");
       EXPECT_EQ(r.otherLabel, "Work label");
       EXPECT_EQ(r.labelFlags, FLAG_HOME | FLAG_WORK);
     }},
    {"homeAddress", Card({"ADR;HOME:PO 1;Suite 2;1 Main St;Springfield;IL;62701;USA"}),
     [](const ContactRecord& r) {
       const AddressEntry& a = r.addresses[SLOT_HOME];
       EXPECT_EQ(a.poBox, "PO 1");
       EXPECT_EQ(a.extendedAddress, "Suite 2");
       EXPECT_EQ(a.street, "1 Main St");
       EXPECT_EQ(a.locality, "Springfield");
       EXPECT_EQ(a.region, "IL");
       EXPECT_EQ(a.postalCode, "62701");
       EXPECT_EQ(a.country, "USA");
       EXPECT_EQ(a.flags, FLAG_HOME | FLAG_POSTAL | FLAG_PARCEL);
       EXPECT_FALSE(r.addresses[SLOT_BUSINESS].HasAnyComponent());
     }},
    {"twoAddressesForOneSlotMerge", Card({"ADR;WORK:;;1 Main St;Springfield", "ADR;WORK;PREF:;;;;;;USA"}),
     [](const ContactRecord& r) {
       const AddressEntry& a = r.addresses[SLOT_BUSINESS];
       EXPECT_EQ(a.street, "1 Main St");
       EXPECT_EQ(a.country, "USA");
       EXPECT_EQ(a.flags, FLAG_WORK | FLAG_PREF | FLAG_POSTAL | FLAG_PARCEL);
     }},
    {"urls", Card({"URL;HOME:http://home.example", "URL;WORK:http://work.example"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.urls[SLOT_HOME].url, "http://home.example");
       EXPECT_EQ(r.urls[SLOT_HOME].flags, FLAG_HOME);
       EXPECT_EQ(r.urls[SLOT_BUSINESS].url, "http://work.example");
     }},
    {"soundNeedsWave", Card({"SOUND;BASE64:UklGRg==", ""}),
     [](const ContactRecord& r) {
       EXPECT_TRUE(r.soundData.IsNull());
       EXPECT_EQ(r.soundSize, 0);
     }},
    {"soundWithWave", Card({"SOUND;WAVE;BASE64:", "    UklGRgABAgM=", ""}),
     [](const ContactRecord& r) {
       ASSERT_FALSE(r.soundData.IsNull());
       EXPECT_EQ(r.soundSize, 8);
       EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.soundData.data()), 8), std::string("RIFF\0\1\2\3", 8));
       EXPECT_EQ(r.soundData.data()[8], 0);  // one zero byte after the data
     }},
    {"photoWithoutDataHasNoSize", Card({"PHOTO;BMP;VALUE=URL:http://example.org/x.bmp"}),
     [](const ContactRecord& r) {
       EXPECT_TRUE(r.photoData.IsNull());
       EXPECT_EQ(r.photoSize, -1);
       EXPECT_FALSE(r.photoPicture);
     }},
    {"logoKeepsBytesAndPictureObject", Card({"LOGO;BMP;BASE64:", "    Qk0AAA==", ""}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.logoSize, 4);
       ASSERT_TRUE(r.logoPicture);
       EXPECT_TRUE(r.logoPicture->IsEmpty());  // four bytes are no picture
     }},
    {"onlyFirstCard", Card({"FN:First"}) + Card({"FN:Second"}),
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "First"); }},
    {"storedFormKeptAsItComes", Card({"NOTE:a\x01\x01" "b\x02\x02" "c"}),
     [](const ContactRecord& r) { EXPECT_EQ(r.note, "a\x01\x01" "b\x02\x02" "c"); }},
    {"longValueCutAtCapacity", Card({"FN:" + std::string(300, 'x'), "TEL:" + std::string(60, '1')}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName.size(), 256u);
       EXPECT_EQ(r.workPhones[0].number.size(), 39u);
     }},
    {"longChineseValueNotSplit", Card({"TITLE:" + std::string(100, 'a') + [] {
                                         std::string s;
                                         for (int i = 0; i < 20; ++i) s += "\xE4\xB8\xAD";
                                         return s;
                                       }()}),
     [](const ContactRecord& r) {
       // 127 units of room: 100 letters and 13 whole characters of two units each.
       EXPECT_EQ(r.title.size(), 100u + 13 * 3);
       EXPECT_EQ(r.title.view().substr(136), "\xE4\xB8\xAD");
     }},
};

INSTANTIATE_TEST_SUITE_P(Cards, ReadCardTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReadCardTest, SeventeenthEmailIgnored) {
  std::vector<std::string> lines;
  for (int i = 0; i < 17; ++i) lines.push_back("EMAIL:user" + std::to_string(i) + "@x");
  std::string text = "BEGIN:VCARD\r\n";
  for (const auto& line : lines) text += line + "\r\n";
  text += "END:VCARD\r\n";
  ContactRecord record;
  Read(record, text);
  EXPECT_EQ(record.emailCount, 16);
  EXPECT_EQ(record.emails[15].address, "user15@x");
  EXPECT_EQ(record.extraProperties, std::vector<std::string>{"EMAIL:user16@x"});  // kept for the save
}

TEST(ReadCardTest, SecondReadLeavesNothingOfTheFirst) {
  ContactRecord record;
  Read(record, Card({"FN:First", "EMAIL;PREF:a@x", "TEL;HOME:1", "PHOTO;BMP;BASE64:", "    Qk0AAA==", "",
                     "ADR;HOME:;;Street"}));
  ASSERT_EQ(record.photoSize, 4);
  Read(record, Card({"N:Second"}));
  EXPECT_EQ(record.formattedName, "Second");
  EXPECT_EQ(record.emailCount, 0);
  EXPECT_EQ(record.preferredEmail, -1);
  EXPECT_TRUE(record.homePhones[0].number.empty());
  EXPECT_TRUE(record.photoData.IsNull());
  EXPECT_FALSE(record.photoPicture);
  EXPECT_FALSE(record.addresses[SLOT_HOME].HasAnyComponent());
}

TEST(ReadCardTest, FileOutcomes) {
  testing::TempFolder folder;
  ContactRecord record;
  record.formattedName = "stale";

  EXPECT_EQ(ReadCard(record, ""), 0);
  EXPECT_TRUE(record.formattedName.empty());
  EXPECT_TRUE(record.filePath.empty());

  const std::string missing = folder.File("VC1.vcf");
  EXPECT_EQ(ReadCard(record, missing), 0);
  EXPECT_EQ(record.filePath, missing);  // how a new card starts

  const std::string junk = folder.Write("junk.vcf", "this is not a card\n");
  EXPECT_EQ(ReadCard(record, junk), 0);
  EXPECT_EQ(record.filePath, junk);
  EXPECT_TRUE(record.formattedName.empty());

  EXPECT_EQ(ReadCard(record, folder.path()), 0);  // a folder is not a card

  const std::string good = folder.Write("good.vcf", Card({"FN:Good"}));
  EXPECT_EQ(ReadCard(record, good), 1);
  EXPECT_EQ(record.formattedName, "Good");
  EXPECT_EQ(record.Load(junk), 1);  // Load reports 1 whatever it found
  EXPECT_TRUE(record.formattedName.empty());
}

}  // namespace
}  // namespace ab
