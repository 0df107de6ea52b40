#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "contacts/CardCompare.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/CardBuilders.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::CardText;

struct RoundTrip {
  const char* name;
  void (*set)(ContactRecord&);
  void (*check)(const ContactRecord& back, const std::string& written) = nullptr;  // where reading adds something
};

const RoundTrip kRoundTrips[] = {
    {"full record", testing::FillSample,
     [](const ContactRecord& r, const std::string&) {
       EXPECT_EQ(r.logoSize, 300);
       EXPECT_EQ(r.soundSize, 16);
       EXPECT_TRUE(r.photoPicture);
     }},
    {"given name only", [](ContactRecord& r) { r.givenName = "John"; },
     [](const ContactRecord& r, const std::string& written) {
       EXPECT_EQ(written, "BEGIN:VCARD\r\nN:;John;\r\nEND:VCARD\r\n\r\n");
       EXPECT_EQ(r.formattedName, "John");
     }},
    // Text from outside (an import) may hold them raw; the card must still read back whole.
    {"raw line breaks and semicolons",
     [](ContactRecord& r) {
       r.familyName = "Smith;Jones", r.givenName = "  Al", r.note = "one\r\ntwo\nthree";
       r.addresses[SLOT_BUSINESS].street = "Flat 2;\r\n1 High St";
     },
     [](const ContactRecord& r, const std::string&) {
       EXPECT_EQ(testing::Shown(r), "fn=Smith\\;Jones   Al\nn=Smith\\;Jones/  Al/\nnote=one\\ntwo\\nthree\n"
                                    "work.adr=//Flat 2\\;\\n1 High St//// POSTAL PARCEL\n");
     }},
    {"Windows-1252 text", [](ContactRecord& r) { r.formattedName = "M\xFCller"; },
     [](const ContactRecord& r, const std::string&) { EXPECT_EQ(r.formattedName, "M\xC3\xBCller"); }},
    // As read from TEL;WORK;VOICE;CELL:1 followed by TEL;CELL:2.
    {"numbers in several slots",
     [](ContactRecord& r) {
       r.workPhones[PHONE_VOICE].number = "1", r.workPhones[PHONE_CELL].number = "2";
       r.workPhones[PHONE_VOICE].flags = r.workPhones[PHONE_CELL].flags = FLAG_WORK | FLAG_VOICE | FLAG_CELL;
       r.workPhones[PHONE_PAGER].number = "3", r.workPhones[PHONE_PAGER].flags = FLAG_HOME;  // HOME would send it home
     },
     [](const ContactRecord& r, const std::string&) {
       EXPECT_EQ(testing::Shown(r), "fn=noname\nwork.voice=1 WORK VOICE\nwork.pager=3 PAGER\nwork.cell=2 WORK CELL\n");
     }},
};

TEST(CardWriteTest, WhatIsReadBackIsWhatWasWritten) {
  for (const RoundTrip& c : kRoundTrips) {
    SCOPED_TRACE(c.name);
    ContactRecord written, canonical, back;
    c.set(written);
    CanonicaliseForCard(written, canonical);
    const std::string text = CardText(written);
    ASSERT_EQ(ReadCardFromText(back, text), 1);
    EXPECT_EQ(FirstCarriedDifference(canonical, back), "");
    if (c.check) c.check(back, text);
  }
}

// Each field filled to its last unit with letters, Chinese characters (two units), stored line breaks
// and, where the value may hold them, semicolons (one unit a marker pair) reads back whole.
TEST(CardWriteTest, ValuesAtTheirCapacitySurviveWriteAndRead) {
  const auto fill = [](auto& field, bool semicolons) {
    std::string value;
    for (std::size_t i = 0, units = 0; units + 1 < field.capacity; ++i) {
      const bool wide = units + 2 < field.capacity && i % 7 == 3;
      value += wide ? "\xE4\xB8\xAD" : i % 5 != 1 ? "a" : semicolons && i % 2 ? "\x02\x02" : "\x01\x01";
      units += wide ? 2 : 1;
    }
    field = value;
    EXPECT_EQ(field.view(), value);
  };
  ContactRecord r, canonical, back;
  AddressEntry& a = r.addresses[SLOT_HOME];
  fill(r.formattedName, true), fill(r.familyName, false), fill(r.givenName, false), fill(r.additionalNames, false);
  fill(r.note, true), fill(r.otherLabel, true), fill(r.emails[0].address, true), fill(r.workPhones[PHONE_CELL].number, true);
  fill(a.poBox, false), fill(a.extendedAddress, false), fill(a.street, false), fill(a.locality, false);
  fill(a.region, false), fill(a.postalCode, false), fill(a.country, false);
  r.emailCount = 1;
  CanonicaliseForCard(r, canonical);
  ASSERT_EQ(ReadCardFromText(back, CardText(r)), 1);
  EXPECT_EQ(testing::Shown(back), testing::Shown(canonical));
  EXPECT_EQ(back.note.view(), r.note.view());
}

TEST(CardWriteTest, DifferenceCheckNamesTheField) {
  const std::pair<const char*, std::function<void(ContactRecord&)>> changes[] = {
      {"formattedName", [](ContactRecord& r) { r.formattedName = "Other"; }},
      {"photoData", [](ContactRecord& r) { r.photoData.data()[5] ^= 1; }},
      {"emailCount", [](ContactRecord& r) { r.emailCount = 1; }},
      {"workPhones.flags", [](ContactRecord& r) { r.workPhones[PHONE_FAX].flags |= FLAG_PREF; }},
      // Flags of a slot that is not written are not carried.
      {"", [](ContactRecord& r) { r.addresses[SLOT_BUSINESS] = {}, r.addresses[SLOT_BUSINESS].flags = FLAG_HOME; }},
  };
  for (const auto& [field, change] : changes) {
    ContactRecord a, b;
    testing::FillSample(a);
    testing::FillSample(b);
    a.addresses[SLOT_BUSINESS] = {};
    b.addresses[SLOT_BUSINESS] = {};
    change(b);
    EXPECT_EQ(FirstCarriedDifference(a, b), field);
  }
}

TEST(CardWriteTest, SaveReplacesAtomicallyAndAFailedSaveKeepsTheOldCard) {
  testing::TempFolder folder;
  const std::string path = folder.File("VC7.vcf");
  ContactRecord r, back;
  testing::FillSample(r);
  r.filePath = path;
  ASSERT_EQ(r.Save(), 1);
  const std::string bytes = testing::TempFolder::Read(path);
  EXPECT_EQ(bytes, RenderCardFile(r));
  EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\r\n\0", 3));

  r.formattedName = "Replaced";
  ASSERT_EQ(SaveAs(r, path), 1);
  ASSERT_EQ(ReadCard(back, path), 1);
  EXPECT_EQ(back.formattedName, "Replaced");

  r.formattedName = "New";
  EXPECT_EQ(SaveAs(r, folder.File("missing/VC8.vcf")), 0);
  EXPECT_EQ(SaveAs(r, ""), 0);
  EXPECT_EQ(SaveAs(r, folder.path()), 0);  // a folder cannot be replaced by a card
  if (::geteuid() != 0) {                  // root writes anywhere
    ::chmod(folder.path().c_str(), 0500);
    EXPECT_EQ(SaveAs(r, path), 0);
    ::chmod(folder.path().c_str(), 0700);
  }
  ASSERT_EQ(ReadCard(back, path), 1);
  EXPECT_EQ(back.formattedName, "Replaced");
  // Nothing but the card is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace ab
