// Feeds arbitrary bytes to the guarded card reader. Besides crashes, hangs and
// memory blow-ups it checks that whatever reads as a card can be written and
// read back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ab::ContactRecord record;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (ab::ReadCardFromText(record, text) == 1 && ab::RenderCardFile(record).empty()) std::abort();
  return 0;
}
