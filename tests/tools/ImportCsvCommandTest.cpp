// addressbook-cli import-csv through its function: what the command line does
// not reach cheaply, a file in the card folder's place and a folder filling up.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "support/CsvTestSupport.h"
#include "tools/ImportCsvCommand.h"

namespace ab {
namespace {

using testing::QuotedLine;
using testing::TempFolder;

TEST(ImportCsvCommand, NeverDeletesAFileInTheFoldersPlaceAndReportsAFullFolder) {
  TempFolder temp;
  std::string bytes = QuotedLine({"First Name"}) + "\r\n";
  for (int i = 0; i < 260; ++i) bytes += QuotedLine({"P" + std::to_string(i), "x"}) + "\r\n";
  const std::string csv = temp.Write("many.csv", bytes);

  const std::string blocker = temp.Write("cards", "not a folder");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunImportCsv(csv, blocker), kImportCsvFailed);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("card folder"), std::string::npos) << err;
  EXPECT_EQ(TempFolder::Read(blocker), "not a folder");

  const std::string full = temp.path() + "/new/full";  // made, parents included
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunImportCsv(csv, full), kImportCsvFolderFull);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("\nimported 256 contacts, 4 left out because the address book was full\n"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(full), {}), 256);
}

}  // namespace
}  // namespace ab
