#include <gtest/gtest.h>

#include "contacts/ByteScan.h"
#include "contacts/CardEncoding.h"

namespace ab {
namespace {

// The sixteen-byte scan must agree with the BASE64 table for every byte, in
// every place of a line: inside a block, at its edges and in the tail.
TEST(ByteScanTest, DataLinesAgreeWithTheBase64Table) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool data = kBase64Table[static_cast<std::size_t>(byte)] != kBase64Other;
    for (std::size_t place = 0; place < 40; ++place) {
      std::string line(40, 'Q');
      line[place] = static_cast<char>(byte);
      ASSERT_EQ(IsBase64DataLine(line), data) << "byte " << byte << " at " << place;
    }
  }
  EXPECT_TRUE(IsBase64DataLine(""));
}

}  // namespace
}  // namespace ab
