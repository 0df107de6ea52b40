#include "resources/MessageBoxes.h"

#include "resources/ResourceLibrary.h"

#include <QMessageBox>

namespace ab {
namespace {

constexpr int kCaptionId = 6;
constexpr int kTextCapacity = 255;
constexpr int kCaptionCapacity = 32;

QMessageBox::StandardButton RunBox(QWidget* owner, int stringId, QMessageBox::Icon icon,
                                   QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault) {
  QMessageBox box(icon, LoadResourceText(kCaptionId, kCaptionCapacity), LoadResourceText(stringId, kTextCapacity),
                  buttons, owner);
  box.setTextFormat(Qt::PlainText);  // resource texts are plain; "<" must show as itself
  box.setDefaultButton(byDefault);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

int ShowWarning(QWidget* owner, int stringId) {
  RunBox(owner, stringId, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
  return kResultOk;
}

int AskYesNo(QWidget* owner, int stringId) {
  const auto answer = RunBox(owner, stringId, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::Yes);
  return answer == QMessageBox::Yes ? kResultYes : kResultNo;
}

}  // namespace ab
