#pragma once
// Whether the window program can open a display at all, asked before the
// application object exists: Qt aborts when its platform cannot connect.

#include <optional>
#include <string>

namespace ab {

// Empty when a window can be shown: a platform is chosen explicitly
// (QT_QPA_PLATFORM), or the X display in DISPLAY answers, or the Wayland
// socket of WAYLAND_DISPLAY accepts a connection and Qt can use it.
// Otherwise a message for the user that says what is wrong.
std::optional<std::string> DisplayProblem();

}  // namespace ab
