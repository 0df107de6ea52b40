#pragma once
// A zero-terminated text of fixed capacity (terminator included), as the card
// files and the contact table hold them. Every store cuts at the capacity,
// never in the middle of a UTF-8 sequence.

#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace ab {

// Length of the longest prefix of `text` that fits in `maxBytes` bytes without
// ending inside a UTF-8 multi-byte sequence. Bytes that are not valid UTF-8
// are treated as single characters, so legacy 8-bit text is cut byte-exactly.
std::size_t Utf8SafeCut(std::string_view text, std::size_t maxBytes);

template <std::size_t Capacity>
class FixedText {
  static_assert(Capacity >= 1, "room for the terminator is needed");

 public:
  static constexpr std::size_t capacity = Capacity;

  FixedText() { chars_[0] = '\0'; }
  FixedText(std::string_view text) { Set(text); }  // NOLINT: converts like a string

  FixedText& operator=(std::string_view text) {
    Set(text);
    return *this;
  }

  // Stores `text`, cut to at most Capacity - 1 bytes at a character boundary.
  void Set(std::string_view text) {
    const std::size_t n = Utf8SafeCut(text, Capacity - 1);
    if (n > 0) std::memmove(chars_, text.data(), n);  // text may alias our own buffer
    chars_[n] = '\0';
  }

  void Clear() { chars_[0] = '\0'; }
  bool empty() const { return chars_[0] == '\0'; }
  std::size_t size() const { return std::strlen(chars_); }
  const char* c_str() const { return chars_; }
  std::string_view view() const { return std::string_view(chars_); }
  std::string str() const { return std::string(chars_); }
  operator std::string_view() const { return view(); }  // NOLINT: reads like a string

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& out, const FixedText& t) { return out << t.view(); }

 private:
  char chars_[Capacity];
};

}  // namespace ab
