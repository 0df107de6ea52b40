#include "shell/Registry.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <QDebug>

#include "shell/RegistryStore.h"
#include "shell/ShellNames.h"

namespace ab {

namespace {

constexpr int kReadAttempts = 10;
constexpr std::uint32_t kBlockStep = 100;

// A text ends at its first zero byte, as a stored string value does.
std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

int WriteRegistryText(std::string_view keyPath, std::string_view valueName, std::string_view text) {
  std::vector<RegistryKey> keys;
  if (const int loaded = LoadRegistryStore(keys); loaded != kErrorSuccess) return loaded;

  RegistryKey* key = FindRegistryKey(keys, keyPath);
  if (key == nullptr) {
    keys.push_back(RegistryKey{std::string(keyPath), {}});
    key = &keys.back();
  }
  key->SetValue(valueName, UpToZero(text));
  return SaveRegistryStore(keys);
}

int ReadRegistryValue(std::string_view keyPath, std::string_view valueName, std::string& out) {
  std::vector<RegistryKey> keys;
  if (const int loaded = LoadRegistryStore(keys); loaded != kErrorSuccess) return loaded;

  const RegistryKey* key = FindRegistryKey(keys, keyPath);
  if (key == nullptr) return kErrorFileNotFound;

  const std::string name(valueName);
  return ReadValueWithRetries(
      [key, &name](char* block, std::uint32_t& size) { return key->QueryValue(name, block, size); }, out);
}

int ReadValueWithRetries(const RegistryQuery& query, std::string& out) {
  int result = kErrorNotEnoughMemory;
  int attempt = 0;
  while (attempt < kReadAttempts) {
    ++attempt;
    const std::uint32_t offered = kBlockStep * static_cast<std::uint32_t>(attempt);
    std::uint32_t size = offered;
    char* block = static_cast<char*>(std::calloc(offered, 1));
    if (block == nullptr) break;

    result = query(block, size);
    if (result == kErrorSuccess) {
      if (size > kRegistryValueCapacity) {
        std::free(block);
        return kErrorInvalidParameter;
      }
      const std::string_view bytes(block, std::min(size, offered));
      out.assign(UpToZero(bytes));
    }
    std::free(block);
    if (result == kErrorSuccess) break;
  }
  if (attempt == kReadAttempts) qDebug("%s", kReadLoopDebugText);
  return result;
}

}  // namespace ab
