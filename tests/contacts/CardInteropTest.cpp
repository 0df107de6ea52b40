// Cards as phones, web mail and other address books write them: each reads
// into the same fields as its 2.1 equivalent, keeps what the record has no
// field for, and survives a save with nothing lost.

#include <gtest/gtest.h>

#include <functional>

#include "contacts/CardCompare.h"
#include "contacts/CardEncoding.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/ImageBytes.h"

namespace ab {
namespace {

using Lines = std::vector<std::string>;

// A card of `lines`, every line break in it written as `eol`.
std::string Card(const Lines& lines, const std::string& eol = "\r\n") {
  std::string text = "BEGIN:VCARD\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  text += "END:VCARD\r\n";
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += eol.size()) text.replace(at, 2, eol);
  return text;
}

std::string Base64(const std::string& bytes) {
  std::string data = EncodeBase64Lines(bytes, "", bytes.size() * 2 + 4);
  return data.substr(0, data.size() - 2);
}

const std::string kJpeg = testing::JpegHeaderBytes(48, 64, 600);
const std::string kPng = testing::PngHeaderBytes(7, 5);
const std::string kChineseTitle = [] {
  std::string title;
  for (int i = 0; i < 60; ++i) title += "\xE8\x81\xB7";
  return title;
}();

std::string Bytes(const ByteBuffer& data) { return {reinterpret_cast<const char*>(data.data()), static_cast<std::size_t>(data.size())}; }

struct Exported {
  const char* name;
  std::string card;
  std::function<void(const ContactRecord&)> check;
  std::function<void(ContactRecord&)> edit = nullptr;  // between reading and saving, as the editor would
};

const Exported kExporters[] = {
    {"2.1 quoted-printable",
     Card({"VERSION:2.1", "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=", "Br=C3=BCning;=", "Michael",
           "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Michael Br=FCning", "ORG:Sales\\; Dept;Team",
           "LABEL;HOME;ENCODING=QUOTED-PRINTABLE:M=C3=BCnsterplatz 21=0D=0A=", "89073 Ulm",
           "X-EVOLUTION-FILE-AS;ENCODING=QUOTED-PRINTABLE:Br=C3=BCning=2C=", " Michael", "BDAY:19781229"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.familyName, "Br\xC3\xBCning");
       EXPECT_EQ(r.givenName, "Michael");
       EXPECT_EQ(r.formattedName, "Michael Br\xC3\xBCning");
       EXPECT_EQ(r.orgName, "Sales\x02\x02 Dept");
       EXPECT_EQ(r.orgUnit, "Team");
       EXPECT_EQ(r.otherLabel, "M\xC3\xBCnsterplatz 21\r\n89073 Ulm");
       EXPECT_EQ(r.extraProperties,
                 (Lines{"X-EVOLUTION-FILE-AS;ENCODING=QUOTED-PRINTABLE:Br=C3=BCning=2C=\r\n Michael", "BDAY:19781229"}));
     }},
    {"3.0 Google-like",
     Card({"VERSION:3.0", "FN:Ann O'Neil", "N:O'Neil;Ann;;;", "EMAIL;TYPE=INTERNET;TYPE=HOME:ann@example.com",
           "EMAIL;TYPE=INTERNET;TYPE=WORK,pref:ann@work.example", "TEL;TYPE=CELL:+1 555 0100",
           "item1.ADR;TYPE=HOME:;;1 Main St\\nApt 2;Springfield;IL;62701;US", "item1.X-ABLabel:Home",
           "ORG:Acme\\, Inc.;R&D", "NOTE:Line one\\nLine two\\, with comma", "BDAY:1980-01-01",
           "CATEGORIES:myContacts,Friends"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.emails[0].flags, FLAG_HOME);
       EXPECT_EQ(r.emails[1].flags, FLAG_WORK | FLAG_PREF);
       EXPECT_EQ(r.preferredEmail, 1);
       EXPECT_EQ(r.workPhones[PHONE_CELL].number, "+1 555 0100");
       EXPECT_EQ(r.addresses[SLOT_HOME].street, "1 Main St\x01\x01" "Apt 2");
       EXPECT_EQ(r.addresses[SLOT_HOME].postalCode, "62701");
       EXPECT_EQ(r.orgName, "Acme, Inc.");
       EXPECT_EQ(r.note, "Line one\x01\x01Line two, with comma");
       EXPECT_EQ(r.extraProperties, (Lines{"item1.X-ABLabel:Home", "BDAY:1980-01-01", "CATEGORIES:myContacts,Friends"}));
     }},
    {"4.0 iCloud-like",
     Card({"VERSION:4.0", "FN:Bo Chen", "N:Chen;Bo;;;", "TEL;VALUE=uri;TYPE=\"voice,home\";PREF=1:tel:+1-555-0199",
           "EMAIL;TYPE=work;PREF=1:bo@example.com", "PHOTO:data:image/png;base64," + Base64(kPng),
           "KIND:individual", "NOTE:first\\nsecond"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.homePhones[PHONE_VOICE].number, "+1-555-0199");
       EXPECT_EQ(r.homePhones[PHONE_VOICE].flags, FLAG_HOME | FLAG_VOICE | FLAG_PREF);
       EXPECT_EQ(r.preferredEmail, 0);
       EXPECT_EQ(Bytes(r.photoData), kPng);
       ASSERT_TRUE(r.photoPicture);
       EXPECT_EQ(r.photoPicture->Width(), 7);
       EXPECT_EQ(r.note, "first\x01\x01second");
       EXPECT_EQ(r.extraProperties, Lines{"KIND:individual"});
     }},
    {"Android with a backslash-continued address",
     Card({"VERSION:2.1", "N:;A\\;B\\\\;C;;", "ADR;HOME:;;Hermann v. Brevern\\", "9999999\\",
           "Packstation 999;Hamburg;;99999;Deutschland", "ADR;HOME:;;Grindelberg 999;Hamburg;;99999;Deutschland",
           "SOUND;X-IRMC-N;CHARSET=ISO-8859-1:M\xFCller;Hans"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.givenName, "A\x02\x02" "B\\");
       EXPECT_EQ(r.additionalNames, "C");
       EXPECT_EQ(r.addresses[SLOT_HOME].street, "Hermann v. Brevern\x01\x01" "9999999\x01\x01Packstation 999");
       EXPECT_EQ(r.addresses[SLOT_HOME].country, "Deutschland");
       EXPECT_EQ(r.extraProperties, (Lines{"ADR;HOME:;;Grindelberg 999;Hamburg;;99999;Deutschland",
                                           "SOUND;X-IRMC-N;CHARSET=UTF-8:M\xC3\xBCller;Hans"}));
     }},
    {"iPhone with CR CR LF and a folded photo, edited",
     Card({"VERSION:3.0", "PRODID:-//Apple Inc.//iOS 5.0.1//EN", "N:Doe;John;;;", "FN:John Doe",
           "item1.EMAIL;type=INTERNET;type=pref:john@example.com", "TEL;type=CELL;type=VOICE;type=pref:905-555-1234",
           "TEL;type=WORK;type=VOICE:905-777-1234", "NOTE:folded ov", " er two lines", "BDAY;value=date:2012-06-06",
           "PHOTO;ENCODING=b;TYPE=JPEG:" + EncodeBase64Lines(kJpeg, " ", 74).substr(1)},
          "\r\r\n"),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "John Doe");
       EXPECT_EQ(r.emails[0].address, "john@example.com");
       EXPECT_EQ(r.workPhones[PHONE_CELL].number, "905-555-1234");
       EXPECT_EQ(r.workPhones[PHONE_VOICE].number, "905-555-1234");
       EXPECT_EQ(r.note, "folded over two lines");
       EXPECT_EQ(Bytes(r.photoData), kJpeg);
       EXPECT_EQ(r.extraProperties, (Lines{"PRODID:-//Apple Inc.//iOS 5.0.1//EN", "TEL;WORK;VOICE:905-777-1234",
                                           "BDAY;value=date:2012-06-06"}));
     },
     [](ContactRecord& r) { r.title = "Edited"; }},
    {"Outlook",
     Card({"VERSION:2.1", "N;LANGUAGE=en-us:Angstadt;Michael;;Mr.;Jr.", "TEL;WORK;VOICE:(111) 555-1111",
           "TEL;CELL;VOICE:(111) 555-4444", "LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE:222 Broadway=0D=0A=",
           "New York, NY 99999", "KEY;X509;ENCODING=BASE64:", "    MIIB/jCCAWugAwIBAgIQ", "",
           "EMAIL;PREF;INTERNET:mike@example.com", "X-MS-OL-DESIGN;CHARSET=utf-8:<card xmlns=\"x\"/>"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "Angstadt Michael");
       EXPECT_EQ(r.workPhones[PHONE_VOICE].number, "(111) 555-1111");
       EXPECT_EQ(r.workPhones[PHONE_CELL].number, "(111) 555-4444");  // voice is taken, cell is not
       EXPECT_EQ(r.otherLabel, "222 Broadway\r\nNew York, NY 99999");
       EXPECT_EQ(r.labelFlags, FLAG_WORK | FLAG_PREF | FLAG_QUOTED_PRINTABLE);
       EXPECT_EQ(r.PreferredEmail(), "mike@example.com");
       EXPECT_EQ(r.extraProperties, (Lines{"KEY;X509;ENCODING=BASE64:\r\n    MIIB/jCCAWugAwIBAgIQ",
                                           "X-MS-OL-DESIGN;CHARSET=utf-8:<card xmlns=\"x\"/>"}));
     }},
    {"Latin-1 3.0 value kept as UTF-8 2.1 text", Card({"VERSION:3.0", "FN:M\xFCller", "X-SPOUSE:J\xFCrgen\\, Jr."}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "M\xC3\xBCller");
       EXPECT_EQ(r.extraProperties, Lines{"X-SPOUSE;CHARSET=UTF-8:J\xC3\xBCrgen, Jr."});
     }},
    {"leading blanks and a name of blanks", Card({"FN:   ", "N: Smith;  Al", "NOTE:\tindented"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "   ");
       EXPECT_EQ(r.familyName, " Smith");
       EXPECT_EQ(r.givenName, "  Al");
       EXPECT_EQ(r.note, "\tindented");
     }},
    // Found by the fuzzer: each save took one more '=' off the end, or lost the blank line the soft
    // break joined, so that the break joined the next kept property.
    {"kept quoted-printable values ending in soft breaks",
     Card({"FN:Q", "X-P;QUOTED-PRINTABLE:b=", "", "X-Q;QUOTED-PRINTABLE:a==="}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.extraProperties, (Lines{"X-P;QUOTED-PRINTABLE:b=\r\n", "X-Q;QUOTED-PRINTABLE:a==="}));
     }},
    {"a number that reads as a tel: URI once its NUL byte is gone", Card({"FN:T", std::string("TEL;VALUE=uri:t\0el:5", 21)}),
     [](const ContactRecord& r) { EXPECT_EQ(r.workPhones[PHONE_VOICE].number, "5"); }},
    // Found by the fuzzer: each semicolon took a place on the parser's stack, which overflowed.
    {"a value of many semicolons, a number of many words",
     [] {
       std::string words;
       for (int i = 0; i < 300; ++i) words += ";X" + std::to_string(i);
       return Card({"FN:S", "NOTE:a" + std::string(300, ';') + "b", "TEL" + words + ";HOME:5"});
     }(),
     [](const ContactRecord& r) {
       std::string note = "a";
       for (int i = 0; i < 300; ++i) note += "\x02\x02";
       EXPECT_EQ(r.note, note + "b");
       EXPECT_EQ(r.workPhones[PHONE_VOICE].number, "5");  // the words past the parser's room are dropped
     }},
    // Found by the fuzzer: the trailing tab was lost when the kept text was read again.
    {"a later version's kept value ending in a tab", Card({"VERSION:3.0", "FN:A", std::string("X-T:b\t\0", 7)}),
     [](const ContactRecord& r) { EXPECT_EQ(r.extraProperties, Lines{"X-T;ENCODING=QUOTED-PRINTABLE:b\t"}); }},
    // Found by the fuzzer: such a component went to whichever address came last, which a save changed.
    {"address components of their own", Card({"PC:1", "ADR:;;;;;2", "PC:3", "ADR;HOME:;;s"}),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.addresses[SLOT_BUSINESS].postalCode, "2");
       EXPECT_EQ(r.addresses[SLOT_HOME].street, "s");
       EXPECT_EQ(r.extraProperties, (Lines{"PC:1", "PC:3"}));
     }},
    {"a 60-character Chinese job title", Card({"FN:W", "TITLE:" + kChineseTitle}),
     [](const ContactRecord& r) { EXPECT_EQ(r.title, kChineseTitle); }},
    {"more properties than the parser's stack holds",
     [] {
       Lines lines{"FN:Many"};
       for (int i = 0; i < 100; ++i) lines.push_back("X-N" + std::to_string(i) + ":" + std::to_string(i));
       for (int i = 0; i < 500; ++i) lines.push_back("NOTE:" + std::to_string(i));
       return Card(lines);
     }(),
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "Many");
       EXPECT_EQ(r.note, "0");
       ASSERT_EQ(r.extraProperties.size(), 599u);
       EXPECT_EQ(r.extraProperties.front(), "X-N0:0");
       EXPECT_EQ(r.extraProperties.back(), "NOTE:499");
     }},
};

TEST(CardInterop, ExportersReadIntoTheirFields) {
  for (const Exported& c : kExporters) {
    SCOPED_TRACE(c.name);
    ContactRecord record;
    ASSERT_EQ(ReadCardFromText(record, c.card), 1);
    c.check(record);
  }
}

TEST(CardInterop, ReadSaveReadLosesNothing) {
  for (const Exported& c : kExporters) {
    SCOPED_TRACE(c.name);
    ContactRecord first;
    ASSERT_EQ(ReadCardFromText(first, c.card), 1);
    if (c.edit) c.edit(first);
    const std::string saved = RenderCardFile(first);
    ASSERT_FALSE(saved.empty());
    ContactRecord back;
    ASSERT_EQ(ReadCardFromText(back, saved), 1);
    ContactRecord canonical;
    CanonicaliseForCard(first, canonical);
    EXPECT_EQ(FirstCarriedDifference(canonical, back), "");
    EXPECT_EQ(back.extraProperties, first.extraProperties);
    EXPECT_EQ(RenderCardFile(back), saved) << "a second save changes the card";
  }
}

// A kept property that finds its field free when the saved card is read
// again goes into that field, and the save says so beforehand.
TEST(CardInterop, AKeptPropertyMovesIntoAFreeField) {
  const Exported cases[] = {
      {"a home number the user cleared", Card({"FN:X", "TEL;HOME;VOICE;PREF:1", "TEL;HOME:2"}),
       [](const ContactRecord& r) {
         EXPECT_EQ(r.homePhones[PHONE_VOICE].number, "2");
         EXPECT_EQ(r.homePhones[PHONE_VOICE].flags, FLAG_HOME);  // the words of its own line only
       },
       [](ContactRecord& r) { r.homePhones[PHONE_VOICE].number.Clear(); }},
      // Found by the fuzzer: the moved value was written with the raw line break it was read with.
      {"a second note with a line break", Card({"FN:X", "NOTE:first", "NOTE;QUOTED-PRINTABLE:a=0D=0Ab"}),
       [](const ContactRecord& r) { EXPECT_EQ(r.note, "a\x01\x01" "b"); },
       [](ContactRecord& r) { r.note.Clear(); }},
  };
  for (const Exported& c : cases) {
    SCOPED_TRACE(c.name);
    ContactRecord record;
    ASSERT_EQ(ReadCardFromText(record, c.card), 1);
    ASSERT_EQ(record.extraProperties.size(), 1u);
    if (c.edit) c.edit(record);
    ContactRecord back;
    ASSERT_EQ(ReadCardFromText(back, RenderCardFile(record)), 1);
    c.check(back);
    EXPECT_TRUE(back.extraProperties.empty());
  }
}

}  // namespace
}  // namespace ab
