#include <gtest/gtest.h>

#include "contacts/VCardReader.h"
#include "support/CardBuilders.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::Card;

std::string Repeat(std::string_view text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

TEST(ReadCardTest, MapsProperties) {
  std::vector<std::string> emails;
  std::string shownEmails = "fn=noname\n";
  for (int i = 0; i < 17; ++i) {
    emails.push_back("EMAIL:u" + std::to_string(i) + "@x");
    shownEmails += (i < 16 ? "email=" : "kept=EMAIL:") + emails.back().substr(6) + "\n";
  }
  const struct {
    const char* name;
    std::string card;
    std::string shown;  // testing::Shown() of the record read
  } cases[] = {
      {"display name from family and given", Card({"N:Smith;John"}), "fn=Smith John\nn=Smith/John/\n"},
      {"no name", Card({"TITLE:Nobody"}), "fn=noname\ntitle=Nobody\n"},
      // An empty value must not take the next line as its value.
      {"empty FN still composes", Card({"FN:", "N:Doe;Jane"}), "fn=Doe Jane\nn=Doe/Jane/\n"},
      // MSG selects nothing and VIDEO without HOME neither: both go to business voice, which the
      // first keeps; the second is kept as it stands.
      {"telephone slots",
       Card({"TEL;WORK;CELL:1", "TEL;MSG:2", "TEL;HOME;MSG:3", "TEL;VIDEO:4", "TEL;HOME;ICQ:5", "TEL;HOME;VIDEO:6",
             "TEL;PAGER:7", "TEL;HOME;PAGER;CELL:8"}),
       "fn=noname\nwork.voice=2 MSG\nhome.voice=3 HOME MSG\nwork.pager=7 PAGER\nhome.pager=8 HOME PAGER CELL\n"
       "work.cell=1 WORK CELL\nhome.cell=8 HOME PAGER CELL\nhome.video=6 HOME VIDEO\nhome.icq=5 HOME ICQ\nkept=TEL;VIDEO:4\n"},
      {"preferred e-mail is the first marked", Card({"EMAIL:a@x", "EMAIL;PREF:b@x", "EMAIL;PREF:c@x"}),
       "fn=noname\nemail=a@x\nemail=b@x PREF *\nemail=c@x PREF\n"},
      // The library hands known parameter words over in its own spelling; the last type word
      // wins; an unknown word keeps INTERNET.
      {"e-mail types", Card({"EMAIL;AOL:a@x", "EMAIL:b@x", "EMAIL;AppleLink:c@x", "EMAIL;IBMMail;X400:d@x", "EMAIL;Inet:e@x"}),
       "fn=noname\nemail=a@x t0\nemail=b@x\nemail=c@x t1\nemail=d@x t12\nemail=e@x\n"},
      {"a blank e-mail keeps its slot", Card({"EMAIL;INTERNET:", "EMAIL;PREF:b@x"}), "fn=noname\nemail=\nemail=b@x PREF *\n"},
      {"labels", Card({"LABEL;DOM;HOME:Home label", "LABEL;WORK:Work label"}),
       "fn=noname\ndom=Home label HOME WORK\nlabel=Work label HOME WORK\n"},
      {"two addresses for one slot merge", Card({"ADR;WORK:;;1 Main St;Springfield", "ADR;WORK;PREF:;;;;;;USA"}),
       "fn=noname\nwork.adr=//1 Main St/Springfield///USA WORK PREF POSTAL PARCEL\n"},
      {"sound needs WAVE", Card({"SOUND;BASE64:UklGRg==", ""}), "fn=noname\nkept=SOUND;BASE64:UklGRg==\n"},
      {"only the first card", Card({"FN:First"}) + Card({"FN:Second"}), "fn=First\n"},
      {"stored form kept as it comes", Card({"NOTE:a\x01\x01" "b\x02\x02" "c"}), "fn=noname\nnote=a\\nb\\;c\n"},
      {"line breaks of an address part stored", Card({"ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;a=0D=0Ab=0Ac"}),
       "fn=noname\nhome.adr=//a\\nb\\nc//// HOME POSTAL PARCEL\n"},
      {"long values cut at capacity", Card({"FN:" + std::string(300, 'x'), "TEL:" + std::string(60, '1')}),
       "fn=" + std::string(256, 'x') + "\nwork.voice=" + std::string(39, '1') + "\n"},
      // 127 units of room: 100 letters and 13 whole characters of two units each.
      {"a long Chinese value is not split", Card({"TITLE:" + std::string(100, 'a') + Repeat("\xE4\xB8\xAD", 20)}),
       "fn=noname\ntitle=" + std::string(100, 'a') + Repeat("\xE4\xB8\xAD", 13) + "\n"},
      {"the seventeenth e-mail is kept for the save", Card(emails), shownEmails},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ContactRecord record;
    ASSERT_EQ(ReadCardFromText(record, c.card), 1);
    EXPECT_EQ(testing::Shown(record), c.shown);
  }
}

// Media keep their bytes with a zero after them; a second read leaves nothing of the first.
TEST(ReadCardTest, SecondReadLeavesNothingOfTheFirst) {
  ContactRecord record;
  ASSERT_EQ(ReadCardFromText(record, Card({"FN:First", "EMAIL;AOL;PREF:a@x", "TEL;HOME:1", "SOUND;WAVE;BASE64:", "    UklGRgABAgM=",
                                           "", "ADR;HOME:;;Street", "X-A:b"})), 1);
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(record.soundData.data()), 9), std::string("RIFF\0\1\2\3\0", 9));
  ASSERT_EQ(ReadCardFromText(record, Card({"N:Second"})), 1);
  EXPECT_EQ(testing::Shown(record), "fn=Second\nn=Second//\n");
  EXPECT_EQ(record.preferredEmail, -1);
  EXPECT_TRUE(record.soundData.IsNull());
  EXPECT_EQ(record.emails[0].type, EMAIL_TYPE_INTERNET);
}

// A missing file is how a new card starts; a file that is no card is read as nothing.
TEST(ReadCardTest, FileOutcomes) {
  testing::TempFolder folder;
  ContactRecord record;
  record.formattedName = "stale";
  for (const std::string& path : {folder.File("VC1.vcf"), folder.Write("junk.vcf", "this is not a card\n")}) {
    EXPECT_EQ(ReadCard(record, path), 0);
    EXPECT_EQ(record.filePath, path);
    EXPECT_TRUE(record.formattedName.empty());
  }
  EXPECT_EQ(record.Load(folder.File("junk.vcf")), 1);  // Load reports 1 whatever it found
}

}  // namespace
}  // namespace ab
