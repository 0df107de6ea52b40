#include "contacts/VCardReader.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "contacts/CardText.h"
#include "contacts/VObjectGuard.h"

namespace ab {

namespace {

bool Has(VObject* property, std::string_view word) { return vobject::HasChild(property, word); }

// An attachment: the decoded bytes, sized by DATASIZE; none without it.
void ApplyAttachment(VObject* property, ByteBuffer& data, std::int32_t& size,
                     std::unique_ptr<Picture>* picture) {
  data.Reset();
  if (picture) picture->reset();
  const long dataSize = vobject::DataSize(property);
  size = static_cast<std::int32_t>(dataSize);
  if (dataSize == -1) return;
  const void* bytes = vobject::RawValue(property);
  if (!bytes && dataSize > 0) return;
  data = ByteBuffer::Copy(bytes, dataSize);
  if (picture && data) *picture = DecodePicture(data);
}

void ApplyTelephone(ContactRecord& record, VObject* property, const std::string& value) {
  struct Kind {
    std::string_view word;
    int slot;
  };
  static constexpr Kind kHomeKinds[] = {{"VOICE", PHONE_VOICE}, {"FAX", PHONE_FAX}, {"PAGER", PHONE_PAGER},
                                        {"CELL", PHONE_CELL},   {"VIDEO", PHONE_VIDEO}, {"ICQ", PHONE_ICQ}};
  const bool home = Has(property, "HOME");
  PhoneEntry* slots = home ? record.homePhones.data() : record.workPhones.data();
  const std::size_t kinds = home ? kHomePhoneSlots : kWorkPhoneSlots;
  bool any = false;
  auto fill = [&](int slot) {
    slots[slot].number = value;
    CollectTypeFlags(property, slots[slot].flags);
  };
  for (std::size_t i = 0; i < kinds; ++i) {
    if (!Has(property, kHomeKinds[i].word)) continue;
    fill(kHomeKinds[i].slot);
    any = true;
  }
  if (!any) fill(PHONE_VOICE);
}

void ApplyEmail(ContactRecord& record, VObject* property, const std::string& value) {
  if (record.emailCount >= kMaxEmails) return;
  EmailEntry& entry = record.emails[static_cast<std::size_t>(record.emailCount)];
  entry.address = value;
  vobject::ForEachChild(property, [&](VObject* child) {
    const char* name = vobject::Name(child);
    if (!name) return;
    entry.flags |= TypeFlagOf(name);
    if (const int type = EmailTypeIndex(name); type >= 0) entry.type = type;
  });
  if (record.preferredEmail == -1 && (entry.flags & FLAG_PREF)) record.preferredEmail = record.emailCount;
  ++record.emailCount;
}

// Components of N, ORG and ADR arrive as properties of their own.
void ApplyComponents(ContactRecord& record, VObject* property) {
  vobject::ForEachChild(property, [&](VObject* child) {
    if (const char* name = vobject::Name(child)) ApplyProperty(record, name, child);
  });
}

int MapFirstCard(ContactRecord& record, std::string_view text) {
  const auto cards = vobject::ParseCard(text);
  if (!cards) return 0;
  VObject* card = cards.get();
  if (vobject::Name(card)) ApplyComponents(record, card);

  SupplyDisplayName(record);
  return 1;
}

std::optional<std::string> ReadCardFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  file.seekg(0, std::ios::end);
  const auto size = file.tellg();
  if (size < 0 || static_cast<std::size_t>(size) > kMaxCardFileBytes) return std::nullopt;
  file.seekg(0);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!file.read(text.data(), size)) return std::nullopt;
  return text;
}

}  // namespace

void SupplyDisplayName(ContactRecord& record) {
  if (!record.formattedName.empty()) return;
  std::string name(record.familyName.view());
  if (!record.givenName.empty()) {
    if (!name.empty()) name += ' ';
    name += record.givenName.view();
  }
  record.formattedName = name.empty() ? std::string_view("noname") : std::string_view(name);
}

void CollectTypeFlags(VObject* property, TypeFlags& flags) {
  vobject::ForEachChild(property, [&](VObject* child) {
    if (const char* name = vobject::Name(child)) flags |= TypeFlagOf(name);
  });
}

void ApplyProperty(ContactRecord& record, const char* name, VObject* property) {
  const std::string_view n(name);
  AddressEntry& address = record.addresses[record.currentAddress == SLOT_HOME ? SLOT_HOME : SLOT_BUSINESS];

  if (n == "ADR") {
    record.currentAddress = Has(property, "HOME") ? SLOT_HOME : SLOT_BUSINESS;
    CollectTypeFlags(property, record.addresses[static_cast<std::size_t>(record.currentAddress)].flags);
    ApplyComponents(record, property);
    return;
  }
  if (n == "N" || n == "ORG") return ApplyComponents(record, property);
  if (n == "SOUND") {
    if (Has(property, "WAVE")) ApplyAttachment(property, record.soundData, record.soundSize, nullptr);
    return;
  }
  if (n == "LOGO") return ApplyAttachment(property, record.logoData, record.logoSize, &record.logoPicture);
  if (n == "PHOTO") return ApplyAttachment(property, record.photoData, record.photoSize, &record.photoPicture);

  const std::string value = vobject::TextValue(property);
  if (n == "ORGNAME") record.orgName = value;
  else if (n == "OUN") record.orgUnit = value;
  else if (n == "BOX") address.poBox = value;
  else if (n == "STREET") address.street = value;
  else if (n == "EXT ADD") address.extendedAddress = value;
  else if (n == "L") address.locality = value;
  else if (n == "R") address.region = value;
  else if (n == "PC") address.postalCode = value;
  else if (n == "C") address.country = value;
  else if (n == "FN") record.formattedName = value;
  else if (n == "ADDN") record.additionalNames = value;
  else if (n == "G") record.givenName = value;
  else if (n == "F") record.familyName = value;
  else if (n == "TITLE") record.title = value;
  else if (n == "NOTE") record.note = value;
  else if (n == "URL") {
    UrlEntry& url = record.urls[Has(property, "HOME") ? SLOT_HOME : SLOT_BUSINESS];
    url.url = value;
    CollectTypeFlags(property, url.flags);
  } else if (n == "TEL") {
    ApplyTelephone(record, property, value);
  } else if (n == "EMAIL") {
    ApplyEmail(record, property, value);
  } else if (n == "LABEL") {
    (Has(property, "DOM") ? record.domesticLabel : record.otherLabel) = value;
    CollectTypeFlags(property, record.labelFlags);
  }
}

int ReadCard(ContactRecord& record, const std::string& path) {
  record.Clear();
  // Address components outside any ADR go to the business slot.
  record.currentAddress = SLOT_BUSINESS;
  if (path.empty()) return 0;
  record.filePath = path;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  if (!S_ISREG(info.st_mode)) return 0;
  const auto text = ReadCardFile(path);
  if (!text) return 0;
  return MapFirstCard(record, *text);
}

int ReadCardFromText(ContactRecord& record, std::string_view text) {
  record.Clear();
  record.currentAddress = SLOT_BUSINESS;
  return MapFirstCard(record, text);
}

}  // namespace ab
