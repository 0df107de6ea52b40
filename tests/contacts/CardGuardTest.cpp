// Card texts that crash, hang or exhaust the vObject parser when handed to it
// as they stand, and interchange forms it does not read by itself.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "contacts/CardText.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

namespace ab {
namespace {

std::string Card(std::string_view body) { return "BEGIN:VCARD\r\n" + std::string(body) + "END:VCARD\r\n"; }

struct GuardCase {
  const char* name;
  std::string text;
  int expectedResult;
  std::function<void(const ContactRecord&)> check;
};

void PrintTo(const GuardCase& c, std::ostream* out) { *out << c.name; }


class GuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardTest, ReadsSafely) {
  ContactRecord record;
  ASSERT_EQ(ReadCardFromText(record, GetParam().text), GetParam().expectedResult);
  if (GetParam().check) GetParam().check(record);
}

std::string Utf16(std::string_view ascii, bool littleEndian, bool mark) {
  std::string out;
  if (mark) out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (char c : ascii) {
    if (littleEndian) out += {c, '\0'};
    else out += {'\0', c};
  }
  return out;
}

const GuardCase kGuardCases[] = {
    // The decoder's pad count never resets: four '=' made it copy a negative length.
    {"base64ManyPads", Card("FN:A\r\nPHOTO;BASE64:\r\n    QUJD====\r\n    ====\r\n\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "A");
       EXPECT_EQ(r.photoSize, 3);
     }},
    {"base64PadInTheMiddle", Card("PHOTO;BASE64:\r\n    QQ==QUJD\r\n\r\nFN:B\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.photoSize, 1);
       EXPECT_EQ(r.formattedName, "B");
     }},
    // Without a blank line after the data the decoder never stopped.
    {"base64RightBeforeEnd", Card("FN:A\r\nLOGO;BASE64:QUJD\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.logoSize, 3); }},
    {"base64AtEndOfFile", "BEGIN:VCARD\r\nPHOTO;BASE64:QUJD", 0, nullptr},
    {"base64WithJunk", Card("PHOTO;BASE64:QU*JD!\r\n    RE:VG\r\n\r\nNOTE:after\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.note, "after");
       EXPECT_GE(r.photoSize, 0);
     }},
    {"base64EmptyData", Card("PHOTO;BASE64:\r\n\r\nFN:C\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.photoSize, -1);
       EXPECT_EQ(r.formattedName, "C");
     }},
    {"base64OneExtraChar", Card("PHOTO;BASE64:QUJDR\r\n\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.photoSize, 3); }},
    // An '=' not followed by two upper-case hex digits made the decoder allocate forever.
    {"quotedPrintableBadEscape", Card("NOTE;QUOTED-PRINTABLE:50=% off =zz =4\r\nFN:D\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.note, "50=% off =zz =4");
       EXPECT_EQ(r.formattedName, "D");
     }},
    {"quotedPrintableLowerCaseHex", Card("FN;QUOTED-PRINTABLE:M=c3=bcller\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "M\xC3\xBCller"); }},
    {"quotedPrintableSoftBreaks", Card("NOTE;ENCODING=QUOTED-PRINTABLE:one=0D=0A=\r\ntwo=\r\n three\r\nFN:E\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.note, "one\r\ntwo three");
       EXPECT_EQ(r.formattedName, "E");
     }},
    {"quotedPrintableSoftBreakBeforeEnd", "BEGIN:VCARD\r\nFN;QUOTED-PRINTABLE:F=\r\nEND:VCARD\r\n", 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "F"); }},
    {"quotedPrintableSoftBreakBeforeEndText", Card("NOTE;QUOTED-PRINTABLE:week=\r\nEND: shut=\r\nEND:x\r\nFN:E\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.note, "weekEND: shutEND:x");
       EXPECT_EQ(r.formattedName, "E");
     }},
    // The parser switches to quoted-printable for that word as the value of any parameter.
    {"encodingWordAsAnyParameterValue", Card("NOTE;X-ENC=QUOTED-PRINTABLE:a=3D=C3=A9\r\nTITLE;Y=base64:QUJD\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.note, "a=\xC3\xA9");
       EXPECT_TRUE(r.title.empty());  // a title with data is no text
     }},
    // ... and for that word as the name of a parameter, whatever its value.
    {"encodingWordAsParameterName", Card("LOGO;BASE64=D:QUJD\r\n\r\nNOTE;QUOTED-PRINTABLE=x:a=3Db\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.logoSize, 3);
       EXPECT_EQ(r.note, "a=b");
     }},
    // QP is the parser's alias for quoted-printable; "=zz" under it looped forever.
    {"quotedPrintableAlias", Card("NOTE;QP:a=zz=3Db\r\nTITLE;ENCODING=qp:t=3D\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.note, "a=zz=b");
       EXPECT_EQ(r.title, "t=");
     }},
    {"quotedPrintableKeepsFlag", Card("LABEL;QUOTED-PRINTABLE;WORK:a=3Db\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.otherLabel, "a=b");
       EXPECT_EQ(r.labelFlags, FLAG_WORK | FLAG_QUOTED_PRINTABLE);
     }},
    // An empty value took the next line as its value.
    {"emptyValues", Card("TITLE:\r\nNOTE:\t\r\nFN:G\r\nEMAIL;INTERNET:\r\nTEL;HOME:\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_TRUE(r.title.empty());
       EXPECT_EQ(r.note, "\t");  // a value of blanks is that value
       EXPECT_EQ(r.formattedName, "G");
       EXPECT_EQ(r.emailCount, 1);
     }},
    // Each of these made the whole file unreadable.
    {"utf8ByteOrderMark", "\xEF\xBB\xBF" + Card("FN:H\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "H"); }},
    {"byteFF", Card("FN:a\xFF" "b\r\nNOTE:n\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "a\xC3\xBF" "b");  // taken as Windows-1252
       EXPECT_EQ(r.note, "n");
     }},
    {"parameterValueStartingWithDigit", Card("FN;ENCODING=8BIT;CHARSET=UTF-8:I\r\nTEL;X-1=2;HOME:5\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "I");
       EXPECT_EQ(r.homePhones[0].number, "5");
     }},
    {"trailingTextAfterEnd", Card("FN:J\r\n") + "garbage after the card\r\n\x1A", 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "J"); }},
    {"leadingTextBeforeBegin", "From: someone\r\n\r\n" + Card("FN:K\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "K"); }},
    {"nulBytes", Card(std::string("FN:L\0M\r\n", 8)) + std::string("\0", 1), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "LM"); }},
    {"deepNesting",
     [] {
       std::string s = "BEGIN:VCARD\r\nFN:Outer\r\n";
       for (int i = 0; i < 40; ++i) s += "AGENT:\r\nBEGIN:VCARD\r\nFN:Inner\r\n";
       for (int i = 0; i < 40; ++i) s += "END:VCARD\r\n";
       return s + "NOTE:kept\r\nEND:VCARD\r\n";
     }(),
     1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "Outer");
       EXPECT_EQ(r.note, "kept");
     }},
    {"manyEncodingWords", Card("PHOTO;BASE64;BASE64;QUOTED-PRINTABLE;ENCODING=BASE64:QUJD\r\n\r\nFN:N\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.photoSize, 3);
       EXPECT_EQ(r.formattedName, "N");
     }},
    {"beginAndEndAsParameters", Card("LABEL;END:VCARD\r\nTEL;X=begin;HOME:5\r\nFN:V\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.otherLabel, "VCARD");
       EXPECT_EQ(r.homePhones[0].number, "5");
       EXPECT_EQ(r.formattedName, "V");
     }},
    {"linesWithoutColonOrName", Card("just words\r\n:no name\r\n1TEL:5\r\n;x:y\r\nFN:O\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "O"); }},
    {"bareLfAndCrLines", "BEGIN:VCARD\nFN:P\rNOTE:q\nEND:VCARD", 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "P");
       EXPECT_EQ(r.note, "q");
     }},
    {"truncatedCard", "BEGIN:VCARD\r\nFN:Q\r\n", 0, nullptr},
    {"firstObjectOfAnotherKind", "BEGIN:VCALENDAR\r\nTITLE:t\r\nEND:VCALENDAR\r\n" + Card("FN:W\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.title.str() + " " + r.formattedName.str(), "t noname"); }},
    {"empty", "", 0, nullptr},
    {"emptyCard", "BEGIN:VCARD\r\nEND:VCARD\r\n", 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "noname"); }},
    {"utf16LittleEndianWithMark", Utf16(Card("FN:R\r\n"), true, true), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "R"); }},
    {"utf16BigEndianWithoutMark", Utf16(Card("FN:S\r\n"), false, false), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.formattedName, "S"); }},
    {"declaredCharset", Card("FN;CHARSET=ISO-8859-2:Iksi\xF1ski\r\nNOTE;CHARSET=SHIFT_JIS:\x83\x81\x83\x82\r\n"), 1,
     [](const ContactRecord& r) {
       EXPECT_EQ(r.formattedName, "Iksi\xC5\x84ski");
       EXPECT_EQ(r.note, "\xE3\x83\xA1\xE3\x83\xA2");
     }},
    {"version21FoldKeepsBlank", Card("NOTE:one\r\n two\r\n"), 1,
     [](const ContactRecord& r) { EXPECT_EQ(r.note, "one two"); }},
};

INSTANTIATE_TEST_SUITE_P(Inputs, GuardTest, ::testing::ValuesIn(kGuardCases),
                         [](const auto& test) { return std::string(test.param.name); });

const std::string kRichCard =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN;QUOTED-PRINTABLE:Doe=\r\n;John\r\nFN:John Doe\r\nTEL;HOME;VOICE:1\r\n"
    "EMAIL;PREF;INTERNET:j@x\r\nPHOTO;BMP;BASE64:\r\n    Qk1BQUFBQUFB\r\n    QUJD\r\n\r\n"
    "NOTE;QUOTED-PRINTABLE:a=3Db=\r\nc\r\nADR;HOME:;;1 St;Town\r\nEND:VCARD\r\n";

TEST(GuardTest, EveryPrefixOfACardReadsSafely) {
  ContactRecord record;
  for (std::size_t n = 0; n <= kRichCard.size(); ++n) {
    const int result = ReadCardFromText(record, kRichCard.substr(0, n));
    // Only the whole card, up to its last line break, reads as a card.
    EXPECT_EQ(result, n >= kRichCard.size() - 2 ? 1 : 0) << "prefix of " << n << " bytes";
  }
  EXPECT_EQ(record.formattedName, "John Doe");
}

TEST(GuardTest, RandomDamageNeverBreaksTheReader) {
  std::mt19937 random(1234);
  ContactRecord record;
  const std::string alphabet = "=;:\r\n \tABCVXYZ09+/\xFF\x00-,.\\";
  for (int round = 0; round < 3000; ++round) {
    std::string text = kRichCard;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits; ++e) {
      const std::size_t pos = random() % text.size();
      const char c = alphabet[random() % alphabet.size()];
      switch (random() % 3) {
        case 0: text[pos] = c; break;
        case 1: text.insert(pos, 1, c); break;
        default: text.erase(pos, 1 + random() % 5); break;
      }
      if (text.empty()) text = "x";
    }
    const int result = ReadCardFromText(record, text);
    ASSERT_TRUE(result == 0 || result == 1);
    // Whatever was read can be written and read back.
    if (result == 1) {
      ASSERT_FALSE(RenderCardFile(record).empty()) << text;
    }
  }
}

TEST(GuardTest, RefusesTextLargerThanTheLimit) {
  std::string huge = Card("FN:T\r\n");
  huge.resize(kMaxCardFileBytes + 1, ' ');
  ContactRecord record;
  EXPECT_EQ(ReadCardFromText(record, huge), 0);
}

TEST(GuardTest, Base64DataIsHandedOverDecoded) {
  const auto card = NormalizeCardText(Card("PHOTO;BASE64:QUJD\r\nFN:U\r\nLOGO;ENCODING=b:\r\n  QU\r\n  Jj\r\n\r\n"));
  ASSERT_TRUE(card);
  // The parser never sees BASE64 data: the first line would have run into FN.
  EXPECT_EQ(card->text.find("BASE64"), std::string::npos) << card->text;
  EXPECT_NE(card->text.find("\r\nFN:U\r\n"), std::string::npos) << card->text;
  EXPECT_EQ(card->attachments, (std::vector<std::string>{"ABC", "ABc"}));
}

}  // namespace
}  // namespace ab
