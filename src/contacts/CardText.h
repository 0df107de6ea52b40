#pragma once
// Repairs the raw text of a card file into a form the vObject parser reads
// safely: only the first card, one property per line, no value the parser
// would crash, hang or run away on. Nothing here calls the library.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ab {

// Card files larger than this are not read at all.
inline constexpr std::size_t kMaxCardFileBytes = 32u * 1024u * 1024u;

// The first BEGIN:VCARD ... END:VCARD of `raw`, rewritten with CR LF lines:
// - a UTF-8 byte-order mark is dropped, UTF-16 with a byte-order mark becomes UTF-8;
// - folded lines are joined; nested objects, blank lines and lines that are not
//   properties are dropped, and so is everything after the card;
// - parameters the parser cannot take (a value not starting with a letter, a
//   word with spaces) are dropped; TYPE=a,b becomes the bare words a and b;
//   ENCODING=B is BASE64;
// - QUOTED-PRINTABLE values are decoded and encoded again
//   canonically, and on N, ADR and ORG decoded into plain components;
// - BASE64 data is decoded (up to its padding) and handed over in
//   `attachments`; its property carries the parameter kAttachmentMarker
//   instead, and the k-th such property owns the k-th attachment;
// - NUL bytes are dropped, 0xFF (the parser's end of input) becomes '?', an
//   empty value becomes one space so that it does not swallow the next line.
// Empty when there is no complete card or the text is too large.
struct NormalizedCard {
  std::string text;
  std::vector<std::string> attachments;
};
inline constexpr std::string_view kAttachmentMarker = "X-ADDRESSBOOK-DATA";
std::optional<NormalizedCard> NormalizeCardText(std::string_view raw);

// Text that is not valid UTF-8 taken as Windows-1252 and converted, as the
// reader does with undeclared values.
std::string AsUtf8Text(std::string_view text);

}  // namespace ab
