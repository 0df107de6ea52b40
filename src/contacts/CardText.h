#pragma once
// Repairs the raw text of a card file into a form the vObject parser reads
// safely: only the first card, one property per line, no value the parser
// would crash, hang or run away on, and only the properties the reader maps.
// Nothing here calls the library.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ab {

// Card files larger than this are not read at all.
inline constexpr std::size_t kMaxCardFileBytes = 32u * 1024u * 1024u;

// The parser's stack holds about 490 properties; the rest of a longer card is
// kept aside (see SourceProperty).
inline constexpr std::size_t kMaxParsedProperties = 400;

// Put before the blanks a value or a component starts with, which the parser
// would drop; the guard takes it away again when it hands the value out.
inline constexpr char kLeadingBlanksMarker = '\x03';

// One property of the source card: its physical lines, and whether the parser
// gets it. Properties the reader has no field for (and any beyond
// kMaxParsedProperties) never reach the parser; they are kept as they stand.
struct SourceProperty {
  std::size_t firstLine = 0;
  std::size_t endLine = 0;  // one past its last line
  bool toParser = false;
};

// The first object of `raw` (any BEGIN:<name> ... END), rewritten as a VCARD
// with CR LF lines:
// - the file is taken as UTF-8 (UTF-16 with or without a mark converted),
//   lines end at CR LF, CR CR LF, LF or a lone CR;
// - folded lines are joined; nested objects, blank lines, lines that are not
//   properties, VERSION and everything after the object are dropped;
// - parameters the parser cannot take (a value not starting with a letter, a
//   word with spaces, any past the 32nd) are dropped; TYPE=a,b becomes the
//   bare words a and b, PREF=1 the word PREF; ENCODING=B is BASE64;
// - leading blanks of a value or component get kLeadingBlanksMarker; a
//   semicolon that separates no mapped component takes the stored form;
// - QUOTED-PRINTABLE values are decoded and encoded again canonically, and on
//   N, ADR and ORG decoded into plain components; backslash escapes are
//   undone (version 3 and later: all of them; 2.1: \; \\ \: in N, ADR and
//   ORG, where a line ending in a backslash also goes on on the next line);
// - BASE64 data and data: URIs are decoded (up to the padding) and handed
//   over in `attachments`; the property carries kAttachmentMarker instead,
//   and the k-th such property owns the k-th attachment;
// - NUL bytes are dropped, 0xFF (the parser's end of input) becomes '?', an
//   empty value becomes one space so that it does not swallow the next line.
// Empty when there is no complete object or the text is too large.
struct NormalizedCard {
  std::string text;  // for the parser
  std::vector<std::string> attachments;
  std::vector<SourceProperty> properties;  // every property of the object, in file order
  bool modern = false;                     // VERSION 3 or later
  // `lines` point into the text given to NormalizeCardText, which must outlive
  // them, or into `source` where that text had to be converted to UTF-8.
  std::unique_ptr<const std::string> source;
  std::vector<std::string_view> lines;

  // The physical lines of one property.
  std::vector<std::string_view> LinesOf(const SourceProperty& property) const {
    return {lines.begin() + static_cast<std::ptrdiff_t>(property.firstLine),
            lines.begin() + static_cast<std::ptrdiff_t>(property.endLine)};
  }
};
inline constexpr std::string_view kAttachmentMarker = "X-ADDRESSBOOK-DATA";
// Skipped: BASE64 data is passed over undecoded and its property handed over
// as one without data, for readers that need only the text fields.
enum class AttachmentData { Decoded, Skipped };
std::optional<NormalizedCard> NormalizeCardText(std::string_view raw,
                                                AttachmentData attachments = AttachmentData::Decoded);

// Text that is not valid UTF-8 taken as Windows-1252 and converted, as the
// reader does with undeclared values.
std::string AsUtf8Text(std::string_view text);

// The name without its group prefix ("item1.EMAIL" gives "EMAIL").
std::string_view BaseName(std::string_view name);

}  // namespace ab
