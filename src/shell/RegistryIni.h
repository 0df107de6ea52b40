#pragma once
// The text form of the per-user registry store: one INI section per key, one
// "name=data" line per string value.
//
//   [Software\Vantoro\ZiziZizi]
//   e-mail address=someone@example.com
//
//   [SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\Ostrel]
//   Path=/opt/ostrel
//
// Key paths, value names and texts are kept byte for byte (backslashes and
// spaces included, nothing trimmed); only a few bytes are written as %XX so
// that everything reads back exactly: '%' and control bytes everywhere, and
// '=', '[', ';' and '#' in value names (they would end the name or start a
// section or a comment). Key paths and value names match regardless of the
// case of A-Z, as registry names do; the spelling first written is kept.
// Lines starting with ';' or '#', blank lines and lines that fit no form are
// ignored; a section that appears twice is one key, and a name that appears
// twice in a key keeps its last text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/RegistryErrors.h"

namespace ab {

struct RegistryValue {
  std::string name;
  std::string text;
};

struct RegistryKey {
  std::string path;
  std::vector<RegistryValue> values;

  const RegistryValue* FindValue(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view text);

  // Copies the value with its terminating zero into `block`, which offers
  // `size` bytes; `size` becomes the number of bytes the value takes.
  // 0 on success, kErrorMoreData when the block is too small, and
  // kErrorFileNotFound (size untouched) when there is no such value.
  int QueryValue(std::string_view name, char* block, std::uint32_t& size) const;
};

bool RegistryNamesEqual(std::string_view a, std::string_view b);
RegistryKey* FindRegistryKey(std::vector<RegistryKey>& keys, std::string_view path);

std::vector<RegistryKey> ParseRegistryIni(std::string_view text);
std::string FormatRegistryIni(const std::vector<RegistryKey>& keys);

}  // namespace ab
