#pragma once
// Cards and records for the data tests: a card text of given property lines,
// a record with every field set, and a record shown as "key=value" lines so
// that one string states everything a read gave.

#include <string>
#include <string_view>
#include <vector>

#include "contacts/ContactRecord.h"
#include "contacts/VCardWriter.h"

namespace ab::testing {

// A card of the given property lines, every line break written as `eol`.
inline std::string Card(const std::vector<std::string>& lines, std::string_view eol = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text = "BEGIN:VCARD\r\n" + text + "END:VCARD\r\n";
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += eol.size())
    text.replace(at, 2, eol);
  return text;
}

// The text we write for `record`, without the file's trailing zero byte.
inline std::string CardText(const ContactRecord& record) {
  const std::string bytes = RenderCardFile(record);
  return bytes.ends_with('\0') ? bytes.substr(0, bytes.size() - 1) : bytes;
}

inline std::string FlagWords(TypeFlags flags) {
  std::string list;
  for (const auto& entry : typeFlagWords) list += (flags & entry.bit) ? " " + std::string(entry.word) : "";
  return list;
}

// The fields a record carries, "key=value" a line, only those set; stored
// line breaks and semicolons show as \n and \;, flags as their words, an
// e-mail type other than INTERNET as tN, the preferred e-mail with " *".
inline std::string Shown(const ContactRecord& r) {
  std::string out;
  const auto add = [&out](const std::string& key, std::string_view value) {
    if (value.find_first_not_of('/') == std::string_view::npos) return;
    out += key + "=";
    for (std::size_t i = 0; i < value.size(); ++i) {
      const bool marker = (value[i] == '\x01' || value[i] == '\x02') && i + 1 < value.size() && value[i + 1] == value[i];
      out += marker ? (value[i++] == '\x01' ? "\\n" : "\\;") : std::string(1, value[i]);
    }
    out += "\n";
  };
  add("fn", r.formattedName);
  add("n", r.familyName.str() + "/" + r.givenName.str() + "/" + r.additionalNames.str());
  add("org", r.orgName.str() + "/" + r.orgUnit.str());
  add("title", r.title);
  add("note", r.note);
  add("dom", r.domesticLabel.empty() ? "" : r.domesticLabel.str() + FlagWords(r.labelFlags));
  add("label", r.otherLabel.empty() ? "" : r.otherLabel.str() + FlagWords(r.labelFlags));
  for (int i = 0; i < r.emailCount; ++i) {
    const EmailEntry& e = r.emails[static_cast<std::size_t>(i)];
    out += "email=" + e.address.str() + FlagWords(e.flags) +
           (e.type == EMAIL_TYPE_INTERNET ? "" : " t" + std::to_string(e.type)) + (r.preferredEmail == i ? " *" : "") + "\n";
  }
  const char* kinds[] = {"voice", "fax", "pager", "cell", "video", "icq"};
  for (std::size_t i = 0; i < r.homePhones.size(); ++i) {
    if (i < r.workPhones.size() && !r.workPhones[i].number.empty())
      add(std::string("work.") + kinds[i], r.workPhones[i].number.str() + FlagWords(r.workPhones[i].flags));
    if (!r.homePhones[i].number.empty())
      add(std::string("home.") + kinds[i], r.homePhones[i].number.str() + FlagWords(r.homePhones[i].flags));
  }
  for (std::size_t i = 0; i < r.addresses.size(); ++i) {
    const AddressEntry& a = r.addresses[i];
    if (!a.HasAnyComponent()) continue;
    add(i == SLOT_HOME ? "home.adr" : "work.adr", a.poBox.str() + "/" + a.extendedAddress.str() + "/" + a.street.str() +
        "/" + a.locality.str() + "/" + a.region.str() + "/" + a.postalCode.str() + "/" + a.country.str() + FlagWords(a.flags));
  }
  for (std::size_t i = 0; i < r.urls.size(); ++i)
    if (!r.urls[i].url.empty()) add(i == SLOT_HOME ? "home.url" : "work.url", r.urls[i].url.str() + FlagWords(r.urls[i].flags));
  const auto media = [&](const char* key, int size, const std::unique_ptr<Picture>& picture) {
    if (size != 0) add(key, std::to_string(size) + (picture ? " " + std::to_string(picture->Width()) : ""));
  };
  media("photo", r.photoSize, r.photoPicture), media("logo", r.logoSize, r.logoPicture), media("sound", r.soundSize, nullptr);
  for (const std::string& kept : r.extraProperties) add("kept", kept);
  return out;
}

// A record with every field the card carries set.
inline void FillSample(ContactRecord& r) {
  const auto phone = [](PhoneEntry& p, std::string_view number, TypeFlags flags) { p.number = number, p.flags = flags; };
  r.formattedName = "Dr. Ann Lee", r.familyName = "Lee", r.givenName = "Ann", r.additionalNames = "M";
  r.orgName = "Acme", r.orgUnit = "R&D", r.title = "Chemist", r.note = "Line one\x01\x01Line two\x02\x02 end";
  r.emails[0].address = "ann@acme.example", r.emails[0].flags = FLAG_PREF, r.preferredEmail = 0;
  r.emails[1].address = "ann@aol.example", r.emails[1].type = 0, r.emailCount = 2;
  r.domesticLabel = "1 Main St", r.otherLabel = "PO Box 9", r.labelFlags = FLAG_WORK | FLAG_QUOTED_PRINTABLE;
  r.urls[SLOT_BUSINESS].url = "http://acme.example", r.urls[SLOT_BUSINESS].flags = FLAG_WORK;
  r.urls[SLOT_HOME].url = "http://ann.example", r.urls[SLOT_HOME].flags = FLAG_HOME;
  phone(r.workPhones[PHONE_VOICE], "555-0100", FLAG_WORK | FLAG_VOICE);
  phone(r.workPhones[PHONE_FAX], "555-0101", FLAG_WORK | FLAG_FAX);
  phone(r.homePhones[PHONE_CELL], "555-0199", FLAG_HOME | FLAG_CELL);
  phone(r.homePhones[PHONE_ICQ], "12345", FLAG_HOME | FLAG_ICQ);
  AddressEntry &work = r.addresses[SLOT_BUSINESS], &home = r.addresses[SLOT_HOME];
  work.street = "1 Main St", work.locality = "Springfield", work.flags |= FLAG_WORK;
  home.poBox = "9", home.country = "\xE4\xB8\xAD\xE5\x9B\xBD", home.flags |= FLAG_HOME;
  const std::string wave("RIFF\0\0\0\0WAVEfmt ", 16);
  r.SetSound(ByteBuffer::Copy(wave.data(), static_cast<std::int64_t>(wave.size())));
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += static_cast<char>(i * 7);
  r.SetLogo(ByteBuffer::Copy(bytes.data(), 300));
  r.SetPhoto(ByteBuffer::Copy(bytes.data() + 1, 299));
}

}  // namespace ab::testing
