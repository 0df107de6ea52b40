#pragma once
// One property line of a card as the card repair sees it: its name, the
// parameters the parser can take and its value, and the value in the plain
// form handed to the parser. Nothing here calls the library.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ab {

struct Parameter {
  std::string name;
  std::string value;  // empty for a bare word
};

struct PropertyLine {
  std::string name;  // with its group prefix, if any
  std::vector<Parameter> parameters;
  std::string value;
  std::string charset;  // the CHARSET parameter's value, if any
};

enum class Encoding { None, Base64, QuotedPrintable };

// Splits "NAME;P1;P2=V:value" into its parts, keeping only the parameters the
// parser can take (see NormalizeCardText); nullopt when the line has no colon
// or no usable name. `encoding` receives the one encoding it names.
std::optional<PropertyLine> ParsePropertyLine(std::string_view line, Encoding& encoding);

// The spelling the reader knows of a property it maps (case aside), or nullopt.
std::optional<std::string> MappedName(std::string_view name);
bool IsStructured(std::string_view base);  // N, ADR, ORG
bool IsAttachment(std::string_view base);  // PHOTO, LOGO, SOUND
bool IsUriValue(const PropertyLine& prop);  // VALUE=uri

// Which backslash escapes a plain value undoes: All (version 3 and later:
// \n \; \, \\ \:) or Compound (2.1 structured values: \; \\ \:, and a
// backslash before a line break that continued the value).
enum class Escapes { None, Compound, All };

// A plain value: no NUL, no byte the parser takes for the end of input or for
// the blank marker, and a line break in the stored form.
std::string PlainValue(std::string_view value, Escapes escapes);

// The bytes of a data: URI value ("data:image/png;base64,...") and whether
// it holds a WAVE sound; nullopt when the value is no BASE64 data URI.
std::optional<std::pair<std::string, bool>> DataUriBytes(std::string_view value);

}  // namespace ab
