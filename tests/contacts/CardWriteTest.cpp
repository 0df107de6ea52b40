#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "contacts/CardCompare.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

EmailEntry Email(std::string_view address, int type, TypeFlags flags) {
  EmailEntry e;
  e.address = address;
  e.type = type;
  e.flags = flags;
  return e;
}

PhoneEntry Phone(std::string_view number, TypeFlags flags) {
  PhoneEntry p;
  p.number = number;
  p.flags = flags;
  return p;
}

UrlEntry Url(std::string_view url, TypeFlags flags) {
  UrlEntry u;
  u.url = url;
  u.flags = flags;
  return u;
}

// Text of the rendered card without the trailing zero byte.
std::string Text(const ContactRecord& record) {
  std::string bytes = RenderCardFile(record);
  EXPECT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), '\0');
  if (!bytes.empty()) bytes.pop_back();
  return bytes;
}

// The card's property lines (BASE64 data lines and blank lines left out).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line[0] != ' ') lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

void Fill(ContactRecord& r) {
  r.formattedName = "Dr. Ann Lee";
  r.familyName = "Lee";
  r.givenName = "Ann";
  r.additionalNames = "M";
  r.orgName = "Acme";
  r.orgUnit = "R&D";
  r.title = "Chemist";
  r.note = "Line one\x01\x01Line two\x02\x02 end";
  r.emails[0] = Email("ann@acme.example", EMAIL_TYPE_INTERNET, FLAG_PREF);
  r.emails[1] = Email("ann@aol.example", 0, 0);
  r.emailCount = 2;
  r.preferredEmail = 0;
  r.domesticLabel = "1 Main St";
  r.otherLabel = "PO Box 9";
  r.labelFlags = FLAG_WORK | FLAG_QUOTED_PRINTABLE;
  r.urls[SLOT_BUSINESS] = Url("http://acme.example", FLAG_WORK);
  r.urls[SLOT_HOME] = Url("http://ann.example", FLAG_HOME);
  r.workPhones[PHONE_VOICE] = Phone("555-0100", FLAG_WORK | FLAG_VOICE);
  r.workPhones[PHONE_FAX] = Phone("555-0101", FLAG_WORK | FLAG_FAX);
  r.homePhones[PHONE_CELL] = Phone("555-0199", FLAG_HOME | FLAG_CELL);
  r.homePhones[PHONE_ICQ] = Phone("12345", FLAG_HOME | FLAG_ICQ);
  r.addresses[SLOT_BUSINESS].street = "1 Main St";
  r.addresses[SLOT_BUSINESS].locality = "Springfield";
  r.addresses[SLOT_BUSINESS].flags |= FLAG_WORK;
  r.addresses[SLOT_HOME].poBox = "9";
  r.addresses[SLOT_HOME].country = "\xE4\xB8\xAD\xE5\x9B\xBD";
  r.addresses[SLOT_HOME].flags |= FLAG_HOME;
  std::string wave("RIFF\0\0\0\0WAVEfmt ", 16);
  r.SetSound(ByteBuffer::Copy(wave.data(), static_cast<std::int64_t>(wave.size())));
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += static_cast<char>(i * 7);
  r.SetLogo(ByteBuffer::Copy(bytes.data(), 300));
  r.SetPhoto(ByteBuffer::Copy(bytes.data() + 1, 299));
}

TEST(CardWriteTest, PropertiesInFixedOrderWithParameterOrder) {
  ContactRecord r;
  Fill(r);
  const std::vector<std::string> expected = {
      "BEGIN:VCARD",
      "N:Lee;Ann;M",
      "FN:Dr. Ann Lee",
      "ORG:Acme;R&D",
      "TITLE:Chemist",
      "NOTE:Line one\x01\x01Line two\x02\x02 end",
      "EMAIL;PREF;INTERNET:ann@acme.example",
      "EMAIL;AOL:ann@aol.example",
      "LABEL;WORK;QUOTED-PRINTABLE;DOM:1 Main St",
      "LABEL;WORK;QUOTED-PRINTABLE:PO Box 9",
      "URL;WORK:http://acme.example",
      "URL;HOME:http://ann.example",
      "TEL;HOME;CELL:555-0199",
      "TEL;HOME;ICQ:12345",
      "TEL;WORK;VOICE:555-0100",
      "TEL;WORK;FAX:555-0101",
      "ADR;WORK;POSTAL;PARCEL:;;1 Main St;Springfield",
      "ADR;HOME;POSTAL;PARCEL:9;;;;;;\xE4\xB8\xAD\xE5\x9B\xBD",
      "SOUND;WAVE;BASE64:",
      "LOGO;BMP;BASE64:",
      "PHOTO;BMP;BASE64:",
      "END:VCARD",
  };
  EXPECT_EQ(Lines(Text(r)), expected);
}

TEST(CardWriteTest, OnlyGivenNameWritesNWithoutFn) {
  ContactRecord r;
  r.givenName = "John";
  const auto lines = Lines(Text(r));
  EXPECT_EQ(lines, (std::vector<std::string>{"BEGIN:VCARD", "N:;John;", "END:VCARD"}));
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, Text(r)), 1);
  EXPECT_EQ(back.formattedName, "John");
}

TEST(CardWriteTest, EveryFieldSurvivesWriteAndRead) {
  ContactRecord r;
  Fill(r);
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, Text(r)), 1);
  EXPECT_EQ(FirstCarriedDifference(r, back), "");
  EXPECT_EQ(back.note, r.note);
  EXPECT_EQ(back.labelFlags, r.labelFlags);
  EXPECT_EQ(back.preferredEmail, 0);
  EXPECT_EQ(back.emails[1].type, 0);
  EXPECT_EQ(back.homePhones[PHONE_ICQ].flags, FLAG_HOME | FLAG_ICQ);
  EXPECT_EQ(back.logoSize, 300);
  EXPECT_EQ(back.photoSize, 299);
  EXPECT_EQ(back.soundSize, 16);
  ASSERT_TRUE(back.photoPicture);
}

TEST(CardWriteTest, BlankEmailSlotsAreWrittenAndReadBack) {
  ContactRecord r;
  r.formattedName = "X";
  r.emails[1].address = "b@x";
  r.emailCount = 2;
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, Text(r)), 1);
  EXPECT_EQ(back.emailCount, 2);
  EXPECT_TRUE(back.emails[0].address.empty());
  EXPECT_EQ(back.emails[1].address, "b@x");
}

TEST(CardWriteTest, RawLineBreaksAndSemicolonsAreWrittenInStoredForm) {
  // Text from outside (an import) may hold them raw; the card must still read back whole.
  ContactRecord r;
  r.familyName = "Smith;Jones";
  r.givenName = "  Al";
  r.note = "one\r\ntwo\nthree";
  r.addresses[SLOT_BUSINESS].street = "Flat 2;\r\n1 High St";
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, Text(r)), 1);
  EXPECT_EQ(back.familyName, "Smith\x02\x02Jones");
  EXPECT_EQ(back.givenName, "  Al");  // leading blanks survive
  EXPECT_EQ(back.note, "one\x01\x01two\x01\x01three");
  EXPECT_EQ(back.addresses[SLOT_BUSINESS].street, "Flat 2\x02\x02\x01\x01" "1 High St");
}

// The writer folds quoted-printable values with soft breaks wherever the
// line is full, so a continuation line may start with "END:". Found by the
// fuzzer: such a card was read back without its end and could not be saved.
TEST(CardWriteTest, SoftBreaksBeforeEndTextReadBackWhole) {
  // A label read from a quoted-printable card is written that way again; the
  // fold moves through the text as it grows.
  for (int length = 40; length <= 100; ++length) {
    ContactRecord r;
    r.formattedName = "F";
    r.labelFlags = FLAG_QUOTED_PRINTABLE;
    r.otherLabel = std::string(static_cast<std::size_t>(length), 'x') + "END: at six";
    ContactRecord back;
    ASSERT_EQ(ReadCardFromText(back, Text(r)), 1) << length;
    EXPECT_EQ(back.otherLabel, r.otherLabel) << length;
  }
}

TEST(CardWriteTest, TextThatIsNotUtf8IsWrittenAsUtf8) {
  ContactRecord r;
  r.formattedName = "M\xFCller";  // Windows-1252, as a legacy import might hold it
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, Text(r)), 1);
  EXPECT_EQ(back.formattedName, "M\xC3\xBCller");
}

TEST(CardWriteTest, NumbersInSeveralSlotsReadBackIntoTheSameSlots) {
  // As read from TEL;WORK;VOICE;CELL:1 followed by TEL;CELL:2.
  ContactRecord r;
  r.formattedName = "X";
  r.workPhones[PHONE_VOICE] = Phone("1", FLAG_WORK | FLAG_VOICE | FLAG_CELL);
  r.workPhones[PHONE_CELL] = Phone("2", FLAG_WORK | FLAG_VOICE | FLAG_CELL);
  r.workPhones[PHONE_PAGER] = Phone("3", FLAG_HOME);  // HOME would send it to the home slots
  r.urls[SLOT_HOME] = Url("http://h", 0);
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, Text(r)), 1);
  EXPECT_EQ(back.workPhones[PHONE_VOICE].number, "1");
  EXPECT_EQ(back.workPhones[PHONE_CELL].number, "2");
  EXPECT_EQ(back.workPhones[PHONE_PAGER].number, "3");
  EXPECT_EQ(back.workPhones[PHONE_PAGER].flags, FLAG_PAGER);
  EXPECT_TRUE(back.homePhones[PHONE_VOICE].number.empty());
  EXPECT_EQ(back.urls[SLOT_HOME].url, "http://h");
}

TEST(CardWriteTest, AllKindWordsOfATelephoneAreKeptOnSave) {
  ContactRecord r;
  ASSERT_EQ(ReadCardFromText(r, "BEGIN:VCARD\r\nFN:X\r\nTEL;HOME;VOICE;FAX:555\r\nEND:VCARD\r\n"), 1);
  const std::string text = Text(r);
  EXPECT_NE(text.find("TEL;HOME;VOICE;FAX:555"), std::string::npos) << text;
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, text), 1);
  for (const int slot : {PHONE_VOICE, PHONE_FAX}) {
    EXPECT_EQ(back.homePhones[static_cast<std::size_t>(slot)].number, "555");
    EXPECT_EQ(back.homePhones[static_cast<std::size_t>(slot)].flags, FLAG_HOME | FLAG_VOICE | FLAG_FAX);
  }
}

// `units` units of text mixing letters, semicolons (where the value may hold
// them), line breaks and Chinese characters, as a card would carry it.
std::string ValueOfUnits(std::size_t units, bool semicolons, char letter) {
  static const std::string kChinese = "\xE4\xB8\xAD";
  std::string value;
  for (std::size_t i = 0; units > 0; ++i) {
    if (i % 7 == 3 && units >= 2) {
      value += kChinese;
      units -= 2;
    } else if (i % 11 == 5 && units >= 2) {
      value += "\r\n";
      units -= 2;
    } else {
      value += (semicolons && i % 5 == 1) ? ';' : letter;
      units -= 1;
    }
  }
  return value;
}

std::string QuotedPrintable(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "=%02X", static_cast<unsigned char>(c));
    out += (c >= 'a' && c <= 'z') ? std::string(1, c) : std::string(hex);
  }
  return out;
}

// Line breaks as the editor shows them.
std::string Shown(std::string_view stored) {
  std::string out;
  const std::string plain = DecodeStoredText(stored);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == '\r' || plain[i] == '\n') {
      if (plain[i] == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += plain[i];
    }
  }
  return out;
}

TEST(CardWriteTest, ValuesAtTheirCapacitySurviveReadWriteRead) {
  using Get = std::string_view (*)(const ContactRecord&);
  struct Component {
    std::size_t units;
    Get get;
  };
  struct Property {
    const char* head;
    bool structured;
    std::vector<Component> components;
  };
  const Property properties[] = {
      {"FN", false, {{256, [](const ContactRecord& r) { return r.formattedName.view(); }}}},
      {"N", true,
       {{127, [](const ContactRecord& r) { return r.familyName.view(); }},
        {127, [](const ContactRecord& r) { return r.givenName.view(); }},
        {127, [](const ContactRecord& r) { return r.additionalNames.view(); }}}},
      {"ORG", true,
       {{127, [](const ContactRecord& r) { return r.orgName.view(); }},
        {127, [](const ContactRecord& r) { return r.orgUnit.view(); }}}},
      {"TITLE", false, {{127, [](const ContactRecord& r) { return r.title.view(); }}}},
      {"NOTE", false, {{511, [](const ContactRecord& r) { return r.note.view(); }}}},
      {"LABEL;DOM", false, {{511, [](const ContactRecord& r) { return r.domesticLabel.view(); }}}},
      {"LABEL", false, {{511, [](const ContactRecord& r) { return r.otherLabel.view(); }}}},
      {"EMAIL", false, {{255, [](const ContactRecord& r) { return r.emails[0].address.view(); }}}},
      {"URL;HOME", false, {{255, [](const ContactRecord& r) { return r.urls[SLOT_HOME].url.view(); }}}},
      {"TEL;CELL", false, {{39, [](const ContactRecord& r) { return r.workPhones[PHONE_CELL].number.view(); }}}},
      {"ADR;HOME", true,
       {{19, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].poBox.view(); }},
        {511, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].extendedAddress.view(); }},
        {511, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].street.view(); }},
        {63, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].locality.view(); }},
        {63, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].region.view(); }},
        {19, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].postalCode.view(); }},
        {63, [](const ContactRecord& r) { return r.addresses[SLOT_HOME].country.view(); }}}},
  };
  std::string card = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
  std::vector<std::pair<std::string, Get>> expected;
  char letter = 'a';
  for (const Property& p : properties) {
    std::string value;
    for (const Component& c : p.components) {
      if (!value.empty()) value += ';';
      const std::string part = ValueOfUnits(c.units, !p.structured, letter++);
      expected.emplace_back(part, c.get);
      value += QuotedPrintable(part);
    }
    card += std::string(p.head) + ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + value + "\r\n";
  }
  card += "END:VCARD\r\n";

  ContactRecord first;
  ASSERT_EQ(ReadCardFromText(first, card), 1);
  const std::string written = RenderCardFile(first);
  ASSERT_FALSE(written.empty());
  ContactRecord back;
  ASSERT_EQ(ReadCardFromText(back, written), 1);
  for (const auto& [value, get] : expected) {
    SCOPED_TRACE(value.substr(0, 12));
    EXPECT_EQ(Shown(get(first)), value);
    EXPECT_EQ(Shown(get(back)), value);
  }
}

TEST(CardWriteTest, DifferenceCheckNamesTheField) {
  struct Change {
    const char* field;
    std::function<void(ContactRecord&)> apply;
  };
  const Change changes[] = {
      {"formattedName", [](ContactRecord& r) { r.formattedName = "Other"; }},
      {"note", [](ContactRecord& r) { r.note = "x"; }},
      {"photoData", [](ContactRecord& r) { r.photoData.data()[5] ^= 1; }},
      {"emailCount", [](ContactRecord& r) { r.emailCount = 1; }},
      {"emails.type", [](ContactRecord& r) { r.emails[1].type = 3; }},
      {"emails.flags", [](ContactRecord& r) { r.emails[0].flags = 0; }},
      {"homePhones.number", [](ContactRecord& r) { r.homePhones[PHONE_CELL].number = "0"; }},
      {"workPhones.flags", [](ContactRecord& r) { r.workPhones[PHONE_FAX].flags |= FLAG_PREF; }},
      {"addresses.country", [](ContactRecord& r) { r.addresses[SLOT_HOME].country = "X"; }},
      {"addresses.flags", [](ContactRecord& r) { r.addresses[SLOT_HOME].flags = FLAG_HOME; }},
      {"urls.flags", [](ContactRecord& r) { r.urls[SLOT_HOME].flags |= FLAG_PREF; }},
      {"labelFlags", [](ContactRecord& r) { r.labelFlags = 0; }},
  };
  for (const auto& change : changes) {
    ContactRecord a;
    ContactRecord b;
    Fill(a);
    Fill(b);
    ASSERT_EQ(FirstCarriedDifference(a, b), "");
    change.apply(b);
    EXPECT_EQ(FirstCarriedDifference(a, b), change.field);
  }
}

TEST(CardWriteTest, FlagsOfUnwrittenSlotsAreNotCarried) {
  ContactRecord a;
  ContactRecord b;
  a.addresses[SLOT_BUSINESS].flags = FLAG_WORK;  // no component: no ADR is written
  a.urls[SLOT_BUSINESS].flags = FLAG_PREF;
  a.workPhones[PHONE_FAX].flags = FLAG_FAX;
  EXPECT_EQ(FirstCarriedDifference(a, b), "");
}

TEST(CardWriteTest, SaveWritesTextAndZeroByteAndReplacesAtomically) {
  testing::TempFolder folder;
  const std::string path = folder.File("VC7.vcf");
  ContactRecord r;
  Fill(r);
  r.filePath = path;
  ASSERT_EQ(r.Save(), 1);
  const std::string bytes = testing::TempFolder::Read(path);
  EXPECT_EQ(bytes, RenderCardFile(r));
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\r\n\0", 3));
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n') {
      ASSERT_EQ(bytes[i - 1], '\r') << "bare LF at " << i;
    }

  ContactRecord back;
  ASSERT_EQ(ReadCard(back, path), 1);
  EXPECT_EQ(FirstCarriedDifference(r, back), "");

  r.formattedName = "Replaced";
  ASSERT_EQ(SaveAs(r, path), 1);
  ASSERT_EQ(ReadCard(back, path), 1);
  EXPECT_EQ(back.formattedName, "Replaced");
  // Nothing but the card is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(CardWriteTest, FailedSaveKeepsTheOldCard) {
  testing::TempFolder folder;
  ContactRecord r;
  r.formattedName = "Old";
  const std::string path = folder.File("VC8.vcf");
  ASSERT_EQ(SaveAs(r, path), 1);
  const std::string before = testing::TempFolder::Read(path);

  r.formattedName = "New";
  EXPECT_EQ(SaveAs(r, folder.File("missing/VC8.vcf")), 0);
  EXPECT_EQ(SaveAs(r, ""), 0);
  if (::geteuid() != 0) {  // root writes anywhere
    ::chmod(folder.path().c_str(), 0500);
    EXPECT_EQ(SaveAs(r, path), 0);
    ::chmod(folder.path().c_str(), 0700);
  }
  EXPECT_EQ(SaveAs(r, folder.path()), 0);  // a folder cannot be replaced by a card
  EXPECT_EQ(testing::TempFolder::Read(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace ab
