#include <gtest/gtest.h>

#include "contacts/ByteScan.h"
#include "contacts/CardEncoding.h"

namespace ab {
namespace {

// The sixteen-byte scan must agree with the BASE64 table for every byte, in
// every place of a line: inside a block, at its edges, in the overlapping last
// block, and in a line shorter than a block.
TEST(ByteScanTest, DataLinesAgreeWithTheBase64Table) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool data = kBase64Table[static_cast<std::size_t>(byte)] != kBase64Other;
    for (const std::size_t length : {5, 40}) {
      for (std::size_t place = 0; place < length; ++place) {
        std::string line(length, 'Q');
        line[place] = static_cast<char>(byte);
        ASSERT_EQ(IsBase64DataLine(line), data) << "byte " << byte << " at " << place << " of " << length;
      }
    }
  }
  EXPECT_TRUE(IsBase64DataLine(""));
}

}  // namespace
}  // namespace ab
