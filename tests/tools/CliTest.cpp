#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "contacts/VCardReader.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

struct CliResult {
  int exitCode;
  QByteArray out;
  QByteArray err;
};

CliResult Cli(const QStringList& args) {
  QProcess process;
  process.start(AB_CLI_PATH, args);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
          process.readAllStandardError()};
}

// A 2 x 3 pixel 24-bit BMP.
std::string TinyBmp() {
  std::string bmp(54 + 3 * 8, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[2] = static_cast<char>(bmp.size());
  bmp[10] = 54;
  bmp[14] = 40;
  bmp[18] = 2;
  bmp[22] = 3;
  bmp[26] = 1;
  bmp[28] = 24;
  return bmp;
}

std::string Base64(const std::string& bytes) {
  return QByteArray::fromStdString(bytes).toBase64().toStdString();
}

TEST(CliTest, ShowPrintsEveryFieldDecoded) {
  testing::TempFolder folder;
  const std::string card = folder.Write(
      "VC1.vcf", "BEGIN:VCARD\r\nN:Lee;Ann\r\nFN:Ann Lee\r\nNOTE:one\x01\x01two\x02\x02three\r\n"
                 "EMAIL;INTERNET:a@x\r\nEMAIL;PREF;AOL:b@x\r\nTEL;HOME;FAX:9\r\nADR;HOME:;;Street\r\n"
                 "URL;HOME:http://h\r\nPHOTO;BMP;BASE64:\r\n    " + Base64(TinyBmp()) + "\r\n\r\nEND:VCARD\r\n");
  const CliResult run = Cli({"show", QString::fromStdString(card)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(run.out).object();
  EXPECT_EQ(o["formattedName"].toString(), "Ann Lee");
  EXPECT_EQ(o["familyName"].toString(), "Lee");
  EXPECT_EQ(o["note"].toString(), "one\r\ntwo;three");
  EXPECT_EQ(o["emailCount"].toInt(), 2);
  EXPECT_EQ(o["preferredEmail"].toInt(), 1);
  const QJsonArray emails = o["emails"].toArray();
  ASSERT_EQ(emails.size(), 2);
  EXPECT_EQ(emails[1].toObject()["address"].toString(), "b@x");
  EXPECT_EQ(emails[1].toObject()["type"].toInt(), 0);
  EXPECT_EQ(emails[1].toObject()["flags"].toInt(), 0x200);
  ASSERT_EQ(o["homePhones"].toArray().size(), 6);
  EXPECT_EQ(o["homePhones"].toArray()[1].toObject()["number"].toString(), "9");
  EXPECT_EQ(o["workPhones"].toArray().size(), 4);
  EXPECT_EQ(o["addresses"].toArray()[1].toObject()["street"].toString(), "Street");
  EXPECT_EQ(o["addresses"].toArray()[0].toObject()["flags"].toInt(), 0xC00);
  EXPECT_EQ(o["urls"].toArray()[1].toObject()["url"].toString(), "http://h");
  EXPECT_EQ(o["photoSize"].toInt(), static_cast<int>(TinyBmp().size()));
  EXPECT_EQ(o["logoSize"].toInt(), 0);
  EXPECT_EQ(o["soundSize"].toInt(), 0);
  EXPECT_EQ(o["logoWidth"].toInt(), 0);
  for (const char* key : {"givenName", "additionalNames", "orgName", "orgUnit", "title", "domesticLabel",
                          "otherLabel", "labelFlags", "photoWidth", "photoHeight", "logoHeight"})
    EXPECT_TRUE(o.contains(key)) << key;
}

TEST(CliTest, ShowFailsOnAFileThatIsNoCard) {
  testing::TempFolder folder;
  const CliResult missing = Cli({"show", QString::fromStdString(folder.File("none.vcf"))});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_FALSE(missing.err.isEmpty());
  const CliResult junk = Cli({"show", QString::fromStdString(folder.Write("x.vcf", "junk"))});
  EXPECT_EQ(junk.exitCode, 1);
  EXPECT_TRUE(junk.out.isEmpty());
  EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
}

TEST(CliTest, ListPrintsSortedRowsAndImportExportRoundTrip) {
  testing::TempFolder folder;
  const std::string cards = folder.path() + "/cards";
  // Two cards in one file, as other address books export them.
  const std::string outside = folder.Write(
      "outside.vcf", "BEGIN:VCARD\r\nFN:zoe\r\nEMAIL;PREF:z@x\r\nTEL;WORK;VOICE:1\r\nTEL;HOME:2\r\nEND:VCARD\r\n"
                     "BEGIN:VCARD\r\nN:Adams;Al\r\nEND:VCARD\r\n");

  const CliResult imported = Cli({"import-vcard", QString::fromStdString(outside), QString::fromStdString(cards)});
  ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
  EXPECT_EQ(imported.out, "2\n");
  const CliResult junk = Cli({"import-vcard", QString::fromStdString(folder.Write("junk.vcf", "junk")),
                              QString::fromStdString(cards)});
  EXPECT_EQ(junk.exitCode, 1);
  EXPECT_EQ(junk.out, "0\n");

  const CliResult list = Cli({"list", QString::fromStdString(cards)});
  ASSERT_EQ(list.exitCode, 0);
  const QList<QByteArray> lines = list.out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("Adams Al\t\t\t\t"));
  EXPECT_TRUE(lines[1].startsWith("zoe\tz@x\t1\t2\t" + cards + "/VC"));
  const std::string importedCard = lines[1].split('\t').last().toStdString();

  const std::string exported = folder.File("exported.vcf");
  ASSERT_EQ(Cli({"export", QString::fromStdString(importedCard), QString::fromStdString(exported)}).exitCode, 0);
  ContactRecord record;
  ASSERT_EQ(ReadCard(record, exported), 1);
  EXPECT_EQ(record.formattedName, "zoe");
  EXPECT_EQ(record.HomePhone(), "2");
}

TEST(CliTest, CsvImportAndExportPrintTheirCounts) {
  testing::TempFolder folder;
  const auto arg = [](const std::string& text) { return QString::fromStdString(text); };
  const QString cards = arg(folder.path() + "/cards");
  const QString csv = arg(folder.Write("in.csv", "First Name,Last Name,E-mail Address\r\nAnn,Lee,a@x\r\nBob,Ray,\r\n"));
  const QString out = arg(folder.File("out.csv"));
  struct Step {
    QStringList args;
    int exitCode;
    QByteArray outEnd;
    QByteArray errPart;
  };
  const Step steps[] = {
      {{"import-csv", csv, cards}, 0, "imported 2 contacts, 0 left out because the address book was full\n", ""},
      {{"import-csv", arg(folder.File("absent.csv")), cards}, 1, "", "can not open CSV file"},
      {{"export-csv", cards, out}, 0, "exported 2 contacts\n", ""},
      {{"export-csv", arg(folder.File("absent")), out}, 1, "", "no card folder"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.args.join(' ').toStdString());
    const CliResult run = Cli(step.args);
    EXPECT_EQ(run.exitCode, step.exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(step.outEnd)) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(step.errPart)) << run.err.toStdString();
  }
  const std::string exported = testing::TempFolder::Read(out.toStdString());
  EXPECT_EQ(exported.rfind("\xEF\xBB\xBF\"First Name\",\"Last Name\",\"Display Name\",", 0), 0u);
  EXPECT_NE(exported.find("\r\n\"Ann\",\"Lee\",\"Ann Lee\","), std::string::npos);
}

}  // namespace
}  // namespace ab
