#include "contacts/ContactRecord.h"

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

namespace ab {

bool AddressEntry::HasAnyComponent() const {
  return !poBox.empty() || !street.empty() || !extendedAddress.empty() || !locality.empty() ||
         !region.empty() || !postalCode.empty() || !country.empty();
}

int ContactRecord::Load(const std::string& path) {
  ReadCard(*this, path);
  return 1;
}

int ContactRecord::SaveAs(const std::string& path) const { return ab::SaveAs(*this, path); }

void ContactRecord::Clear() {
  for (auto* text : {&orgName, &orgUnit, &additionalNames, &givenName, &familyName, &title})
    text->Clear();
  formattedName.Clear();
  domesticLabel.Clear();
  otherLabel.Clear();
  note.Clear();
  soundData.Reset();
  logoData.Reset();
  photoData.Reset();
  photoSize = logoSize = soundSize = 0;
  emails.fill(EmailEntry{});
  workPhones.fill(PhoneEntry{});
  homePhones.fill(PhoneEntry{});
  addresses.fill(AddressEntry{});
  urls.fill(UrlEntry{});
  labelFlags = 0;
  filePath.Clear();
  logoPicture.reset();
  photoPicture.reset();
  preferredEmail = -1;
  emailCount = 0;
  extraProperties.clear();
}

std::string_view ContactRecord::PreferredEmail() const {
  if (preferredEmail < 0 || preferredEmail >= kMaxEmails) return {};
  return emails[static_cast<std::size_t>(preferredEmail)].address.view();
}

std::unique_ptr<Picture> DecodePicture(const ByteBuffer& data) {
  if (data.IsNull()) return nullptr;
  auto picture = std::make_unique<Picture>();
  picture->LoadFromMemory(data.data(), static_cast<std::size_t>(data.size()));
  return picture;
}

void ContactRecord::SetPhoto(ByteBuffer data) {
  photoData = std::move(data);
  photoSize = photoData.size();
  photoPicture = DecodePicture(photoData);
}

void ContactRecord::SetLogo(ByteBuffer data) {
  logoData = std::move(data);
  logoSize = logoData.size();
  logoPicture = DecodePicture(logoData);
}

void ContactRecord::SetSound(ByteBuffer data) {
  soundData = std::move(data);
  soundSize = soundData.size();
}

}  // namespace ab
