#pragma once
// One contact in memory, that is one card file: fixed-capacity texts in the
// stored form, fixed slot arrays, and three owned attachments of which the
// logo and the photo are also kept decoded for display.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/FixedText.h"
#include "contacts/TypeFlags.h"
#include "media/ByteBuffer.h"
#include "media/Picture.h"

namespace ab {

inline constexpr int kMaxEmails = 16;
inline constexpr int kWorkPhoneSlots = 4;
inline constexpr int kHomePhoneSlots = 6;
inline constexpr int kAddressSlots = 2;
inline constexpr int kUrlSlots = 2;

// Telephone and web/postal slot meanings.
enum PhoneSlot { PHONE_VOICE = 0, PHONE_FAX = 1, PHONE_PAGER = 2, PHONE_CELL = 3, PHONE_VIDEO = 4, PHONE_ICQ = 5 };
enum PlaceSlot { SLOT_BUSINESS = 0, SLOT_HOME = 1 };

inline constexpr TypeFlags kDefaultAddressFlags = FLAG_POSTAL | FLAG_PARCEL;

struct EmailEntry {
  FixedText<256> address;
  std::int32_t type = EMAIL_TYPE_INTERNET;
  TypeFlags flags = 0;
};

struct PhoneEntry {
  FixedText<40> number;
  TypeFlags flags = 0;
};

struct AddressEntry {
  FixedText<20> poBox;
  FixedText<512> street;
  FixedText<512> extendedAddress;
  FixedText<64> locality;
  FixedText<64> region;
  FixedText<20> postalCode;
  FixedText<64> country;
  TypeFlags flags = kDefaultAddressFlags;

  bool HasAnyComponent() const;
};

struct UrlEntry {
  FixedText<256> url;
  TypeFlags flags = 0;
};

class ContactRecord {
 public:
  ContactRecord() { Clear(); }
  virtual ~ContactRecord() = default;
  ContactRecord(const ContactRecord&) = delete;
  ContactRecord& operator=(const ContactRecord&) = delete;

  // Runs ReadCard and returns 1 whatever it found.
  virtual int Load(const std::string& path);
  // Writes the record as a card file; 1 on success, 0 on failure.
  virtual int SaveAs(const std::string& path) const;
  virtual int Save() const { return SaveAs(filePath.str()); }

  // Every field back to its default; attachments and pictures released.
  // `currentAddress` is reading state and is left alone.
  void Clear();

  std::string_view PreferredEmail() const;  // caller checks preferredEmail != -1
  std::string_view WorkPhone() const { return workPhones[PHONE_VOICE].number.view(); }
  std::string_view HomePhone() const { return homePhones[PHONE_VOICE].number.view(); }

  // Replace an attachment; the matching picture is rebuilt from the new bytes.
  void SetPhoto(ByteBuffer data);
  void SetLogo(ByteBuffer data);
  void SetSound(ByteBuffer data);

  FixedText<128> orgName;
  FixedText<128> orgUnit;
  FixedText<257> formattedName;
  FixedText<128> additionalNames;
  FixedText<128> givenName;
  FixedText<128> familyName;
  FixedText<128> title;
  FixedText<512> domesticLabel;
  FixedText<512> otherLabel;
  FixedText<512> note;
  ByteBuffer soundData;
  ByteBuffer logoData;
  ByteBuffer photoData;
  std::int32_t photoSize = 0;
  std::int32_t logoSize = 0;
  std::int32_t soundSize = 0;
  std::array<EmailEntry, kMaxEmails> emails;
  std::array<PhoneEntry, kWorkPhoneSlots> workPhones;
  std::array<PhoneEntry, kHomePhoneSlots> homePhones;
  std::array<AddressEntry, kAddressSlots> addresses;
  std::array<UrlEntry, kUrlSlots> urls;
  TypeFlags labelFlags = 0;
  FixedText<256> filePath;
  std::unique_ptr<Picture> logoPicture;
  std::unique_ptr<Picture> photoPicture;
  std::int32_t preferredEmail = -1;
  std::int32_t emailCount = 0;
  std::int32_t currentAddress = SLOT_BUSINESS;
  // Properties the record has no field for, each the complete text of one
  // property as the card file holds it (continuation lines included, no final
  // CR LF), written back after PHOTO in this order. A new card has none.
  std::vector<std::string> extraProperties;
};

// A picture decoded from attachment bytes, or null when there are none.
std::unique_ptr<Picture> DecodePicture(const ByteBuffer& data);

}  // namespace ab
