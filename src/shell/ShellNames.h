#pragma once
// The fixed names, texts and buffer sizes of the shell hand-over. Other
// programs of the product (the sibling mail program, its installer) rely on
// them, so they never change.

#include <cstddef>

namespace ab {

// Shortcut files, written in the temporary folder and left there after use.
inline constexpr char kWebShortcutFileName[] = "vtwww.url";
inline constexpr char kMailShortcutFileName[] = "ostrel.url";
inline constexpr char kShortcutSectionLine[] = "[InternetShortCut]\n";
inline constexpr char kShortcutUrlPrefix[] = "URL=";
inline constexpr char kMailtoScheme[] = "mailto:";

// The desktop's URL opener, found on PATH.
inline constexpr char kUrlOpenerName[] = "xdg-open";

// The product's own mail program and the registry keys around it.
inline constexpr char kSiblingProgramFileName[] = "OSTREL_SKIN_UI.exe";
inline constexpr char kHandOverKey[] = "Software\\Vantoro\\ZiziZizi";
inline constexpr char kHandOverValue[] = "e-mail address";
inline constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ostrel";
inline constexpr char kAppPathsValue[] = "Path";

inline constexpr char kReadLoopDebugText[] = "Loop more than 10 times";

// Every path buffer of the hand-over holds 260 bytes, terminator included:
// the temporary folder, the shortcut path, the sibling program's folder and
// the composed program path. Longer paths are refused, never cut.
inline constexpr std::size_t kShellPathCapacity = 260;
// The out buffer of a registry read, terminator included.
inline constexpr std::size_t kRegistryValueCapacity = 260;

}  // namespace ab
