#pragma once
// Reading a card file into a ContactRecord, property by property.

#include <string>
#include <string_view>

#include "contacts/CardText.h"
#include "contacts/ContactRecord.h"

typedef struct VObject VObject;

namespace ab {

// Clears the record, takes the path as its filePath and maps the first card of
// the file. 1 when a card was parsed; 0 for a blank path, a missing file or a
// file that cannot be read safely (the record is then empty but for filePath).
int ReadCard(ContactRecord& record, const std::string& path);
// ReadCard for what a table row shows: every text field as ReadCard fills it,
// the attachments left empty (their data is not even decoded) and no
// extraProperties.
int ReadCardFields(ContactRecord& record, const std::string& path);

// The same mapping from card text held in memory; filePath is left empty.
int ReadCardFromText(ContactRecord& record, std::string_view text);

// A card without FN gets its display name from N: the family name, a blank
// and the given name, or "noname" without either.
void SupplyDisplayName(ContactRecord& record);

// Maps the properties of the first object of `text` into the record as it is
// (nothing is cleared, no display name made) and appends every property it
// does not map to extraProperties (not when the attachments are Skipped).
// False when no object could be parsed.
bool MapCardText(ContactRecord& record, std::string_view text,
                 AttachmentData attachments = AttachmentData::Decoded);

// Maps one property (and the components of N, ADR and ORG) into the record.
// A field or slot already holding another value is not overwritten: the
// first property for it wins. False when the property is not mapped (no
// field for it, no room, a taken slot, an attachment without data); the
// caller then keeps it as it stands.
bool ApplyProperty(ContactRecord& record, const char* name, VObject* property);

// Sets the bit of every sub-property named by a type word; never clears one.
void CollectTypeFlags(VObject* property, TypeFlags& flags);

}  // namespace ab
