#pragma once
// Replacing a file so that readers see either the old or the new bytes, never
// a half-written file.

#include <string>
#include <string_view>

namespace ab {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// disk and renames it over `path`. False on any failure; the old file, if any,
// is then untouched and no temporary file is left behind.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace ab
