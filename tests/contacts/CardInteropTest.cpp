// Cards as phones, web mail and other address books write them: each reads
// into the same fields as its 2.1 equivalent, keeps what the record has no
// field for, and survives a save with nothing lost.

#include <gtest/gtest.h>

#include "contacts/CardCompare.h"
#include "contacts/CardEncoding.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/CardBuilders.h"
#include "support/ImageBytes.h"

namespace ab {
namespace {

using Lines = std::vector<std::string>;
using testing::Card;
using testing::Shown;

const std::string kJpeg = testing::JpegHeaderBytes(48, 64, 600);
const std::string kGif = testing::RedPixelGif();
std::string Repeat(std::string_view text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

const std::string kChinese = Repeat("\xE8\x81\xB7", 60);

struct Exported {
  const char* name;
  std::string card;
  std::string read;                        // Shown() of the record read
  void (*edit)(ContactRecord&) = nullptr;  // as the editor would, before the save
  std::string saved = {};                  // Shown() read back, where the edit frees a field for a kept property
};

const Exported kExporters[] = {
    {"2.1 quoted-printable",
     Card({"VERSION:2.1", "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=", "Br=C3=BCning;=", "Michael",
           "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Michael Br=FCning", "ORG:Sales\\; Dept;Team",
           "LABEL;HOME;ENCODING=QUOTED-PRINTABLE:M=C3=BCnsterplatz 21=0D=0A=", "89073 Ulm",
           "X-EVOLUTION-FILE-AS;ENCODING=QUOTED-PRINTABLE:Br=C3=BCning=2C=", " Michael", "BDAY:19781229",
           // Found by the fuzzer: each save took one more '=' off the end, or lost the blank line the
           // soft break joined, so that the break joined the next kept property.
           "X-P;QUOTED-PRINTABLE:b=", "", "X-Q;QUOTED-PRINTABLE:a==="}),
     "fn=Michael Br\xC3\xBCning\nn=Br\xC3\xBCning/Michael/\norg=Sales\\; Dept/Team\n"
     "label=M\xC3\xBCnsterplatz 21\r\n89073 Ulm HOME QUOTED-PRINTABLE\n"
     "kept=X-EVOLUTION-FILE-AS;ENCODING=QUOTED-PRINTABLE:Br=C3=BCning=2C=\r\n Michael\nkept=BDAY:19781229\n"
     "kept=X-P;QUOTED-PRINTABLE:b=\r\n\nkept=X-Q;QUOTED-PRINTABLE:a===\n"},
    {"3.0 Google-like",
     Card({"VERSION:3.0", "FN:M\xFCller", "EMAIL;TYPE=INTERNET;TYPE=HOME:ann@example.com",
           "EMAIL;TYPE=INTERNET;TYPE=WORK,pref:ann@work.example", "TEL;TYPE=CELL:+1 555 0100",
           "item1.ADR;TYPE=HOME:;;1 Main St\\nApt 2;Springfield;IL;62701;US", "item1.X-ABLabel:Home",
           "ORG:Acme\\, Inc.;R&D", "NOTE:Line one\\nLine two\\, with comma", "X-SPOUSE:J\xFCrgen\\, Jr.",
           // Found by the fuzzer: the trailing tab was lost when the kept text was read again.
           std::string("X-T:b\t\0", 7)}),
     "fn=M\xC3\xBCller\norg=Acme, Inc./R&D\nnote=Line one\\nLine two, with comma\nemail=ann@example.com HOME\n"
     "email=ann@work.example WORK PREF *\nwork.cell=+1 555 0100 CELL\nhome.adr=//1 Main St\\nApt 2/Springfield/IL/62701/US HOME POSTAL PARCEL\n"
     "kept=item1.X-ABLabel:Home\nkept=X-SPOUSE;CHARSET=UTF-8:J\xC3\xBCrgen, Jr.\nkept=X-T;ENCODING=QUOTED-PRINTABLE:b\t\n"},
    {"4.0 iCloud-like",
     Card({"VERSION:4.0", "FN:Bo", "TITLE:" + kChinese, "EMAIL;TYPE=work;PREF=1:bo@example.com",
           // Found by the fuzzer: the number read as a tel: URI only once its NUL byte was gone.
           std::string("TEL;VALUE=uri;TYPE=\"voice,home\";PREF=1:t\0el:+1-555-0199", 55),
           "PHOTO:data:image/gif;base64," + EncodeBase64Lines(kGif, "", 99).substr(0, (kGif.size() + 2) / 3 * 4), "KIND:individual"}),
     "fn=Bo\ntitle=" + kChinese + "\nemail=bo@example.com WORK PREF *\nhome.voice=+1-555-0199 HOME VOICE PREF\n"
     "photo=35 1\nkept=KIND:individual\n"},
    {"Android with a backslash-continued address",
     Card({"VERSION:2.1", "FN:   ", "N:; A\\;B\\\\;C;;", "PC:1", "ADR;HOME:;;Hermann v. Brevern\\", "9999999\\",
           "Packstation 999;Hamburg;;99999;Deutschland", "ADR;HOME:;;Grindelberg 999;Hamburg;;99999;Deutschland",
           "SOUND;X-IRMC-N;CHARSET=ISO-8859-1:M\xFCller;Hans"}),
     "fn=   \nn=/ A\\;B\\/C\nhome.adr=//Hermann v. Brevern\\n9999999\\nPackstation 999/Hamburg//99999/Deutschland HOME POSTAL PARCEL\n"
     "kept=PC:1\nkept=ADR;HOME:;;Grindelberg 999;Hamburg;;99999;Deutschland\nkept=SOUND;X-IRMC-N;CHARSET=UTF-8:M\xC3\xBCller;Hans\n"},
    {"iPhone with CR CR LF and a folded photo, edited",
     Card({"VERSION:3.0", "PRODID:-//Apple Inc.//iOS 5.0.1//EN", "FN:John Doe",
           "item1.EMAIL;type=INTERNET;type=pref:john@example.com", "TEL;type=CELL;type=VOICE;type=pref:905-555-1234",
           "TEL;type=WORK;type=VOICE:905-777-1234", "NOTE:folded ov", " er", "BDAY;value=date:2012-06-06",
           "PHOTO;ENCODING=b;TYPE=JPEG:" + EncodeBase64Lines(kJpeg, " ", 74).substr(1)},
          "\r\r\n"),
     "fn=John Doe\nnote=folded over\nemail=john@example.com PREF *\nwork.voice=905-555-1234 VOICE CELL PREF\n"
     "work.cell=905-555-1234 VOICE CELL PREF\nphoto=639 48\nkept=PRODID:-//Apple Inc.//iOS 5.0.1//EN\n"
     "kept=TEL;WORK;VOICE:905-777-1234\nkept=BDAY;value=date:2012-06-06\n",
     [](ContactRecord& r) { r.title = "Edited"; }},
    {"more properties than the parser's stack holds, and values it would overflow on",
     [] {
       Lines lines{"FN:Many", "NOTE:a" + std::string(300, ';'), "TEL" + Repeat(";X", 300) + ";HOME:5"};
       for (int i = 0; i < 600; ++i) lines.push_back(i < 100 ? "X-N:" + std::to_string(i) : "TITLE:" + std::to_string(i));
       return Card(lines);
     }(),
     [] {
       std::string shown = "fn=Many\ntitle=100\nnote=a" + Repeat("\\;", 300) + "\nwork.voice=5\n";
       for (int i = 0; i < 600; ++i) shown += i == 100 ? "" : (i < 100 ? "kept=X-N:" : "kept=TITLE:") + std::to_string(i) + "\n";
       return shown;
     }()},
    {"a cleared home number: the kept one takes its place", Card({"FN:X", "TEL;HOME;VOICE;PREF:1", "TEL;HOME:2"}),
     "fn=X\nhome.voice=1 HOME VOICE PREF\nkept=TEL;HOME:2\n", [](ContactRecord& r) { r.homePhones[0].number.Clear(); },
     "fn=X\nhome.voice=2 HOME\n"},
    // Found by the fuzzer: the moved value was written with the raw line break it was read with.
    {"a cleared note: the kept one takes its place", Card({"FN:X", "NOTE:first", "NOTE;QUOTED-PRINTABLE:a=0D=0Ab"}),
     "fn=X\nnote=first\nkept=NOTE;QUOTED-PRINTABLE:a=0D=0Ab\n", [](ContactRecord& r) { r.note.Clear(); },
     "fn=X\nnote=a\\nb\n"},
};

TEST(CardInterop, ExportersReadIntoTheirFieldsAndASaveLosesNothing) {
  for (const Exported& c : kExporters) {
    SCOPED_TRACE(c.name);
    ContactRecord first, back, canonical;
    ASSERT_EQ(ReadCardFromText(first, c.card), 1);
    EXPECT_EQ(Shown(first), c.read);
    if (c.edit) c.edit(first);
    const std::string saved = RenderCardFile(first);
    ASSERT_EQ(ReadCardFromText(back, saved), 1);
    CanonicaliseForCard(first, canonical);
    EXPECT_EQ(FirstCarriedDifference(canonical, back), "");
    if (c.saved.empty()) EXPECT_EQ(back.extraProperties, first.extraProperties);
    else EXPECT_EQ(Shown(back), c.saved);
    EXPECT_EQ(RenderCardFile(back), saved) << "a second save changes the card";
  }
}

}  // namespace
}  // namespace ab
