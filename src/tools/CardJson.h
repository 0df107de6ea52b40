#pragma once
// A contact record as one JSON object whose keys are the record's field names.

#include <string>

#include "contacts/ContactRecord.h"

namespace ab {

// Texts are decoded from the stored form; picture sizes are those of the
// decoded pictures, 0 when there is none.
std::string RecordToJson(const ContactRecord& record);

}  // namespace ab
