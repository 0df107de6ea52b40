#pragma once
// The vCard type parameters that a contact keeps with a value, as one bit set,
// and the e-mail type words. Both tables are compared exactly (case matters).

#include <array>
#include <cstdint>
#include <string_view>

namespace ab {

using TypeFlags = std::uint32_t;

enum : TypeFlags {
  FLAG_WORK = 0x1,
  FLAG_HOME = 0x2,
  FLAG_VOICE = 0x4,
  FLAG_FAX = 0x8,
  FLAG_PAGER = 0x10,
  FLAG_CELL = 0x20,
  FLAG_MSG = 0x40,
  FLAG_VIDEO = 0x80,
  FLAG_ICQ = 0x100,
  FLAG_PREF = 0x200,
  FLAG_POSTAL = 0x400,
  FLAG_PARCEL = 0x800,
  FLAG_QUOTED_PRINTABLE = 0x1000,
};

struct TypeFlagWord {
  std::string_view word;
  TypeFlags bit;
};

// In the order the writer emits them.
inline constexpr std::array<TypeFlagWord, 13> typeFlagWords{{
    {"HOME", FLAG_HOME},
    {"WORK", FLAG_WORK},
    {"VOICE", FLAG_VOICE},
    {"FAX", FLAG_FAX},
    {"PAGER", FLAG_PAGER},
    {"CELL", FLAG_CELL},
    {"MSG", FLAG_MSG},
    {"VIDEO", FLAG_VIDEO},
    {"ICQ", FLAG_ICQ},
    {"PREF", FLAG_PREF},
    {"POSTAL", FLAG_POSTAL},
    {"PARCEL", FLAG_PARCEL},
    {"QUOTED-PRINTABLE", FLAG_QUOTED_PRINTABLE},
}};

// The bit of a parameter word, or 0 when the word is not one of the thirteen.
constexpr TypeFlags TypeFlagOf(std::string_view word) {
  for (const auto& entry : typeFlagWords)
    if (entry.word == word) return entry.bit;
  return 0;
}

inline constexpr int EMAIL_TYPE_INTERNET = 6;

inline constexpr std::array<std::string_view, 13> emailTypeNames{
    "AOL", "APPLELINK", "ATTMAIL", "CIS", "EWORLD", "IBMMail", "INTERNET",
    "MCIMAIL", "MSN", "POWERSHARE", "PRODIGY", "TLX", "X400"};

// Index of an e-mail type word, or -1.
constexpr int EmailTypeIndex(std::string_view word) {
  for (std::size_t i = 0; i < emailTypeNames.size(); ++i)
    if (emailTypeNames[i] == word) return static_cast<int>(i);
  return -1;
}

}  // namespace ab
