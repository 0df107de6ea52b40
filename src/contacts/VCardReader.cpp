#include "contacts/VCardReader.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "contacts/CardText.h"
#include "contacts/ExtraProperties.h"
#include "contacts/FileBytes.h"
#include "contacts/VObjectGuard.h"

namespace ab {

namespace {

bool Has(VObject* property, std::string_view word) { return vobject::HasChild(property, word); }

// A value may go into a field that is empty or holds it already; an empty
// value goes anywhere and changes nothing.
template <std::size_t N>
bool Fits(const FixedText<N>& field, std::string_view value) {
  return value.empty() || field.empty() || field == FixedText<N>(value);
}

template <std::size_t N>
void Store(FixedText<N>& field, std::string_view value) {
  if (!value.empty()) field = value;
}

// Calls `visit` with the field that a text property or component named `n`
// goes into (address components into slot `addressSlot`); false when no
// field takes it.
template <typename Visit>
bool VisitTextField(ContactRecord& r, std::string_view n, int addressSlot, Visit&& visit) {
  AddressEntry& a = r.addresses[addressSlot == SLOT_HOME ? SLOT_HOME : SLOT_BUSINESS];
  if (n == "ORGNAME") visit(r.orgName);
  else if (n == "OUN") visit(r.orgUnit);
  else if (n == "BOX") visit(a.poBox);
  else if (n == "STREET") visit(a.street);
  else if (n == "EXT ADD") visit(a.extendedAddress);
  else if (n == "L") visit(a.locality);
  else if (n == "R") visit(a.region);
  else if (n == "PC") visit(a.postalCode);
  else if (n == "C") visit(a.country);
  else if (n == "FN") visit(r.formattedName);
  else if (n == "ADDN") visit(r.additionalNames);
  else if (n == "G") visit(r.givenName);
  else if (n == "F") visit(r.familyName);
  else if (n == "TITLE") visit(r.title);
  else if (n == "NOTE") visit(r.note);
  else return false;
  return true;
}

// True when every component of an N, ORG or ADR fits its field.
bool ComponentsFit(ContactRecord& record, VObject* property, int addressSlot) {
  bool fit = true;
  vobject::ForEachChild(property, [&](VObject* child) {
    const char* name = vobject::Name(child);
    if (!name || !fit) return;
    VisitTextField(record, name, addressSlot,
                   [&](const auto& field) { fit = field.empty() || Fits(field, vobject::TextValue(child)); });
  });
  return fit;
}

// Components of N, ORG and ADR arrive as properties of their own.
void ApplyComponents(ContactRecord& record, VObject* property) {
  vobject::ForEachChild(property, [&](VObject* child) {
    if (const char* name = vobject::Name(child)) ApplyProperty(record, name, child);
  });
}

// An attachment: the decoded bytes, sized by DATASIZE. Only the first one
// with data is taken; one without data leaves the size unknown (-1) when
// there is no attachment yet, and is kept all the same (it may name a URL).
bool ApplyAttachment(VObject* property, ByteBuffer& data, std::int32_t& size, std::unique_ptr<Picture>* picture) {
  if (!data.IsNull()) return false;
  const long dataSize = vobject::DataSize(property);
  size = static_cast<std::int32_t>(dataSize);
  const void* bytes = vobject::RawValue(property);
  if (dataSize == -1 || (!bytes && dataSize > 0)) return false;
  data = ByteBuffer::Copy(bytes, dataSize);
  if (picture) *picture = data ? DecodePicture(data) : nullptr;
  return true;
}

bool ApplyTelephone(ContactRecord& record, VObject* property, const std::string& value) {
  struct Kind {
    std::string_view word;
    int slot;
  };
  static constexpr Kind kHomeKinds[] = {{"VOICE", PHONE_VOICE}, {"FAX", PHONE_FAX}, {"PAGER", PHONE_PAGER},
                                        {"CELL", PHONE_CELL},   {"VIDEO", PHONE_VIDEO}, {"ICQ", PHONE_ICQ}};
  const bool home = Has(property, "HOME");
  PhoneEntry* slots = home ? record.homePhones.data() : record.workPhones.data();
  const std::size_t kinds = home ? kHomePhoneSlots : kWorkPhoneSlots;
  std::array<int, kHomePhoneSlots> targets{};
  std::size_t count = 0;
  for (std::size_t i = 0; i < kinds; ++i)
    if (Has(property, kHomeKinds[i].word)) targets[count++] = kHomeKinds[i].slot;
  if (count == 0) targets[count++] = PHONE_VOICE;
  // The number goes into each of its slots that is free; it is kept as it
  // stands only when none is (a kind word for a taken slot is all it loses).
  bool stored = false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!Fits(slots[targets[i]].number, value)) continue;
    Store(slots[targets[i]].number, value);
    CollectTypeFlags(property, slots[targets[i]].flags);
    stored = true;
  }
  return stored;
}

bool ApplyEmail(ContactRecord& record, VObject* property, const std::string& value) {
  if (record.emailCount >= kMaxEmails) return false;
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
  return true;
}

// A field of its own (URL slot, label) that takes the value and the type words.
template <std::size_t N>
bool ApplyWithFlags(VObject* property, FixedText<N>& field, TypeFlags& flags, const std::string& value) {
  if (!Fits(field, value)) return false;
  Store(field, value);
  CollectTypeFlags(property, flags);
  return true;
}

int ReadClearedCard(ContactRecord& record, std::string_view text, AttachmentData attachments) {
  if (!MapCardText(record, text, attachments)) return 0;
  SupplyDisplayName(record);
  return 1;
}

int ReadCardWith(ContactRecord& record, const std::string& path, AttachmentData attachments) {
  record.Clear();
  record.currentAddress = SLOT_BUSINESS;
  if (path.empty()) return 0;
  record.filePath = path;
  const auto file = ReadRegularFile(path, kMaxCardFileBytes);
  if (!file) return 0;
  return ReadClearedCard(record, file->view(), attachments);
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

bool ApplyProperty(ContactRecord& record, const char* name, VObject* property) {
  const std::string_view n(name);
  if (n == "ADR") {
    const int slot = Has(property, "HOME") ? SLOT_HOME : SLOT_BUSINESS;
    if (!ComponentsFit(record, property, slot)) return false;
    record.currentAddress = slot;
    CollectTypeFlags(property, record.addresses[static_cast<std::size_t>(slot)].flags);
    ApplyComponents(record, property);
    return true;
  }
  if (n == "N" || n == "ORG") {
    if (!ComponentsFit(record, property, record.currentAddress)) return false;
    ApplyComponents(record, property);
    return true;
  }
  if (n == "SOUND") return Has(property, "WAVE") && ApplyAttachment(property, record.soundData, record.soundSize, nullptr);
  if (n == "LOGO") return ApplyAttachment(property, record.logoData, record.logoSize, &record.logoPicture);
  if (n == "PHOTO") return ApplyAttachment(property, record.photoData, record.photoSize, &record.photoPicture);

  const std::string value = vobject::TextValue(property);
  if (n == "URL") {
    UrlEntry& url = record.urls[Has(property, "HOME") ? SLOT_HOME : SLOT_BUSINESS];
    return ApplyWithFlags(property, url.url, url.flags, value);
  }
  if (n == "TEL") return ApplyTelephone(record, property, value);
  if (n == "EMAIL") return ApplyEmail(record, property, value);
  if (n == "LABEL")
    return ApplyWithFlags(property, Has(property, "DOM") ? record.domesticLabel : record.otherLabel,
                          record.labelFlags, value);
  bool stored = false;
  VisitTextField(record, n, record.currentAddress, [&](auto& field) {
    stored = Fits(field, value);
    if (stored) Store(field, value);
  });
  return stored;
}

bool MapCardText(ContactRecord& record, std::string_view text, AttachmentData attachments) {
  NormalizedCard source;
  const auto cards = vobject::ParseCard(text, source, attachments);
  if (!cards) return false;
  std::vector<bool> mapped;  // for each property handed to the parser, in order
  VObject* card = cards.get();
  if (vobject::Name(card)) {
    vobject::ForEachChild(card, [&](VObject* property) {
      const char* name = vobject::Name(property);
      mapped.push_back(name != nullptr && ApplyProperty(record, name, property));
    });
  }
  if (attachments == AttachmentData::Skipped) return true;  // the rest is kept for saving only
  std::size_t next = 0;
  for (const SourceProperty& property : source.properties) {
    bool keep = true;
    if (property.toParser) keep = next >= mapped.size() || !mapped[next++];
    if (keep) record.extraProperties.push_back(KeptPropertyText(source.LinesOf(property), source.modern));
  }
  return true;
}

int ReadCard(ContactRecord& record, const std::string& path) {
  return ReadCardWith(record, path, AttachmentData::Decoded);
}

int ReadCardFields(ContactRecord& record, const std::string& path) {
  return ReadCardWith(record, path, AttachmentData::Skipped);
}

int ReadCardFromText(ContactRecord& record, std::string_view text) {
  record.Clear();
  record.currentAddress = SLOT_BUSINESS;
  return ReadClearedCard(record, text, AttachmentData::Decoded);
}

}  // namespace ab
