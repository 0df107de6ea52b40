#pragma once
// The information dialog: template 504 of the resource library, shown modal.
// Only its OK button (ctl1) closes it; Escape and the close box do not.

class QDialog;
class QEvent;
class QObject;
class QWidget;

namespace ab {

inline constexpr int kInfoDialogId = 504;
inline constexpr char kOkButtonName[] = "ctl1";

// Shows the dialog and returns 1 once OK closed it; -1 (nothing shown) when
// the template is missing, cannot be loaded or has no OK button.
int ShowInfoDialog(QWidget* owner);

// The dialog's procedure: true for the events that must not reach it (the
// ones that would close it other than through OK).
bool InfoDialogProc(QDialog* dialog, QEvent* event);

}  // namespace ab
