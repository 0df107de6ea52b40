// Feeds arbitrary bytes to the guarded card reader. Besides crashes, hangs and
// memory blow-ups it checks that whatever reads as a card can be written and
// read back, and that the fields-only read the folder load uses lists the
// same row as the whole read.
//
// The write check leaves out texts of kMaxParsedProperties lines and more:
// properties past the parser's share are kept as text, and in a rewritten
// card, where the kept ones follow the fields, they may fall within it and
// map; the writer then refuses the card rather than write it differently.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "contacts/CardStore.h"
#include "contacts/CardText.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

namespace {

bool SameRow(const ab::ContactRow& a, const ab::ContactRow& b) {
  return a.displayName.view() == b.displayName.view() && a.email.view() == b.email.view() &&
         a.workPhone.view() == b.workPhone.view() && a.homePhone.view() == b.homePhone.view();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ab::ContactRecord record;
  static ab::ContactRecord fields;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool read = ab::ReadCardFromText(record, text) == 1;
  const auto lines = std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
  const bool withinParser = static_cast<std::size_t>(lines) < ab::kMaxParsedProperties;
  if (read && withinParser && ab::RenderCardFile(record).empty()) std::abort();

  fields.Clear();
  fields.currentAddress = ab::SLOT_BUSINESS;
  const bool fieldsRead = ab::MapCardText(fields, text, ab::AttachmentData::Skipped);
  if (fieldsRead != read) std::abort();
  if (read) {
    ab::SupplyDisplayName(fields);
    ab::ContactRow whole, listed;
    ab::FillRowOf(record, whole);
    ab::FillRowOf(fields, listed);
    if (!SameRow(whole, listed)) std::abort();
  }
  return 0;
}
