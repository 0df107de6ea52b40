#pragma once
// A zero-terminated text of fixed capacity, as the card files and the contact
// table hold them. Capacities count units as the original double-byte code
// pages did: an ASCII byte is one unit, any character outside ASCII two, and a
// stored line break or semicolon (a marker pair) one. Every store cuts at the
// capacity, never inside a character or a marker pair.

#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace ab {

// Units of `text` (see above). A byte that starts no valid UTF-8 sequence is
// a character outside ASCII of its own.
std::size_t CountUnits(std::string_view text);

// Byte length of the longest prefix of `text` that takes at most `maxUnits`
// units and ends between two characters.
std::size_t CutToUnits(std::string_view text, std::size_t maxUnits);

// `text` cut to at most `maxUnits` units.
inline std::string_view LeadingUnits(std::string_view text, std::size_t maxUnits) {
  return text.substr(0, CutToUnits(text, maxUnits));
}

template <std::size_t Capacity>
class FixedText {
  static_assert(Capacity >= 1, "room for the terminator is needed");

 public:
  // In units, terminator included: the text holds at most Capacity - 1 units.
  static constexpr std::size_t capacity = Capacity;

  FixedText() { chars_[0] = '\0'; }
  FixedText(std::string_view text) { Set(text); }  // NOLINT: converts like a string

  FixedText& operator=(std::string_view text) {
    Set(text);
    return *this;
  }

  // Stores `text`, cut to at most Capacity - 1 units.
  void Set(std::string_view text) {
    const std::size_t n = CutToUnits(text, Capacity - 1);
    if (n > 0) std::memmove(chars_, text.data(), n);  // text may alias our own buffer
    chars_[n] = '\0';
  }

  void Clear() { chars_[0] = '\0'; }
  bool empty() const { return chars_[0] == '\0'; }
  std::size_t size() const { return std::strlen(chars_); }  // in bytes
  const char* c_str() const { return chars_; }
  std::string_view view() const { return std::string_view(chars_); }
  std::string str() const { return std::string(chars_); }
  operator std::string_view() const { return view(); }  // NOLINT: reads like a string

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& out, const FixedText& t) { return out << t.view(); }

 private:
  // No unit takes more than two bytes.
  char chars_[2 * (Capacity - 1) + 1];
};

}  // namespace ab
