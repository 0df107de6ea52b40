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

}  // namespace

std::size_t Utf8SafeCut(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  std::size_t pos = 0;
  while (pos < maxBytes) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t len = SequenceLength(lead);
    // A lead byte followed by the wrong bytes is not a sequence: take it alone.
    for (std::size_t i = 1; i < len; ++i) {
      if (pos + i >= text.size() || !IsContinuation(static_cast<unsigned char>(text[pos + i]))) {
        len = 1;
        break;
      }
    }
    if (len == 0) len = 1;
    if (pos + len > maxBytes) break;
    pos += len;
  }
  return pos;
}

}  // namespace ab
