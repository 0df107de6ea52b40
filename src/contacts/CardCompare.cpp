#include "contacts/CardCompare.h"

#include <cstring>

#include "contacts/CardText.h"
#include "contacts/ExtraProperties.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"

namespace ab {

std::string CardSafeText(std::string_view raw) {
  const std::string text = AsUtf8Text(raw);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += {kStoredLineBreak, kStoredLineBreak};
    } else if (c == ';') {
      out += {kStoredSemicolon, kStoredSemicolon};
    } else if (c == '\0' || c == kLeadingBlanksMarker) {
      continue;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

template <std::size_t N>
void Canon(const FixedText<N>& from, FixedText<N>& to) {
  to = CardSafeText(from.view());
}

// The card holds `size` bytes of the buffer, never more than the buffer has.
void CopyAttachment(const ByteBuffer& from, std::int32_t size, ByteBuffer& to, std::int32_t& toSize) {
  if (from.IsNull()) {
    to.Reset();
    toSize = size;
    return;
  }
  const std::int32_t n = size >= 0 && size <= from.size() ? size : from.size();
  to = ByteBuffer::Copy(from.data(), n);
  toSize = n;
}

// Kind words that pick telephone slots, by slot number.
constexpr TypeFlags kPhoneKinds[] = {FLAG_VOICE, FLAG_FAX, FLAG_PAGER, FLAG_CELL, FLAG_VIDEO, FLAG_ICQ};

// A slot keeps every word it has, but a kind word that would send its number
// into a slot holding another number is dropped, and the slot's own kind is
// added where another kind would otherwise take the number away from it. HOME
// marks the home slots only.
template <std::size_t N>
void CanonicalisePhones(const std::array<PhoneEntry, N>& from, std::array<PhoneEntry, N>& to, bool home) {
  TypeFlags kinds = 0;
  for (std::size_t k = 0; k < N; ++k) kinds |= kPhoneKinds[k];
  for (std::size_t i = 0; i < N; ++i) {
    to[i].number = CardSafeText(from[i].number.view());
    TypeFlags flags = from[i].flags;
    for (std::size_t k = 0; k < N; ++k)
      if (k != i && CardSafeText(from[k].number.view()) != to[i].number.view()) flags &= ~kPhoneKinds[k];
    if (i > 0 || (flags & kinds) != 0) flags |= kPhoneKinds[i];
    to[i].flags = home ? (flags | FLAG_HOME) : (flags & ~FLAG_HOME);
  }
  // The reader gives every slot a number lands in the words of its line, so a
  // slot shares the words of each line that also lands in it.
  std::array<TypeFlags, N> shared{};
  for (std::size_t j = 0; j < N; ++j) {
    if (to[j].number.empty()) continue;
    for (std::size_t k = 0; k < N; ++k)
      if (to[j].flags & kPhoneKinds[k]) shared[k] |= to[j].flags;
  }
  for (std::size_t k = 0; k < N; ++k)
    if (!to[k].number.empty()) to[k].flags |= shared[k];
}

// Web and postal addresses: slot 1 is the one with HOME.
TypeFlags PlaceSlotFlags(TypeFlags flags, std::size_t slot) {
  return slot == SLOT_HOME ? (flags | FLAG_HOME) : (flags & ~FLAG_HOME);
}

class Differ {
 public:
  template <typename T>
  void Check(const char* field, const T& a, const T& b) {
    if (first_.empty() && !(a == b)) first_ = field;
  }
  void Check(const char* field, const ByteBuffer& a, const ByteBuffer& b) {
    const bool same = a.IsNull() == b.IsNull() && a.size() == b.size() &&
                      (a.size() == 0 || std::memcmp(a.data(), b.data(), static_cast<std::size_t>(a.size())) == 0);
    if (first_.empty() && !same) first_ = field;
  }
  std::string Result() const { return first_; }

 private:
  std::string first_;
};

// Slots the card will not hold read back in their cleared state, whatever
// words the record gave them.
void ClearUnwrittenSlots(ContactRecord& r) {
  const auto clearPhones = [](auto& slots) {
    for (PhoneEntry& phone : slots)
      if (phone.number.empty()) phone.flags = 0;
  };
  clearPhones(r.workPhones);
  clearPhones(r.homePhones);
  for (AddressEntry& address : r.addresses)
    if (!address.HasAnyComponent()) address.flags = kDefaultAddressFlags;
  for (UrlEntry& url : r.urls)
    if (url.url.empty()) url.flags = 0;
  if (r.domesticLabel.empty() && r.otherLabel.empty()) r.labelFlags = 0;
}

// The kept properties follow every written one in the card, so reading it
// back maps those for which a field is free by now (a home number the user
// cleared, say) and keeps the others: the canonical record does the same.
void ApplyExtraProperties(const std::vector<std::string>& extras, ContactRecord& o) {
  ClearUnwrittenSlots(o);
  std::string card = "BEGIN:VCARD\r\n";
  AppendExtraProperties(card, extras);
  card += "END:VCARD\r\n";
  MapCardText(o, card);
}

// The fields of the record as the card will hold them (see CanonicaliseForCard).
void CanonicaliseFields(const ContactRecord& s, ContactRecord& o) {
  o.Clear();
  Canon(s.orgName, o.orgName);
  Canon(s.orgUnit, o.orgUnit);
  Canon(s.formattedName, o.formattedName);
  Canon(s.additionalNames, o.additionalNames);
  Canon(s.givenName, o.givenName);
  Canon(s.familyName, o.familyName);
  Canon(s.title, o.title);
  Canon(s.domesticLabel, o.domesticLabel);
  Canon(s.otherLabel, o.otherLabel);
  Canon(s.note, o.note);
  CopyAttachment(s.soundData, s.soundSize, o.soundData, o.soundSize);
  CopyAttachment(s.logoData, s.logoSize, o.logoData, o.logoSize);
  CopyAttachment(s.photoData, s.photoSize, o.photoData, o.photoSize);
  o.emailCount = s.emailCount < 0 ? 0 : (s.emailCount > kMaxEmails ? kMaxEmails : s.emailCount);
  for (int i = 0; i < o.emailCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    Canon(s.emails[k].address, o.emails[k].address);
    o.emails[k].flags = s.emails[k].flags;
    o.emails[k].type = s.emails[k].type >= 0 && s.emails[k].type < static_cast<int>(emailTypeNames.size())
                           ? s.emails[k].type
                           : EMAIL_TYPE_INTERNET;
  }
  CanonicalisePhones(s.workPhones, o.workPhones, false);
  CanonicalisePhones(s.homePhones, o.homePhones, true);
  for (std::size_t i = 0; i < o.addresses.size(); ++i) {
    const AddressEntry& a = s.addresses[i];
    AddressEntry& b = o.addresses[i];
    Canon(a.poBox, b.poBox);
    Canon(a.street, b.street);
    Canon(a.extendedAddress, b.extendedAddress);
    Canon(a.locality, b.locality);
    Canon(a.region, b.region);
    Canon(a.postalCode, b.postalCode);
    Canon(a.country, b.country);
    // A read address slot starts as POSTAL|PARCEL and only gains words.
    b.flags = PlaceSlotFlags(a.flags, i) | kDefaultAddressFlags;
  }
  for (std::size_t i = 0; i < o.urls.size(); ++i) {
    Canon(s.urls[i].url, o.urls[i].url);
    o.urls[i].flags = PlaceSlotFlags(s.urls[i].flags, i);
  }
  o.labelFlags = s.labelFlags;
  o.filePath = s.filePath.view();
  o.preferredEmail = s.preferredEmail;
}

}  // namespace

void CanonicaliseForCard(const ContactRecord& s, ContactRecord& o) {
  CanonicaliseFields(s, o);
  if (s.extraProperties.empty()) return;
  // What the kept properties put into free fields comes as the reader gives
  // it, so the fields are made card-safe once more.
  ContactRecord withExtras;
  CanonicaliseFields(s, withExtras);
  ApplyExtraProperties(s.extraProperties, withExtras);
  CanonicaliseFields(withExtras, o);
  o.extraProperties = std::move(withExtras.extraProperties);
}

std::string FirstCarriedDifference(const ContactRecord& w, const ContactRecord& r) {
  Differ d;
  d.Check("orgName", w.orgName, r.orgName);
  d.Check("orgUnit", w.orgUnit, r.orgUnit);
  // A card without FN gets its display name on reading; only a written one must survive.
  if (!w.formattedName.empty()) d.Check("formattedName", w.formattedName, r.formattedName);
  d.Check("additionalNames", w.additionalNames, r.additionalNames);
  d.Check("givenName", w.givenName, r.givenName);
  d.Check("familyName", w.familyName, r.familyName);
  d.Check("title", w.title, r.title);
  d.Check("domesticLabel", w.domesticLabel, r.domesticLabel);
  d.Check("otherLabel", w.otherLabel, r.otherLabel);
  d.Check("note", w.note, r.note);
  d.Check("soundData", w.soundData, r.soundData);
  d.Check("logoData", w.logoData, r.logoData);
  d.Check("photoData", w.photoData, r.photoData);
  d.Check("emailCount", w.emailCount, r.emailCount);
  for (std::size_t i = 0; i < static_cast<std::size_t>(w.emailCount) && i < r.emails.size(); ++i) {
    d.Check("emails.address", w.emails[i].address, r.emails[i].address);
    d.Check("emails.type", w.emails[i].type, r.emails[i].type);
    d.Check("emails.flags", w.emails[i].flags, r.emails[i].flags);
  }
  auto phones = [&](const auto& a, const auto& b, const char* numberName, const char* flagsName) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      d.Check(numberName, a[i].number, b[i].number);
      if (!a[i].number.empty()) d.Check(flagsName, a[i].flags, b[i].flags);
    }
  };
  phones(w.workPhones, r.workPhones, "workPhones.number", "workPhones.flags");
  phones(w.homePhones, r.homePhones, "homePhones.number", "homePhones.flags");
  for (std::size_t i = 0; i < w.addresses.size(); ++i) {
    const AddressEntry& a = w.addresses[i];
    const AddressEntry& b = r.addresses[i];
    d.Check("addresses.poBox", a.poBox, b.poBox);
    d.Check("addresses.street", a.street, b.street);
    d.Check("addresses.extendedAddress", a.extendedAddress, b.extendedAddress);
    d.Check("addresses.locality", a.locality, b.locality);
    d.Check("addresses.region", a.region, b.region);
    d.Check("addresses.postalCode", a.postalCode, b.postalCode);
    d.Check("addresses.country", a.country, b.country);
    if (a.HasAnyComponent()) d.Check("addresses.flags", a.flags, b.flags);
  }
  for (std::size_t i = 0; i < w.urls.size(); ++i) {
    d.Check("urls.url", w.urls[i].url, r.urls[i].url);
    if (!w.urls[i].url.empty()) d.Check("urls.flags", w.urls[i].flags, r.urls[i].flags);
  }
  if (!w.domesticLabel.empty() || !w.otherLabel.empty()) d.Check("labelFlags", w.labelFlags, r.labelFlags);
  d.Check("extraProperties", w.extraProperties, r.extraProperties);
  return d.Result();
}

}  // namespace ab
