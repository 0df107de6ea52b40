#pragma once
// Writing a ContactRecord as a card file, in the program's fixed property order.

#include <string>

#include "contacts/ContactRecord.h"

typedef struct VObject VObject;

namespace ab {

class SyncBatch;

// The VCARD object for the record, or null when the library cannot make one.
// The caller releases it with cleanVObject.
VObject* BuildVCard(const ContactRecord& record);

// The bytes of the card file: the rendered text with CR LF line ends and one
// trailing zero byte; empty when the card cannot be rendered or would not
// read back into the same fields.
std::string RenderCardFile(const ContactRecord& record);

// Writes the card file, replacing any file of that name atomically. 1 on
// success, 0 on failure (the old file, if any, is then untouched).
int SaveAs(const ContactRecord& record, const std::string& path);
inline int Save(const ContactRecord& record) { return SaveAs(record, record.filePath.str()); }

// Writes the record as a new card at its filePath (a name from
// MakeCardFileName) without ever replacing a file: when another writer took
// that name meanwhile, a fresh name of the same folder is used and stored in
// the record's filePath. 1 on success, 0 on failure (nothing is left behind).
// With a `batch`, the card is durable only once the batch is flushed.
int SaveNew(ContactRecord& record, SyncBatch* batch = nullptr);

}  // namespace ab
