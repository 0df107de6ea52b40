#pragma once
// Properties the record has no field for, kept as card text so that a save
// writes them back (ContactRecord::extraProperties): how a property of a card
// that was read becomes such a text, and how the writer appends them.

#include <string>
#include <string_view>
#include <vector>

namespace ab {

// The text a property of a card keeps, from its physical lines. A 2.1 card's
// property stays as it stands (folds, soft breaks and BASE64 lines included),
// only turned into UTF-8 where its plain value was in another character set.
// A property of version 3 or later (`modern`) is written the way 2.1 says:
// one line, TYPE lists as bare words, escapes undone, a value with line
// breaks quoted-printable, non-ASCII text marked CHARSET=UTF-8, BASE64 data
// in indented lines. Reading a card with such a text gives the same text back.
std::string KeptPropertyText(const std::vector<std::string_view>& lines, bool modern);

// Appends each kept property to card text with CR LF (and a blank line after
// BASE64 data, which ends it); line breaks inside them become CR LF.
void AppendExtraProperties(std::string& text, const std::vector<std::string>& extras);

}  // namespace ab
