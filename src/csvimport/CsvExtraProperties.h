#pragma once
// What a CSV row tells about a contact beyond the record's fields: birthday,
// anniversary, categories and nickname, as complete card property lines to be
// kept with the card after the properties of the record's fields.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csvimport/CsvMapping.h"

namespace ab {

// A date as the exports write it, as YYYY-MM-DD: "1980-01-31", "1/31/1980"
// (month first unless the first number cannot be a month), "31.1.1980" or
// "31/01/1980". Empty for text that is no date, and for the exports' empty
// dates ("0.0.00", "1/0/00").
std::optional<std::string> CsvDateAsIso(std::string_view text);

// The lines for the row, in this order, each only when the row has it:
// "BDAY:1980-01-31" (from "Birthday", or from the year, month and day
// columns), "X-ANNIVERSARY:...", "CATEGORIES:a,b" (from a list separated by
// semicolons, commas or ":::", without web mail's own groups marked "*") and
// "NICKNAME:...". Values are in the stored form, as card lines hold them.
std::vector<std::string> CsvExtraProperties(const CsvRow& values, const CsvColumnMapping& mapping);

}  // namespace ab
