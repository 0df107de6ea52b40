// Records and values of CSV files as spreadsheets and mail programs write them.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/CsvTestSupport.h"
#include "csvimport/CsvReader.h"

namespace ab {
namespace {

using testing::TempFolder;
using Records = std::vector<CsvRow>;

TEST(CsvReader, RecordsOfFiles) {
  struct Case {
    const char* name;
    std::string bytes;
    Records records;
  };
  const Case cases[] = {
      {"quoted values hold commas and doubled quotes", "\"a, b\",\"say \"\"hi\"\"\",\"\"\r\n",
       {{"a, b", "say \"hi\"", ""}}},
      {"unquoted and empty values", "a,,b,\n", {{"a", "", "b", ""}}},
      {"line breaks inside quotes", "\"one\r\ntwo\",x\n\"three\nfour\",y\n\"five\rsix\",z",
       {{"one\ntwo", "x"}, {"three\nfour", "y"}, {"five\rsix", "z"}}},
      {"CR, LF and CR LF line ends, last line without one", "a\rb\nc\r\nd", {{"a"}, {"b"}, {"c"}, {"d"}}},
      {"an empty line is one empty value", "a,b\n\nc,d\n", {{"a", "b"}, {""}, {"c", "d"}}},
      {"tab-separated heading line", "First Name\tLast Name\n\"A\tB\"\tC,D\n", {{"First Name", "Last Name"}, {"A\tB", "C,D"}}},
      {"semicolon-separated heading line", "Name;Mail\nAnn;a@x\n", {{"Name", "Mail"}, {"Ann", "a@x"}}},
      {"0x1A ends the data", "a\n\x1A" "b\n", {{"a"}}},
      {"a quote left open takes the rest of the file", "\"a,b\nc\n", {{"a,b\nc\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    CsvReader reader(folder.Write("in.csv", c.bytes), nullptr);
    Records records;
    for (CsvRow values; reader.NextRow(values);) records.push_back(values);
    EXPECT_EQ(records, c.records);
  }
}

TEST(CsvReader, FilesThatAreNotReadShowWhy) {
  TempFolder folder;
  const std::string fifo = folder.File("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // opening it must not wait for a writer
  const std::string large = folder.Write("large.csv", "a,b\n");
  ASSERT_EQ(::truncate(large.c_str(), static_cast<off_t>(CsvTextFile::kMaxFileBytes + 1)), 0);
  const std::pair<std::string, std::string_view> cases[] = {
      {folder.File("missing.csv"), kCsvOpenErrorText}, {fifo, kCsvOpenErrorText}, {large, kCsvTooLargeText}};
  for (const auto& [path, why] : cases) {
    SCOPED_TRACE(path);
    std::string shown;
    CsvReader reader(path,
                     [&](std::string_view text, std::string_view caption) { shown += std::string(caption) + "|" + std::string(text); });
    CsvRow values;
    EXPECT_FALSE(reader.IsOpen() || reader.NextRow(values));
    EXPECT_EQ(shown, "IMPORT ERROR|" + std::string(why));
  }
}

}  // namespace
}  // namespace ab
