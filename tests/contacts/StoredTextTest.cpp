#include "contacts/StoredText.h"

#include <gtest/gtest.h>

#include "contacts/ContactRecord.h"

namespace ab {
namespace {

struct ConversionCase {
  const char* name;
  std::string plain;
  std::string stored;
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }


class EncodeTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(EncodeTest, EncodesToStoredForm) { EXPECT_EQ(EncodeStoredText(GetParam().plain), GetParam().stored); }

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeTest,
    ::testing::Values(ConversionCase{"unchanged", "plain text", "plain text"},
                      ConversionCase{"semicolon", "x;y", "x\x02\x02y"},
                      ConversionCase{"lineBreak", "a\r\nb", "a\x01\x01" "b"},
                      ConversionCase{"loneCrKept", "a\rb;", "a\rb\x02\x02"},
                      ConversionCase{"loneLfKept", "a\nb", "a\nb"},
                      ConversionCase{"crAtEnd", "a;\r", "a\x02\x02\r"},
                      ConversionCase{"both", ";\r\n;", "\x02\x02\x01\x01\x02\x02"}),
    [](const auto& test) { return std::string(test.param.name); });

class DecodeTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(DecodeTest, DecodesStoredForm) { EXPECT_EQ(DecodeStoredText(GetParam().stored), GetParam().plain); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTest,
    ::testing::Values(ConversionCase{"semicolon", "x;y", "x\x02\x02y"},
                      // Without a marker byte a tab is left alone; with one it becomes a space.
                      ConversionCase{"tabWithoutMarker", "a\tb", "a\tb"},
                      ConversionCase{"tabWithMarker", "a b\r\n", "a\tb\x01\x01"},
                      ConversionCase{"loneMarkerKept", "a\x01" "b", "a\x01" "b"},
                      ConversionCase{"loneMarkerAtEnd", "a\r\n\x02", "a\x01\x01\x02"},
                      ConversionCase{"threeMarkers", "\r\n\x01", "\x01\x01\x01"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(StoredTextTest, DecodingUndoesEncoding) {
  const std::string plain = "Line one; more\r\nLine two;\r\n";
  EXPECT_EQ(DecodeStoredText(EncodeStoredText(plain)), plain);
}

TEST(StoredTextTest, BlankAndCharPosition) {
  EXPECT_TRUE(IsBlank(static_cast<const char*>(nullptr)));
  EXPECT_TRUE(IsBlank(""));
  EXPECT_FALSE(IsBlank(" "));
  EXPECT_EQ(CharPosition("xyz", 'z'), 3);
  EXPECT_EQ(CharPosition("xyz", 'x'), 1);
  EXPECT_EQ(CharPosition("xyz", 'q'), -1);
}

TEST(ContactRecordTest, ClearRestoresEveryDefault) {
  ContactRecord record;
  record.formattedName = "Someone";
  record.emails[3].type = 0;
  record.emails[3].flags = FLAG_PREF;
  record.addresses[1].flags = 0;
  record.preferredEmail = 3;
  record.emailCount = 4;
  record.labelFlags = FLAG_HOME;
  record.SetPhoto(ByteBuffer::Copy("BM", 2));
  record.SetSound(ByteBuffer::Copy("RIFF", 4));
  ASSERT_TRUE(record.photoPicture);

  record.Clear();
  EXPECT_TRUE(record.formattedName.empty());
  for (const auto& email : record.emails) {
    EXPECT_EQ(email.type, EMAIL_TYPE_INTERNET);
    EXPECT_EQ(email.flags, 0u);
  }
  for (const auto& address : record.addresses) EXPECT_EQ(address.flags, 0xC00u);
  EXPECT_EQ(record.preferredEmail, -1);
  EXPECT_EQ(record.emailCount, 0);
  EXPECT_EQ(record.labelFlags, 0u);
  EXPECT_TRUE(record.photoData.IsNull());
  EXPECT_TRUE(record.soundData.IsNull());
  EXPECT_FALSE(record.photoPicture);
  EXPECT_EQ(record.photoSize, 0);
  EXPECT_EQ(record.soundSize, 0);
}

TEST(ContactRecordTest, AccessorsReadTheirSlots) {
  ContactRecord record;
  record.workPhones[PHONE_VOICE].number = "555-1";
  record.workPhones[PHONE_FAX].number = "555-2";
  record.homePhones[PHONE_VOICE].number = "555-3";
  record.emails[1].address = "b@example.org";
  record.emailCount = 2;
  record.preferredEmail = 1;
  EXPECT_EQ(record.WorkPhone(), "555-1");
  EXPECT_EQ(record.HomePhone(), "555-3");
  EXPECT_EQ(record.PreferredEmail(), "b@example.org");
}

}  // namespace
}  // namespace ab
