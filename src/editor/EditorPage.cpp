#include "editor/EditorPage.h"

#include <QBuffer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUiLoader>
#include <QValidator>

#include <algorithm>

#include "contacts/StoredText.h"
#include "resources/ResourceLibrary.h"

namespace ab {
namespace {

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Refuses any edit that would make the text longer than its units allow.
class UnitLimitValidator : public QValidator {
 public:
  UnitLimitValidator(std::size_t maxUnits, QObject* parent) : QValidator(parent), maxUnits_(maxUnits) {}
  State validate(QString& input, int&) const override {
    return CountUnits(View(input.toUtf8())) <= maxUnits_ ? Acceptable : Invalid;
  }

 private:
  std::size_t maxUnits_;
};

}  // namespace

std::unique_ptr<QWidget> LoadPageForm(int templateId) {
  QByteArray form = LoadDialogTemplate(templateId);
  if (form.isEmpty()) return nullptr;
  QBuffer buffer(&form);
  if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
  QUiLoader loader;
  return std::unique_ptr<QWidget>(loader.load(&buffer, nullptr));
}

void ShowStoredText(QWidget* control, std::string_view stored) {
  const std::string decoded = DecodeStoredText(stored);
  QString text = QString::fromUtf8(decoded.data(), static_cast<qsizetype>(decoded.size()));
  if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
    edit->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
    line->setText(text);
  }
}

std::string ReadPlainText(const QWidget* control, int maxUnits) {
  QString text;
  if (const auto* edit = qobject_cast<const QPlainTextEdit*>(control)) {
    text = edit->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  } else if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
    text = line->text();
  }
  const QByteArray bytes = text.toUtf8();
  std::string_view kept = LeadingUnits(View(bytes), static_cast<std::size_t>(std::max(maxUnits, 0)));
  // A line break is kept whole or not at all.
  if (kept.size() < static_cast<std::size_t>(bytes.size()) && !kept.empty() && kept.back() == '\r') kept.remove_suffix(1);
  return std::string(kept);
}

std::string ReadStoredText(const QWidget* control, int maxUnits) {
  return EncodeStoredText(ReadPlainText(control, maxUnits));
}

void LimitTypingToUnits(QLineEdit* edit, int maxUnits) {
  const std::size_t shown = CountUnits(View(edit->text().toUtf8()));
  edit->setValidator(new UnitLimitValidator(std::max(shown, static_cast<std::size_t>(std::max(maxUnits, 0))), edit));
}

void TextField::Show(const QWidget* page) const {
  auto* control = page->findChild<QWidget*>(QStringLiteral("ctl%1").arg(controlId_));
  ShowStoredText(control, view_(text_));
  if (auto* line = qobject_cast<QLineEdit*>(control)) LimitTypingToUnits(line, maxUnits_);
}

void TextField::Store(const QWidget* page) const {
  const auto* control = page->findChild<QWidget*>(QStringLiteral("ctl%1").arg(controlId_));
  set_(text_, ReadStoredText(control, maxUnits_));
}

void EditorPage::Initialise() {
  if (initialised_) return;
  initialised_ = true;
  OnInitialise();
}

void EditorPage::RequireFields(const std::vector<TextField>& fields) {
  for (const TextField& field : fields) Find<QWidget>(field.controlId());
}

void EditorPage::ShowFields(const std::vector<TextField>& fields) const {
  for (const TextField& field : fields) field.Show(form_);
}

void EditorPage::StoreFields(const std::vector<TextField>& fields) const {
  for (const TextField& field : fields) field.Store(form_);
}

}  // namespace ab
