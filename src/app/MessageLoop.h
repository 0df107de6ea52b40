#pragma once
// The program's message loop and its quit message. A quit posted before the
// loop runs ends it as soon as it starts; with no loop running (tests that
// drive the window themselves) a quit does nothing, and it never ends a modal
// dialog's own loop.

namespace ab {

// Runs until the quit message arrives; returns its exit code.
int RunMessageLoop();

void PostQuitMessage(int code);

}  // namespace ab
