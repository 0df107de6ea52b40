#include "csvimport/CsvCharset.h"

#include <algorithm>
#include <cerrno>

namespace ab {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// glibc spells some sets in more than one way; the first known name wins.
iconv_t OpenToUtf8(CsvCharset from) {
  static constexpr const char* kUtf16LE[] = {"UTF-16LE", nullptr};
  static constexpr const char* kUtf16BE[] = {"UTF-16BE", nullptr};
  static constexpr const char* kBig5[] = {"CP950", "BIG5", nullptr};
  static constexpr const char* kShiftJis[] = {"CP932", "SHIFT_JIS", nullptr};
  static constexpr const char* kWindows1252[] = {"WINDOWS-1252", "CP1252", nullptr};
  const char* const* names = nullptr;
  switch (from) {
    case CsvCharset::Utf16LE: names = kUtf16LE; break;
    case CsvCharset::Utf16BE: names = kUtf16BE; break;
    case CsvCharset::Big5: names = kBig5; break;
    case CsvCharset::ShiftJis: names = kShiftJis; break;
    case CsvCharset::Windows1252: names = kWindows1252; break;
    case CsvCharset::Utf8:
    case CsvCharset::Utf8WithBom: return kNoConverter;
  }
  for (; names && *names; ++names) {
    const iconv_t cd = ::iconv_open("UTF-8", *names);
    if (cd != kNoConverter) return cd;
  }
  return kNoConverter;
}

}  // namespace

std::string_view CharsetName(CsvCharset charset) {
  switch (charset) {
    case CsvCharset::Utf8: return "UTF-8";
    case CsvCharset::Utf8WithBom: return "UTF-8 with byte-order mark";
    case CsvCharset::Utf16LE: return "UTF-16LE";
    case CsvCharset::Utf16BE: return "UTF-16BE";
    case CsvCharset::Big5: return "BIG5";
    case CsvCharset::ShiftJis: return "SHIFT_JIS";
    case CsvCharset::Windows1252: return "WINDOWS-1252";
  }
  return "?";
}

void Utf8Validator::Feed(std::string_view bytes) {
  for (const char ch : bytes) {
    if (!valid_) return;
    const auto b = static_cast<unsigned char>(ch);
    if (needed_ > 0) {
      if (b < low_ || b > high_) {
        valid_ = false;
        return;
      }
      low_ = 0x80;
      high_ = 0xBF;
      --needed_;
      continue;
    }
    if (b < 0x80) continue;
    // The first continuation byte is narrowed where a lead byte would
    // otherwise allow over-long forms, surrogates or values past U+10FFFF.
    if (b >= 0xC2 && b <= 0xDF) {
      needed_ = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      needed_ = 2;
      if (b == 0xE0) low_ = 0xA0;
      if (b == 0xED) high_ = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      needed_ = 3;
      if (b == 0xF0) low_ = 0x90;
      if (b == 0xF4) high_ = 0x8F;
    } else {
      valid_ = false;
    }
  }
}

CharsetDecoder::CharsetDecoder(CsvCharset from)
    : cd_(OpenToUtf8(from)),
      unitBytes_(from == CsvCharset::Utf16LE || from == CsvCharset::Utf16BE ? 2 : 1) {}

CharsetDecoder::~CharsetDecoder() {
  if (IsOpen()) ::iconv_close(cd_);
}

void CharsetDecoder::Feed(std::string_view bytes, bool last, std::string& out) {
  if (!IsOpen()) return;
  std::string input = std::move(held_);
  held_.clear();
  input.append(bytes);

  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPos = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = ::iconv(cd_, &in, &inLeft, &outPos, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPos - buffer));
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    if (errno == EINVAL && !last) {
      held_.assign(in, inLeft);  // a character cut by the end of this piece
      return;
    }
    // An invalid sequence, or one left incomplete at the very end.
    out += kReplacementCharacter;
    const std::size_t skip = errno == EINVAL ? inLeft : std::min(unitBytes_, inLeft);
    in += skip;
    inLeft -= skip;
  }
  if (last) ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
}

std::optional<std::string> DecodeStrictly(std::string_view bytes, CsvCharset from) {
  if (from == CsvCharset::Utf8 || from == CsvCharset::Utf8WithBom) {
    Utf8Validator validator;
    validator.Feed(bytes);
    if (!validator.Finish()) return std::nullopt;
    return std::string(bytes);
  }
  const iconv_t cd = OpenToUtf8(from);
  if (cd == kNoConverter) return std::nullopt;
  std::string input(bytes);
  char* in = input.data();
  std::size_t inLeft = input.size();
  std::string out(input.size() * 4 + 16, '\0');  // 4 bytes of UTF-8 per input byte at most
  char* outPos = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = ::iconv(cd, &in, &inLeft, &outPos, &outLeft);
  ::iconv_close(cd);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

bool HasCodePointIn(std::string_view utf8, char32_t low, char32_t high) {
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (code >= low && code <= high) return true;
    i += length;
  }
  return false;
}

}  // namespace ab
