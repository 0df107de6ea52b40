// Card texts that crash, hang or exhaust the vObject parser when handed to it
// as they stand, and interchange forms it does not read by itself.

#include <gtest/gtest.h>

#include "contacts/CardText.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/CardBuilders.h"

namespace ab {
namespace {

using testing::Card;

std::string Nested(int depth) {
  std::string s = "BEGIN:VCARD\r\nFN:Outer\r\n";
  for (int i = 0; i < depth; ++i) s += "AGENT:\r\nBEGIN:VCARD\r\nFN:Inner\r\n";
  for (int i = 0; i < depth; ++i) s += "END:VCARD\r\n";
  return s + "NOTE:kept\r\nEND:VCARD\r\n";
}

TEST(GuardTest, ReadsSafely) {
  const struct {
    const char* name;
    std::string text;
    std::string shown;  // testing::Shown() of the record read; empty: not read as a card
  } cases[] = {
      // The decoder's pad count never resets: four '=' made it copy a negative length.
      {"base64 many pads", Card({"FN:A", "PHOTO;BASE64:", "    QUJD====", "    ====", ""}), "fn=A\nphoto=3 0\n"},
      // Without a blank line after the data the decoder never stopped.
      {"base64 right before END", Card({"FN:A", "LOGO;BASE64:QUJD"}), "fn=A\nlogo=3 0\n"},
      {"base64 at the end of the file", "BEGIN:VCARD\r\nPHOTO;BASE64:QUJD", ""},
      {"base64 with junk", Card({"PHOTO;BASE64:QU*JD!", "    RE:VG", "", "NOTE:after"}), "fn=noname\nnote=after\nphoto=3 0\nkept=RE:VG\n"},
      {"base64 empty data", Card({"PHOTO;BASE64:", "", "FN:C"}), "fn=C\nphoto=-1\nkept=PHOTO;BASE64:\n"},
      // An '=' not followed by two upper-case hex digits made the decoder allocate forever.
      {"quoted-printable bad escape", Card({"NOTE;QUOTED-PRINTABLE:50=% off =zz =4", "FN:D"}), "fn=D\nnote=50=% off =zz =4\n"},
      {"quoted-printable soft breaks", Card({"NOTE;ENCODING=QUOTED-PRINTABLE:one=0D=0A=", "two=", " three", "FN:E"}),
       "fn=E\nnote=one\r\ntwo three\n"},
      // The parser switches to quoted-printable for that word as the value of any parameter (a
      // title with data is no text).
      {"encoding word as any parameter value", Card({"NOTE;X-ENC=QUOTED-PRINTABLE:a=3D=C3=A9", "TITLE;Y=base64:QUJD"}),
       "fn=noname\nnote=a=\xC3\xA9\n"},
      // An empty value took the next line as its value; a value of blanks is that value.
      {"empty values", Card({"TITLE:", "NOTE:\t", "FN:G", "EMAIL;INTERNET:", "TEL;HOME:"}), "fn=G\nnote=\t\nemail=\n"},
      // Each of these made the whole file unreadable.
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + Card({"FN:H"}), "fn=H\n"},
      {"UTF-16LE with mark", [] { std::string s = "\xFF\xFE"; for (char c : Card({"FN:R"})) s += {c, '\0'}; return s; }(),
       "fn=R\n"},
      {"parameter value starting with a digit", Card({"FN;ENCODING=8BIT;CHARSET=UTF-8:I", "TEL;X-1=2;HOME:5"}),
       "fn=I\nhome.voice=5 HOME\n"},
      {"leading text before BEGIN", "From: someone\r\n\r\n" + Card({"FN:K"}), "fn=K\n"},
      {"NUL bytes", Card({std::string("FN:L\0M", 6)}) + std::string("\0", 1), "fn=LM\n"},
      {"deep nesting", Nested(40), "fn=Outer\nnote=kept\nkept=AGENT:\n"},
      {"BEGIN and END as parameters", Card({"LABEL;END:VCARD", "TEL;X=begin;HOME:5", "FN:V"}),
       "fn=V\nlabel=VCARD\nhome.voice=5 HOME\n"},
      {"lines without colon or name", Card({"just words", ":no name", "1TEL:5", ";x:y", "FN:O"}), "fn=O\n"},
      {"bare LF and CR lines", "BEGIN:VCARD\nFN:P\rNOTE:q\nEND:VCARD", "fn=P\nnote=q\n"},
      {"truncated card", "BEGIN:VCARD\r\nFN:Q\r\n", ""},
      {"declared charset", Card({"FN;CHARSET=ISO-8859-2:Iksi\xF1ski", "NOTE;CHARSET=SHIFT_JIS:\x83\x81\x83\x82"}),
       "fn=Iksi\xC5\x84ski\nnote=\xE3\x83\xA1\xE3\x83\xA2\n"},
      {"a 2.1 fold keeps its blank", Card({"NOTE:one", " two"}), "fn=noname\nnote=one two\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ContactRecord record;
    ASSERT_EQ(ReadCardFromText(record, c.text), c.shown.empty() ? 0 : 1);
    if (c.shown.empty()) continue;
    EXPECT_EQ(testing::Shown(record), c.shown);
  }
}

TEST(GuardTest, RefusesTextLargerThanTheLimit) {
  std::string huge = Card({"FN:T"});
  huge.resize(kMaxCardFileBytes + 1, ' ');
  ContactRecord record;
  EXPECT_EQ(ReadCardFromText(record, huge), 0);
}

}  // namespace
}  // namespace ab
