#pragma once
// What the card shows of a record, decoded from the stored form into buffers
// of the viewer's own, and the cells that point at those buffers and at the
// record's pictures.
//
// The buffers hold as many characters as the editor accepts: company, job
// title and department 63; phone and fax 19; e-mail address, web page and
// name 127; the work address line 371; each caption 15. Longer values (from
// card files written elsewhere) are cut at the last whole character that
// fits, without an ellipsis.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "editor/LayoutCell.h"
#include "viewer/CardLayout.h"

namespace ab {

class ContactRecord;
struct AddressEntry;

inline constexpr std::size_t kCompanyChars = 63;
inline constexpr std::size_t kPhoneChars = 19;
inline constexpr std::size_t kLinkChars = 127;  // e-mail address, web page and name
inline constexpr std::size_t kAddressLineChars = 371;
inline constexpr std::size_t kCaptionChars = 15;

struct CardTexts {
  std::array<std::string, kCaptionCount> captions;
  std::string company;
  std::string address;
  std::string phone;
  std::string fax;
  std::string email;
  std::string webPage;
  std::string name;
  std::string title;
  std::string department;
};

// The cells point into their own texts, so they stay where they were made.
struct CardCells {
  CardCells();  // cell i from cardLayout row i; the picture cells from rows 0 and 1
  CardCells(const CardCells&) = delete;
  CardCells& operator=(const CardCells&) = delete;

  std::array<LayoutCell, kCardRows> cardCells;
  std::array<LayoutCell, kPictureCells> pictureCells;  // [0] logo, [1] photo
  CardTexts texts;
};

// Loads the captions, takes the texts of `record` (none: an empty card) and
// points every cell at its text or picture.
void FillCardCells(CardCells& cells, const ContactRecord* record);

// Street, locality, region and postal code, each that is there followed by
// ", ", then the country: the stored form, not yet decoded.
std::string WorkAddressLine(const AddressEntry& address);

// The first `maxChars` characters of UTF-8 text; a byte that starts no valid
// character counts as one.
std::string_view CutToCharacters(std::string_view text, std::size_t maxChars);

}  // namespace ab
