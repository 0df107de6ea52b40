#pragma once
// Which fields a card file carries, and whether two records agree on them.

#include <string>

#include "contacts/ContactRecord.h"

namespace ab {

// `raw` as a card line holds it: UTF-8 (other bytes taken as Windows-1252),
// with the stored form for any line break (CR LF, CR or LF) and semicolon,
// and without NUL.
std::string CardSafeText(std::string_view raw);

// The record as its card file will hold it: texts card-safe (CardSafeText),
// slot flags that lead the reader back to the same slot, and each kept
// property that would find a free field on reading (a home number the user
// cleared, say) moved into that field.
void CanonicaliseForCard(const ContactRecord& source, ContactRecord& out);

// The first field, by name, in which `read` (the card read back) differs from
// `written` (the canonical record that was rendered); empty when they agree on
// every field the card carries.
std::string FirstCarriedDifference(const ContactRecord& written, const ContactRecord& read);

}  // namespace ab
