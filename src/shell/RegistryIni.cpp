#include "shell/RegistryIni.h"

#include <algorithm>
#include <cstring>

namespace ab {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kKeyPathSpecials = "%";
constexpr std::string_view kValueNameSpecials = "%=[;#";
constexpr std::string_view kTextSpecials = "%";

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string Escape(std::string_view text, std::string_view specials) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsControl(byte) || specials.find(c) != std::string_view::npos) {
      out += '%';
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A '%' not followed by two hex digits stands for itself, so hand-written
// files need not escape every percent sign.
std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::size_t OpenOrAddKey(std::vector<RegistryKey>& keys, std::string_view path) {
  if (const RegistryKey* key = FindRegistryKey(keys, path)) return static_cast<std::size_t>(key - keys.data());
  keys.push_back(RegistryKey{std::string(path), {}});
  return keys.size() - 1;
}

}  // namespace

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

RegistryKey* FindRegistryKey(std::vector<RegistryKey>& keys, std::string_view path) {
  for (RegistryKey& key : keys) {
    if (RegistryNamesEqual(key.path, path)) return &key;
  }
  return nullptr;
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
  for (const RegistryValue& value : values) {
    if (RegistryNamesEqual(value.name, name)) return &value;
  }
  return nullptr;
}

void RegistryKey::SetValue(std::string_view name, std::string_view text) {
  for (RegistryValue& value : values) {
    if (RegistryNamesEqual(value.name, name)) {
      value.text = std::string(text);
      return;
    }
  }
  values.push_back(RegistryValue{std::string(name), std::string(text)});
}

int RegistryKey::QueryValue(std::string_view name, char* block, std::uint32_t& size) const {
  const RegistryValue* value = FindValue(name);
  if (!value) return kErrorFileNotFound;
  const std::size_t needed = value->text.size() + 1;
  if (block == nullptr || needed > size) {
    size = static_cast<std::uint32_t>(std::min<std::size_t>(needed, UINT32_MAX));
    return kErrorMoreData;
  }
  std::memcpy(block, value->text.c_str(), needed);
  size = static_cast<std::uint32_t>(needed);
  return kErrorSuccess;
}

std::vector<RegistryKey> ParseRegistryIni(std::string_view text) {
  std::vector<RegistryKey> keys;
  constexpr std::size_t kNoKey = static_cast<std::size_t>(-1);
  std::size_t current = kNoKey;  // an index: the vector grows while we parse
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      // An unclosed section line opens no key, so its values are not taken
      // for those of the key above it.
      current = (line.size() >= 2 && line.back() == ']')
                    ? OpenOrAddKey(keys, Unescape(line.substr(1, line.size() - 2)))
                    : kNoKey;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (current == kNoKey || equals == std::string_view::npos) continue;
    keys[current].SetValue(Unescape(line.substr(0, equals)), Unescape(line.substr(equals + 1)));
  }
  return keys;
}

std::string FormatRegistryIni(const std::vector<RegistryKey>& keys) {
  std::string out = "; Registry keys shared by the Vantoro programs of this user.\n";
  for (const RegistryKey& key : keys) {
    out += '\n';
    out += '[';
    out += Escape(key.path, kKeyPathSpecials);
    out += "]\n";
    for (const RegistryValue& value : key.values) {
      out += Escape(value.name, kValueNameSpecials);
      out += '=';
      out += Escape(value.text, kTextSpecials);
      out += '\n';
    }
  }
  return out;
}

}  // namespace ab
