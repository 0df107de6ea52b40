#include "contacts/FixedText.h"

namespace ab {

namespace {

// Number of bytes of the UTF-8 sequence starting at `lead`, or 0 when `lead`
// cannot start one (a continuation byte or an invalid byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

struct Character {
  std::size_t bytes;
  std::size_t units;
};

// The character at `pos`: a marker pair, an ASCII byte, a whole UTF-8
// sequence, or a lone byte that is not UTF-8.
Character CharacterAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if ((lead == 0x01 || lead == 0x02) && pos + 1 < text.size() && text[pos + 1] == text[pos]) return {2, 1};
  if (lead < 0x80) return {1, 1};
  std::size_t len = SequenceLength(lead);
  for (std::size_t i = 1; i < len; ++i) {
    if (pos + i >= text.size() || !IsContinuation(static_cast<unsigned char>(text[pos + i]))) {
      len = 1;
      break;
    }
  }
  return {len == 0 ? 1 : len, 2};
}

}  // namespace

std::size_t CountUnits(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const Character c = CharacterAt(text, pos);
    units += c.units;
    pos += c.bytes;
  }
  return units;
}

std::size_t CutToUnits(std::string_view text, std::size_t maxUnits) {
  if (2 * text.size() <= maxUnits) return text.size();  // no byte counts more than two units
  std::size_t pos = 0;
  std::size_t units = 0;
  while (pos < text.size()) {
    const Character c = CharacterAt(text, pos);
    if (units + c.units > maxUnits) break;
    units += c.units;
    pos += c.bytes;
  }
  return pos;
}

}  // namespace ab
