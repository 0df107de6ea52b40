#include "viewer/CardTexts.h"

#include "resources/ResourceLibrary.h"
#include "contacts/ContactRecord.h"
#include "contacts/StoredText.h"

namespace ab {
namespace {

std::string DisplayText(std::string_view stored, std::size_t maxChars) {
  const std::string decoded = DecodeStoredText(stored);
  return std::string(CutToCharacters(decoded, maxChars));
}

// Length of the UTF-8 sequence that starts with `lead` when the bytes after it
// continue it properly, else 1.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x06 ? 2 : (lead >> 4) == 0x0E ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
  if (at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::string_view CutToCharacters(std::string_view text, std::size_t maxChars) {
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size() && count < maxChars; ++count) at += SequenceLength(text, at);
  return text.substr(0, at);
}

std::string WorkAddressLine(const AddressEntry& address) {
  std::string line;
  for (std::string_view part : {address.street.view(), address.locality.view(), address.region.view(),
                                address.postalCode.view()}) {
    if (IsBlank(part)) continue;
    line.append(part);
    line.append(", ");
  }
  if (!IsBlank(address.country.view())) line.append(address.country.view());
  return line;
}

CardCells::CardCells() {
  for (std::size_t row = 0; row < cardCells.size(); ++row) cardCells[row] = LayoutCell(cardLayout[row].rect);
  pictureCells[0] = LayoutCell(cardLayout[ROW_LOGO].rect);
  pictureCells[1] = LayoutCell(cardLayout[ROW_PHOTO].rect);
}

void FillCardCells(CardCells& cells, const ContactRecord* record) {
  CardTexts& t = cells.texts;
  for (int i = 0; i < kCaptionCount; ++i) {
    t.captions[static_cast<std::size_t>(i)] =
        std::string(CutToCharacters(LoadResourceString(kFirstCaptionString + i), kCaptionChars));
  }
  t.company = t.address = t.phone = t.fax = t.email = t.webPage = t.name = t.title = t.department = std::string();
  if (record != nullptr) {
    t.company = DisplayText(record->orgName.view(), kCompanyChars);
    t.address = DisplayText(WorkAddressLine(record->addresses[SLOT_BUSINESS]), kAddressLineChars);
    t.phone = DisplayText(record->workPhones[PHONE_VOICE].number.view(), kPhoneChars);
    t.fax = DisplayText(record->workPhones[PHONE_FAX].number.view(), kPhoneChars);
    if (record->preferredEmail != -1) t.email = DisplayText(record->PreferredEmail(), kLinkChars);
    t.webPage = DisplayText(record->urls[SLOT_BUSINESS].url.view(), kLinkChars);
    t.name = DisplayText(record->formattedName.view(), kLinkChars);
    t.title = DisplayText(record->title.view(), kCompanyChars);
    t.department = DisplayText(record->orgUnit.view(), kCompanyChars);
  }

  auto& c = cells.cardCells;
  c[ROW_COMPANY].SetText(t.company.c_str());
  for (int i = 0; i < kCaptionCount; ++i) {
    c[static_cast<std::size_t>(ROW_ADDRESS_CAPTION + i)].SetText(t.captions[static_cast<std::size_t>(i)].c_str());
  }
  c[ROW_ADDRESS].SetText(t.address.c_str());
  c[ROW_PHONE].SetText(t.phone.c_str());
  c[ROW_FAX].SetText(t.fax.c_str());
  c[ROW_EMAIL].SetText(t.email.c_str());
  c[ROW_WEB_PAGE].SetText(t.webPage.c_str());
  c[ROW_NAME].SetText(t.name.c_str());
  c[ROW_TITLE].SetText(t.title.c_str());
  c[ROW_DEPARTMENT].SetText(t.department.c_str());

  cells.pictureCells[0].SetPicture(record != nullptr ? record->logoPicture.get() : nullptr);
  cells.pictureCells[1].SetPicture(record != nullptr ? record->photoPicture.get() : nullptr);
}

}  // namespace ab
