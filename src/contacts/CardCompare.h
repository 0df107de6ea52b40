#pragma once
// Which fields a card file carries, and whether two records agree on them.

#include <string>

#include "contacts/ContactRecord.h"

namespace ab {

// The record as its card file will hold it: texts in the stored form (line
// breaks as 0x01 0x01, semicolons as 0x02 0x02, whatever their origin),
// without the leading blanks and bytes a card line cannot carry, and with slot
// flags that lead the reader back to the same slot.
void CanonicaliseForCard(const ContactRecord& source, ContactRecord& out);

// The first field, by name, in which `read` (the card read back) differs from
// `written` (the canonical record that was rendered); empty when they agree on
// every field the card carries.
std::string FirstCarriedDifference(const ContactRecord& written, const ContactRecord& read);

}  // namespace ab
