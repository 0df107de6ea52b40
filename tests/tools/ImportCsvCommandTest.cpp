// addressbook-cli import-csv through its function.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/CsvTestSupport.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "tools/ImportCsvCommand.h"

namespace ab {
namespace {

using testing::QuotedLine;
using testing::TempFolder;

const std::string kCsv = QuotedLine({"First Name", "Last Name", "E-mail Address"}) + "\r\n" +
                         QuotedLine({"Ann", "Lee", "ann@example.com"}) + "\r\n" +
                         QuotedLine({"Bob", "Ray", "bob@example.com"}) + "\r\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files.insert(entry.path().string());
  return files;
}

TEST(ImportCsvCommand, ImportsIntoTheFolderAndPrintsEachCard) {
  TempFolder temp;
  const std::string csv = temp.Write("in.csv", kCsv);
  const std::string folder = temp.path() + "/new/cards";  // made, parents included

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int rc = RunImportCsv(csv, folder);
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(rc, 0);
  EXPECT_EQ(err, "");
  auto printed = Lines(out);
  ASSERT_EQ(printed.size(), 3u);
  EXPECT_EQ(printed.back(), "imported 2 contacts, 0 left out because the address book was full");
  printed.pop_back();
  // The folder itself is the card folder: the cards sit right in it.
  EXPECT_EQ(std::set<std::string>(printed.begin(), printed.end()), FilesIn(folder));
  std::set<std::string> names;
  for (const std::string& path : printed) {
    EXPECT_EQ(std::filesystem::path(path).parent_path().string(), folder);
    ContactRecord card;
    ASSERT_EQ(ReadCard(card, path), 1);
    names.insert(card.formattedName.str());
  }
  EXPECT_EQ(names, (std::set<std::string>{"Ann Lee", "Bob Ray"}));
}

TEST(ImportCsvCommand, MissingCsvFileFails) {
  TempFolder temp;
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int rc = RunImportCsv(temp.File("absent.csv"), temp.path() + "/cards");
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(rc, kImportCsvFailed);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("can not open CSV file"), std::string::npos) << err;
  EXPECT_NE(err.find("absent.csv"), std::string::npos) << err;
}

TEST(ImportCsvCommand, FileInPlaceOfTheFolderFails) {
  TempFolder temp;
  const std::string csv = temp.Write("in.csv", kCsv);
  const std::string blocker = temp.Write("cards", "not a folder");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunImportCsv(csv, blocker), kImportCsvFailed);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("card folder"), std::string::npos);
  EXPECT_EQ(TempFolder::Read(blocker), "not a folder");  // never deleted
}

TEST(ImportCsvCommand, FolderFillingUpIsReported) {
  TempFolder temp;
  std::string bytes = QuotedLine({"First Name"}) + "\r\n";
  for (int i = 0; i < 260; ++i) bytes += QuotedLine({"P" + std::to_string(i), "x"}) + "\r\n";
  const std::string csv = temp.Write("in.csv", bytes);
  const std::string folder = temp.path() + "/cards";

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunImportCsv(csv, folder), kImportCsvFolderFull);
  auto printed = Lines(::testing::internal::GetCapturedStdout());
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed.size(), 257u);
  EXPECT_EQ(printed.back(), "imported 256 contacts, 4 left out because the address book was full");
  EXPECT_EQ(FilesIn(folder).size(), 256u);

  // Run again on the full folder: nothing more.
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunImportCsv(csv, folder), kImportCsvFolderFull);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "imported 0 contacts, 260 left out because the address book was full\n");
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(FilesIn(folder).size(), 256u);
}


}  // namespace
}  // namespace ab
