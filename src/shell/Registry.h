#pragma once
// String values under registry-style key paths, kept for the current user in
// the INI file of shell/RegistryStore.h. It stands in for the machine-wide
// keys the product's programs share: the address book leaves the hand-over
// address there for the sibling mail program, and the product's installer
// records the sibling program's folder there.
//
// Results are the system error codes of shell/RegistryErrors.h, 0 for success.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "shell/RegistryErrors.h"

namespace ab {

// Sets the string value `valueName` of `keyPath` to `text` (up to its first
// zero byte), creating the key when it does not exist yet.
int WriteRegistryText(std::string_view keyPath, std::string_view valueName, std::string_view text);

// Reads the string value `valueName` of `keyPath` into `out`, an out buffer of
// kRegistryValueCapacity bytes: a value that needs more (with its terminator)
// gives kErrorInvalidParameter. When the key cannot be opened `out` is left
// untouched. A value that cannot be read is asked for ten times with growing
// blocks, and the tenth attempt writes "Loop more than 10 times" to the debug
// output (qDebug, which prints it as one line on stderr unless the program
// installs its own message handler).
int ReadRegistryValue(std::string_view keyPath, std::string_view valueName, std::string& out);

// The read loop of ReadRegistryValue over an open key. `query` fills a block
// of `size` bytes and sets `size` to the bytes the value takes (as
// RegistryKey::QueryValue does); attempt n offers 100 × n bytes.
using RegistryQuery = std::function<int(char* block, std::uint32_t& size)>;
int ReadValueWithRetries(const RegistryQuery& query, std::string& out);

}  // namespace ab
