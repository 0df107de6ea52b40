#include "tools/CardJson.h"

#include "contacts/StoredText.h"
#include "tools/Json.h"

namespace ab {

namespace {

void Text(JsonWriter& json, std::string_view key, std::string_view stored) {
  json.String(key, DecodeStoredText(stored));
}

void PictureSize(JsonWriter& json, std::string_view prefix, const std::unique_ptr<Picture>& picture) {
  const bool has = picture && !picture->IsEmpty();
  json.Number(std::string(prefix) + "Width", has ? picture->Width() : 0);
  json.Number(std::string(prefix) + "Height", has ? picture->Height() : 0);
}

template <typename Slots>
void Phones(JsonWriter& json, std::string_view key, const Slots& slots) {
  json.BeginArray(key);
  for (const PhoneEntry& phone : slots) {
    json.BeginObject();
    Text(json, "number", phone.number.view());
    json.Number("flags", phone.flags).EndObject();
  }
  json.EndArray();
}

}  // namespace

std::string RecordToJson(const ContactRecord& r) {
  JsonWriter json;
  json.BeginObject();
  Text(json, "formattedName", r.formattedName.view());
  Text(json, "familyName", r.familyName.view());
  Text(json, "givenName", r.givenName.view());
  Text(json, "additionalNames", r.additionalNames.view());
  Text(json, "orgName", r.orgName.view());
  Text(json, "orgUnit", r.orgUnit.view());
  Text(json, "title", r.title.view());
  Text(json, "note", r.note.view());
  Text(json, "domesticLabel", r.domesticLabel.view());
  Text(json, "otherLabel", r.otherLabel.view());

  json.BeginArray("emails");
  for (int i = 0; i < r.emailCount && i < kMaxEmails; ++i) {
    const EmailEntry& email = r.emails[static_cast<std::size_t>(i)];
    json.BeginObject();
    Text(json, "address", email.address.view());
    json.Number("type", email.type).Number("flags", email.flags).EndObject();
  }
  json.EndArray();
  Phones(json, "workPhones", r.workPhones);
  Phones(json, "homePhones", r.homePhones);

  json.BeginArray("addresses");
  for (const AddressEntry& a : r.addresses) {
    json.BeginObject();
    Text(json, "poBox", a.poBox.view());
    Text(json, "street", a.street.view());
    Text(json, "extendedAddress", a.extendedAddress.view());
    Text(json, "locality", a.locality.view());
    Text(json, "region", a.region.view());
    Text(json, "postalCode", a.postalCode.view());
    Text(json, "country", a.country.view());
    json.Number("flags", a.flags).EndObject();
  }
  json.EndArray();

  json.BeginArray("urls");
  for (const UrlEntry& url : r.urls) {
    json.BeginObject();
    Text(json, "url", url.url.view());
    json.Number("flags", url.flags).EndObject();
  }
  json.EndArray();

  json.Number("labelFlags", r.labelFlags)
      .Number("preferredEmail", r.preferredEmail)
      .Number("emailCount", r.emailCount)
      .Number("photoSize", r.photoSize)
      .Number("logoSize", r.logoSize)
      .Number("soundSize", r.soundSize);
  PictureSize(json, "photo", r.photoPicture);
  PictureSize(json, "logo", r.logoPicture);
  json.String("filePath", r.filePath.view());
  json.EndObject();
  return json.text();
}

}  // namespace ab
