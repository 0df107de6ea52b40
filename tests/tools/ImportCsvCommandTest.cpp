// addressbook-cli import-csv through its function.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/CsvTestSupport.h"
#include "tools/ImportCsvCommand.h"

namespace ab {
namespace {

using testing::QuotedLine;
using testing::TempFolder;

struct Printed {
  int rc;
  std::vector<std::string> out;  // the lines printed
  std::string err;
};

Printed ImportCsv(const std::string& csv, const std::string& folder) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  Printed run{RunImportCsv(csv, folder), {}, ""};
  std::istringstream out(::testing::internal::GetCapturedStdout());
  for (std::string line; std::getline(out, line);) run.out.push_back(line);
  run.err = ::testing::internal::GetCapturedStderr();
  return run;
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files.insert(entry.path().string());
  return files;
}

TEST(ImportCsvCommand, ImportsIntoTheFolderAndPrintsEachCardTillItIsFull) {
  TempFolder temp;
  const std::string csv = temp.Write("in.csv", QuotedLine({"First Name", "Last Name"}) + "\r\n" +
                                                   QuotedLine({"Ann", "Lee"}) + "\r\n" + QuotedLine({"Bob", "Ray"}) + "\r\n");
  const std::string folder = temp.path() + "/new/cards";  // made, parents included
  Printed run = ImportCsv(csv, folder);
  EXPECT_EQ(run.rc, 0);
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(run.out.size(), 3u);
  run.out.pop_back();  // the summary the command-line test reads
  // The folder itself is the card folder: the cards sit right in it.
  EXPECT_EQ(std::set<std::string>(run.out.begin(), run.out.end()), FilesIn(folder));

  // A file in the folder's place is never deleted.
  const std::string blocker = temp.Write("cards", "not a folder");
  run = ImportCsv(csv, blocker);
  EXPECT_EQ(run.rc, kImportCsvFailed);
  EXPECT_NE(run.err.find("card folder"), std::string::npos) << run.err;
  EXPECT_EQ(TempFolder::Read(blocker), "not a folder");

  // A folder filling up is reported.
  std::string bytes = QuotedLine({"First Name"}) + "\r\n";
  for (int i = 0; i < 260; ++i) bytes += QuotedLine({"P" + std::to_string(i), "x"}) + "\r\n";
  const std::string full = temp.path() + "/full";
  run = ImportCsv(temp.Write("many.csv", bytes), full);
  EXPECT_EQ(run.rc, kImportCsvFolderFull);
  EXPECT_EQ(run.out.size() == 257u ? run.out.back() : "", "imported 256 contacts, 4 left out because the address book was full");
  // Run again on the full folder: nothing more.
  run = ImportCsv(temp.File("many.csv"), full);
  EXPECT_EQ(run.rc, kImportCsvFolderFull);
  EXPECT_EQ(run.out, std::vector<std::string>{"imported 0 contacts, 260 left out because the address book was full"});
  EXPECT_EQ(FilesIn(full).size(), 256u);
}

}  // namespace
}  // namespace ab
