#include <gtest/gtest.h>

#include <filesystem>

#include "contacts/AtomicFile.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::TempFolder;

// The table rows come from the fields-only read; they must be the rows the
// full read gives, whatever the attachments look like.
TEST(CardLoadPathsTest, FieldsOnlyReadGivesTheRowsOfTheFullRead) {
  const std::string photo = "PHOTO;ENCODING=BASE64;TYPE=BMP:Qk0eAAAAAAAAABoAAAAMAAAAAQABAAEAGAAAAP8A\r\n";
  const struct {
    const char* name;
    std::string body;
  } cases[] = {
      {"photo before the names", photo + "FN:Ann Lee\r\nEMAIL;PREF:ann@example.org\r\n"},
      {"folded data, a blank line, then names", "PHOTO;BASE64:\r\n  Qk0eAAAA\r\n  AAAAABoA\r\n\r\nN:Lee;Ann\r\nTEL;WORK:1\r\n"},
      {"padding inside the data", "LOGO;BASE64:QUJD=REVG\r\n RUZH\r\nFN:Bo\r\nTEL;HOME:2\r\n"},
      {"lone CR line ends", "FN:Cy\rSOUND;WAVE;BASE64:UklGRg==\rEMAIL;PREF:cy@example.org\r"},
      {"data URI", "PHOTO;VALUE=uri:data:image/bmp;base64,Qk0eAAAA\r\nFN:Di\r\n"},
      {"data that breaks off", "PHOTO;BASE64:Qk0e\r\nnot data\r\nFN:Ed\r\n"},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write("card.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\n" + c.body + "END:VCARD\r\n");
    ContactRecord full, fields;
    ASSERT_EQ(ReadCard(full, path), 1);
    ASSERT_EQ(ReadCardFields(fields, path), 1);
    ContactRow fullRow, fieldsRow;
    FillRowOf(full, fullRow);
    FillRowOf(fields, fieldsRow);
    const auto shown = [](const ContactRow& row) {
      return row.displayName.str() + "|" + row.email.str() + "|" + row.workPhone.str() + "|" + row.homePhone.str() + "|" +
             row.filePath.str();
    };
    EXPECT_EQ(shown(fieldsRow), shown(fullRow));
    EXPECT_TRUE(fields.photoData.IsNull() && fields.logoData.IsNull() && fields.soundData.IsNull());
  }
}

TEST(CardLoadPathsTest, BatchedFilesAreNamedAtOnceAndFlushedTogether) {
  TempFolder folder;
  SyncBatch batch;
  EXPECT_EQ(CreateFileExclusively(folder.File("VC1.vcf"), "one", &batch), CreateResult::Created);
  EXPECT_EQ(CreateFileExclusively(folder.File("VC1.vcf"), "two", &batch), CreateResult::NameTaken);
  EXPECT_EQ(CreateFileExclusively(folder.File("VC2.vcf"), "two", &batch), CreateResult::Created);
  EXPECT_EQ(TempFolder::Read(folder.File("VC1.vcf")), "one");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
  EXPECT_TRUE(batch.Flush());
  EXPECT_TRUE(batch.IsEmpty());

  // A file that is gone before the flush cannot be made durable.
  EXPECT_EQ(CreateFileExclusively(folder.File("VC3.vcf"), "three", &batch), CreateResult::Created);
  std::filesystem::remove(folder.File("VC3.vcf"));
  EXPECT_FALSE(batch.Flush());
}

}  // namespace
}  // namespace ab
