#pragma once
// The program's two message boxes. The text is a string of the resource library
// as read into a buffer of 255 bytes, the caption string 6 as read into one of
// 32; both show empty while no library is loaded.

class QWidget;

namespace ab {

// The box results, with the values the rest of the program compares against.
constexpr int kResultOk = 1;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

// A warning with an OK button; returns kResultOk once it is closed.
int ShowWarning(QWidget* owner, int stringId);

// A question with Yes and No buttons; returns kResultYes or kResultNo
// (Escape and the close box answer No).
int AskYesNo(QWidget* owner, int stringId);

}  // namespace ab
