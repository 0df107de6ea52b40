#pragma once
// Sending mail with the product's own mail program, "OSTREL_SKIN_UI.exe". The
// address is left in the registry value "e-mail address" of
// "Software\Vantoro\ZiziZizi", where the program picks it up; the program's
// folder is the "Path" value of
// "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\Ostrel" (both in the
// store of shell/Registry.h).

#include <string>
#include <string_view>

namespace ab {

// Always true: whether the program is there shows only when mail is sent.
bool IsSiblingMailAvailable();

// Sets `folder` to the "Path" value, or to the empty text when there is none
// or it does not fit 260 bytes. True when a non-empty folder was found.
bool FindSiblingMailFolder(std::string& folder);

// Leaves `address` (up to its first zero byte) in the hand-over value first,
// whatever follows, then starts "<folder>/OSTREL_SKIN_UI.exe" detached with no
// arguments. 1 when it started; 0, silently, when there is no folder, the
// program path would not fit 260 bytes, or the program cannot be started.
int SendViaSiblingMail(std::string_view address);

}  // namespace ab
