#include "app/InfoDialog.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QUiLoader>
#include <QVBoxLayout>

#include <memory>

#include "resources/ResourceLibrary.h"

namespace ab {
namespace {

constexpr int kAppIconId = 130;
constexpr int kIconSize = 32;

class InfoDialogFilter : public QObject {
 public:
  explicit InfoDialogFilter(QDialog* dialog) : QObject(dialog) {}
  bool eventFilter(QObject*, QEvent* event) override { return InfoDialogProc(event); }
};

// The form as a dialog: its own top widget when that is one, else inside one.
std::unique_ptr<QDialog> LoadForm(const QByteArray& form, QWidget* owner) {
  QByteArray bytes = form;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
  QUiLoader loader;
  std::unique_ptr<QWidget> top(loader.load(&buffer, nullptr));
  if (!top) return nullptr;
  std::unique_ptr<QDialog> dialog;
  if (auto* asDialog = qobject_cast<QDialog*>(top.get())) {
    top.release();
    dialog.reset(asDialog);
  } else {
    dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(top->windowTitle());
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(top.release());
  }
  dialog->setParent(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  return dialog;
}

}  // namespace

bool InfoDialogProc(QEvent* event) {
  switch (event->type()) {
    case QEvent::Close:
      event->ignore();
      return true;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
      // Escape would reject the dialog.
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
      }
      return false;
    default:
      return false;
  }
}

int ShowInfoDialog(QWidget* owner) {
  const QByteArray form = LoadDialogTemplate(kInfoDialogId);
  if (form.isEmpty()) return -1;
  std::unique_ptr<QDialog> dialog = LoadForm(form, owner);
  if (!dialog) return -1;
  auto* ok = dialog->findChild<QAbstractButton*>(QLatin1String(kOkButtonName));
  // A dialog without its OK button could never be closed.
  if (ok == nullptr) return -1;
  QDialog* shown = dialog.get();
  QObject::connect(ok, &QAbstractButton::clicked, shown, [shown] { shown->done(1); });
  // A label named after the program's icon shows it.
  if (auto* iconLabel = dialog->findChild<QLabel*>(QStringLiteral("ctl%1").arg(kAppIconId))) {
    iconLabel->setPixmap(LoadResourceIcon(kAppIconId).pixmap(kIconSize));
  }
  auto* filter = new InfoDialogFilter(shown);
  dialog->installEventFilter(filter);
  for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(filter);
  return dialog->exec();
}

}  // namespace ab
