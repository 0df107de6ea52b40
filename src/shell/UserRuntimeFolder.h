#pragma once
// The user's own folder for the files and sockets that live only while the
// program runs: never a place another local user can write into.

#include <string>

namespace ab {

// $XDG_RUNTIME_DIR when it is a folder of the user's that nobody else may
// enter; otherwise "addressbook-<uid>" in the temporary folder ($TMPDIR or
// /tmp), made with access for the user alone. Empty when neither can be had
// safely (a name taken by another user's folder, a link, a file).
std::string UserRuntimeFolder();

// True when `path` is a folder (not a link) owned by the user with no access
// for group or others.
bool IsPrivateFolder(const std::string& path);

// True when nothing exists at `path`, or what exists belongs to the user.
bool IsFreeOrOwn(const std::string& path);

}  // namespace ab
