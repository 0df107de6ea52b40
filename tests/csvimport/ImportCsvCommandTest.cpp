// addressbook-cli import-csv: through its function, and through the program
// itself when this build has it.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CsvTestSupport.h"
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
  const auto printed = Lines(out);
  ASSERT_EQ(printed.size(), 2u);
  // The folder itself is the card folder: the cards sit right in it.
  EXPECT_EQ(std::set<std::string>(printed.begin(), printed.end()), FilesIn(folder));
  std::set<std::string> names;
  for (const std::string& path : printed) {
    EXPECT_EQ(std::filesystem::path(path).parent_path().string(), folder);
    ContactRecord card;
    ASSERT_EQ(ReadCard(card, path), 1);
    names.insert(card.formattedName.str());
  }
  EXPECT_EQ(names, (std::set<std::string>{"AnnLee", "BobRay"}));
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
  EXPECT_EQ(Lines(::testing::internal::GetCapturedStdout()).size(), 256u);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("full"), std::string::npos);
  EXPECT_EQ(FilesIn(folder).size(), 256u);

  // Run again on the full folder: nothing more.
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunImportCsv(csv, folder), kImportCsvFolderFull);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(FilesIn(folder).size(), 256u);
}

#ifdef AB_CLI_PATH
// Runs the program with arguments quoted for the shell; the exit status and stdout.
std::pair<int, std::string> RunCli(const std::string& args) {
  const std::string command = std::string("'") + AB_CLI_PATH + "' " + args + " 2>/dev/null";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return {-1, ""};
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(ImportCsvCommandCli, ImportsThroughTheProgram) {
  if (!std::filesystem::exists(AB_CLI_PATH)) GTEST_SKIP() << "addressbook-cli is not built";
  TempFolder temp;
  const std::string csv = temp.Write("in.csv", kCsv);
  const std::string folder = temp.path() + "/cards";
  const auto [rc, out] = RunCli("import-csv '" + csv + "' '" + folder + "'");
  EXPECT_EQ(rc, 0);
  const auto printed = Lines(out);
  EXPECT_EQ(std::set<std::string>(printed.begin(), printed.end()), FilesIn(folder));
  EXPECT_EQ(printed.size(), 2u);

  const auto [listRc, listing] = RunCli("list '" + folder + "'");
  EXPECT_EQ(listRc, 0);
  const auto rows = Lines(listing);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].substr(0, rows[0].find('\t')), "AnnLee");
  EXPECT_EQ(rows[1].substr(0, rows[1].find('\t')), "BobRay");

  EXPECT_NE(RunCli("import-csv '" + temp.File("absent.csv") + "' '" + folder + "'").first, 0);
}
#endif

}  // namespace
}  // namespace ab
