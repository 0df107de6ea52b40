// addressbook-cli as a black box: one run that works and one that fails per command.

#include <gtest/gtest.h>

#include <QProcess>
#include <regex>

#include "support/CardBuilders.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

TEST(CliTest, CommandsPrintTheirResultAndExitCode) {
  testing::TempFolder folder;
  const std::string cards = folder.path() + "/cards";
  // Two cards in one file, as other address books export them.
  folder.Write("outside.vcf", testing::Card({"FN:zoe", "EMAIL;PREF:z@x", "TEL;WORK;VOICE:1", "TEL;HOME:2"}) +
                                  testing::Card({"N:Adams;Al"}));
  folder.Write("junk.vcf", "junk");
  folder.Write("one.vcf", testing::Card({"N:Lee;Ann", "FN:Ann Lee", "NOTE:one\x01\x01two\x02\x02three", "EMAIL;INTERNET:a@x",
                                         "EMAIL;PREF;AOL:b@x", "TEL;HOME;FAX:9"}));
  folder.Write("in.csv", "First Name,Last Name,E-mail Address\r\nAnn,Lee,a@x\r\nBob,Ray,\r\n");
  const struct {
    std::vector<std::string> args;  // file names relative to the folder
    int exitCode;
    std::string out;  // a pattern for the whole output
    std::string errPart;
  } steps[] = {
      {{"import-vcard", "outside.vcf", "cards"}, 0, "2\n", ""},
      {{"import-vcard", "junk.vcf", "cards"}, 1, "0\n", "cannot be read"},
      {{"list", "cards"}, 0, "Adams Al\t\t\t\t\\S+\nzoe\tz@x\t1\t2\t" + cards + "/VC\\d+\\.vcf\n", ""},
      {{"export", "one.vcf", "exported.vcf"}, 0, "", ""},
      {{"export", "none.vcf", "x.vcf"}, 1, "", "cannot read"},
      // What was exported reads back whole; show prints it decoded.
      {{"show", "exported.vcf"}, 0, R"re(\{"formattedName":"Ann Lee",.*"note":"one\\r\\ntwo;three",.*"emails":\[\{"address":"a@x",)re"
       R"re(.*\{"address":"b@x",.*"homePhones":\[[^\]]*"number":"9".*"preferredEmail":1,.*\n)re", ""},
      {{"show", "none.vcf"}, 1, "", "cannot read"},
      {{"import-csv", "in.csv", "csv"}, 0, "(" + folder.path() + "/csv/VC\\d+\\.vcf\n){2}imported 2 contacts, 0 left out because the address book was full\n", ""},
      {{"import-csv", "absent.csv", "csv"}, 1, "", "can not open CSV file"},
      {{"export-csv", "csv", "out.csv"}, 0, "exported 2 contacts\n", ""},
      {{"export-csv", "absent", "out.csv"}, 1, "", "no card folder"},
      {{"frobnicate"}, 2, "", "usage"},
  };
  for (const auto& step : steps) {
    QStringList args{QString::fromStdString(step.args[0])};
    for (std::size_t i = 1; i < step.args.size(); ++i) args << QString::fromStdString(folder.File(step.args[i]));
    SCOPED_TRACE(args.join(' ').toStdString());
    QProcess process;
    process.start(AB_CLI_PATH, args);
    ASSERT_TRUE(process.waitForFinished(30000));
    const std::string err = process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), step.exitCode) << err;
    EXPECT_TRUE(std::regex_match(process.readAllStandardOutput().toStdString(), std::regex(step.out)));
    EXPECT_NE(err.find(step.errPart), std::string::npos) << err;
  }
  EXPECT_EQ(testing::TempFolder::Read(folder.File("out.csv")).rfind("\xEF\xBB\xBF\"First Name\",\"Last Name\",\"Display Name\",", 0), 0u);
}

}  // namespace
}  // namespace ab
