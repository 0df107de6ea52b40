#include "contacts/VCardWriter.h"

#include "contacts/AtomicFile.h"
#include "contacts/CardCompare.h"
#include "contacts/CardStore.h"
#include "contacts/ExtraProperties.h"
#include "contacts/VCardReader.h"
#include "contacts/VObjectGuard.h"
#include "media/ImageHeader.h"

namespace ab {

namespace {

// One parameter word per set bit, in the writer's fixed order.
void AddFlagWords(VObject* property, TypeFlags flags) {
  if (!property) return;
  for (const auto& entry : typeFlagWords)
    if (flags & entry.bit) vobject::AddProp(property, entry.word.data());
}

void AddText(VObject* card, const char* name, std::string_view value) {
  if (!value.empty()) vobject::AddPropValue(card, name, std::string(value));
}

// A component of N, ADR or ORG as the reader takes it back: a backslash that
// would read as an escape (before ';', ':' or another backslash, or at the
// component's end) is doubled.
std::string ComponentText(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    out += value[i];
    if (value[i] == '\\' && (i + 1 == value.size() || value[i + 1] == ';' || value[i + 1] == ':' || value[i + 1] == '\\'))
      out += '\\';
  }
  return out;
}

void AddComponent(VObject* property, const char* name, std::string_view value, bool evenWhenBlank) {
  if (evenWhenBlank || !value.empty()) vobject::AddPropValue(property, name, ComponentText(value));
}

// A picture's type word says what its bytes are, so the next program reads a
// phone's JPEG as a JPEG; anything else is written as the BMP it was taken for.
const char* PictureKind(const std::uint8_t* bytes, std::size_t size) {
  const std::optional<ImageHeader> header = ReadImageHeader(bytes, size);
  switch (header ? header->format : PictureFormat::None) {
    case PictureFormat::Jpeg: return "JPEG";
    case PictureFormat::Png: return "PNG";
    case PictureFormat::Gif: return "GIF";
    default: return "BMP";
  }
}

// `kind` nullptr: the picture's own type word.
void AddAttachment(VObject* card, const char* name, const char* kind, const ByteBuffer& data, std::int32_t size) {
  if (data.IsNull()) return;
  VObject* property = vobject::AddProp(card, name);
  if (!property) return;
  const std::int32_t n = size >= 0 && size <= data.size() ? size : data.size();
  vobject::AddProp(property, kind != nullptr ? kind : PictureKind(data.data(), static_cast<std::size_t>(n)));
  vobject::AddProp(property, "BASE64");
  vobject::SetBytes(property, data.data(), static_cast<unsigned int>(n));
}

void AddAddress(VObject* card, const AddressEntry& address) {
  if (!address.HasAnyComponent()) return;
  VObject* adr = vobject::AddProp(card, "ADR");
  if (!adr) return;
  AddFlagWords(adr, address.flags);
  AddComponent(adr, "BOX", address.poBox.view(), false);
  AddComponent(adr, "STREET", address.street.view(), false);
  AddComponent(adr, "EXT ADD", address.extendedAddress.view(), false);
  AddComponent(adr, "L", address.locality.view(), false);
  AddComponent(adr, "R", address.region.view(), false);
  AddComponent(adr, "PC", address.postalCode.view(), false);
  AddComponent(adr, "C", address.country.view(), false);
}

void AddTelephones(VObject* card, const auto& slots) {
  for (const PhoneEntry& phone : slots) {
    if (phone.number.empty()) continue;
    AddFlagWords(vobject::AddPropValue(card, "TEL", phone.number.str()), phone.flags);
  }
}

// The rendered text with CR LF line ends and the file's trailing zero byte.
std::string AsCardFileBytes(const std::string& rendered) {
  std::string bytes;
  bytes.reserve(rendered.size() + rendered.size() / 32 + 1);
  for (std::size_t i = 0; i < rendered.size(); ++i) {
    const char c = rendered[i];
    if (c == '\n' && (i == 0 || rendered[i - 1] != '\r')) bytes += '\r';
    bytes += c;
  }
  bytes += '\0';
  return bytes;
}

}  // namespace

VObject* BuildVCard(const ContactRecord& r) {
  vobject::Object card = vobject::NewObject("VCARD");
  if (!card) return nullptr;
  VObject* c = card.get();

  if (!r.givenName.empty() || !r.familyName.empty() || !r.additionalNames.empty()) {
    if (VObject* n = vobject::AddProp(c, "N")) {
      AddComponent(n, "F", r.familyName.view(), true);
      AddComponent(n, "G", r.givenName.view(), true);
      AddComponent(n, "ADDN", r.additionalNames.view(), true);
    }
  }
  AddText(c, "FN", r.formattedName.view());
  if (!r.orgName.empty() || !r.orgUnit.empty()) {
    if (VObject* org = vobject::AddProp(c, "ORG")) {
      AddComponent(org, "ORGNAME", r.orgName.view(), true);
      AddComponent(org, "OUN", r.orgUnit.view(), true);
    }
  }
  AddText(c, "TITLE", r.title.view());
  AddText(c, "NOTE", r.note.view());
  for (int i = 0; i < r.emailCount && i < kMaxEmails; ++i) {
    const EmailEntry& email = r.emails[static_cast<std::size_t>(i)];
    VObject* property = vobject::AddPropValue(c, "EMAIL", email.address.str());
    if (!property) continue;
    AddFlagWords(property, email.flags);
    const int type = email.type >= 0 && email.type < static_cast<int>(emailTypeNames.size()) ? email.type
                                                                                              : EMAIL_TYPE_INTERNET;
    vobject::AddProp(property, emailTypeNames[static_cast<std::size_t>(type)].data());
  }
  if (!r.domesticLabel.empty()) {
    VObject* label = vobject::AddPropValue(c, "LABEL", r.domesticLabel.str());
    AddFlagWords(label, r.labelFlags);
    vobject::AddProp(label, "DOM");
  }
  if (!r.otherLabel.empty()) AddFlagWords(vobject::AddPropValue(c, "LABEL", r.otherLabel.str()), r.labelFlags);
  for (const UrlEntry& url : r.urls)
    if (!url.url.empty()) AddFlagWords(vobject::AddPropValue(c, "URL", url.url.str()), url.flags);
  AddTelephones(c, r.homePhones);
  AddTelephones(c, r.workPhones);
  for (const AddressEntry& address : r.addresses) AddAddress(c, address);
  AddAttachment(c, "SOUND", "WAVE", r.soundData, r.soundSize);
  AddAttachment(c, "LOGO", nullptr, r.logoData, r.logoSize);
  AddAttachment(c, "PHOTO", nullptr, r.photoData, r.photoSize);
  return card.release();
}

std::string RenderCardFile(const ContactRecord& record) {
  ContactRecord canonical;
  CanonicaliseForCard(record, canonical);
  const vobject::Object card(BuildVCard(canonical));
  if (!card) return {};
  std::string rendered = vobject::Render(card.get());
  if (rendered.empty()) return {};
  // The kept properties follow PHOTO, before the card's end.
  if (!canonical.extraProperties.empty()) {
    const auto end = rendered.rfind("END:VCARD");
    if (end == std::string::npos) return {};
    std::string extras;
    AppendExtraProperties(extras, canonical.extraProperties);
    rendered.insert(end, extras);
  }
  std::string bytes = AsCardFileBytes(rendered);
  // Never write a card that would not read back into the same fields.
  ContactRecord readBack;
  if (!ReadCardFromText(readBack, bytes) || !FirstCarriedDifference(canonical, readBack).empty()) return {};
  return bytes;
}

int SaveAs(const ContactRecord& record, const std::string& path) {
  if (path.empty()) return 0;
  const std::string bytes = RenderCardFile(record);
  if (bytes.empty()) return 0;
  return ReplaceFileAtomically(path, bytes) ? 1 : 0;
}

int SaveNew(ContactRecord& record, SyncBatch* batch) {
  std::string path = record.filePath.str();
  const auto slash = path.rfind('/');
  if (path.empty() || slash == std::string::npos) return 0;
  const std::string folder = path.substr(0, slash + 1);
  const std::string bytes = RenderCardFile(record);
  if (bytes.empty()) return 0;
  // Another writer may take each fresh name too; a few tries are plenty.
  for (int attempt = 0; attempt < 16 && !path.empty(); ++attempt) {
    switch (CreateFileExclusively(path, bytes, batch)) {
      case CreateResult::Created:
        record.filePath = path;
        return 1;
      case CreateResult::Failed:
        return 0;
      case CreateResult::NameTaken:
        MakeCardFileName(path, folder);
        break;
    }
  }
  return 0;
}

}  // namespace ab
