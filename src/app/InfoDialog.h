#pragma once
// The information dialog: template 504 of the resource library, shown modal.
// Only its OK button (ctl1) closes it; Escape and the close box do not.

class QEvent;
class QWidget;

namespace ab {

inline constexpr int kInfoDialogId = 504;
inline constexpr char kOkButtonName[] = "ctl1";

// Shows the dialog and returns 1 once OK closed it; -1 (nothing shown) when
// the template is missing, cannot be loaded or has no OK button.
int ShowInfoDialog(QWidget* owner);

// The procedure of the dialog and its controls: true for the events that
// must not reach them (the ones that would close the dialog other than
// through OK).
bool InfoDialogProc(QEvent* event);

}  // namespace ab
