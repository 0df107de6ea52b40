#include "contacts/ByteScan.h"

#include <cstdint>
#include <cstring>

#include "contacts/CardEncoding.h"

namespace ab {

namespace {

// GCC and Clang turn these into the machine's vector instructions, or into
// plain loops where it has none.
using Block = std::uint8_t __attribute__((vector_size(16)));
using Mask = std::int8_t __attribute__((vector_size(16)));  // each byte 0 or all ones
constexpr std::size_t kBlock = sizeof(Block);

Block Load(const char* p) {
  Block b;
  std::memcpy(&b, p, kBlock);
  return b;
}

bool Any(Mask m) {
  std::uint64_t halves[2];
  std::memcpy(halves, &m, kBlock);
  return (halves[0] | halves[1]) != 0;
}

// Bytes outside the alphabet are those whose every test fails. With bit 0x20
// set, exactly the letters of either case fall in 'a'..'z'.
Mask OtherBytes(Block b) {
  const Mask inside = (static_cast<Block>((b | 0x20) - 'a') < 26) | (static_cast<Block>(b - '0') < 10) | (b == '+') |
                      (b == '/') | (b == '=') | (b == ' ') | (b == '\t');
  return ~inside;
}

}  // namespace

bool IsBase64DataLine(std::string_view line) {
  const std::size_t n = line.size();
  if (n < kBlock) {
    for (const char c : line)
      if (kBase64Table[static_cast<std::uint8_t>(c)] == kBase64Other) return false;
    return true;
  }
  // Data lines are short: one test at the end costs less than one per block.
  Mask other{};
  std::size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) other |= OtherBytes(Load(line.data() + i));
  // The last block overlaps the one before it, whose bytes passed already.
  if (i < n) other |= OtherBytes(Load(line.data() + n - kBlock));
  return !Any(other);
}

}  // namespace ab
