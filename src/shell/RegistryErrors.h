#pragma once
// Results of the registry helpers: system error codes with their Win32
// numbers, so that callers and logs read the same as on the product's other
// platform.

namespace ab {

inline constexpr int kErrorSuccess = 0;            // ERROR_SUCCESS
inline constexpr int kErrorFileNotFound = 2;       // ERROR_FILE_NOT_FOUND: no such key or value
inline constexpr int kErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED: the store cannot be read or written
inline constexpr int kErrorNotEnoughMemory = 8;    // ERROR_NOT_ENOUGH_MEMORY: no query block
inline constexpr int kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER: the value does not fit the out buffer
inline constexpr int kErrorMoreData = 234;         // ERROR_MORE_DATA: the query block was too small

}  // namespace ab
