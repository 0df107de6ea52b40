#pragma once
// The file behind the registry helpers: "$XDG_CONFIG_HOME/Vantoro/registry.ini",
// or "$HOME/.config/Vantoro/registry.ini" when XDG_CONFIG_HOME is unset, empty
// or not absolute. Its form is described in shell/RegistryIni.h. Every
// helper call reads the file afresh and a change replaces it as a whole
// (written beside it, then renamed), so another program reading it never sees
// half a file.

#include <vector>

#include <QString>

#include "shell/RegistryIni.h"

namespace ab {

// Read from the environment at each call.
QString RegistryFilePath();

// A missing file is an empty store. 0, or kErrorAccessDenied when the file
// exists but cannot be read.
int LoadRegistryStore(std::vector<RegistryKey>& keys);

// Creates the folder when needed. 0, or kErrorAccessDenied.
int SaveRegistryStore(const std::vector<RegistryKey>& keys);

}  // namespace ab
