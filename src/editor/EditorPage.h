#pragma once
// What the four pages of the contact editor share: a form loaded from a dialog
// template of the resource library, its controls found by ID ("ctl1017"), and
// moving texts between the record's stored form and the controls.

#include <QObject>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/FixedText.h"

class QLineEdit;

namespace ab {

class ContactRecord;

// The form of dialog template `templateId`, its caption in windowTitle(); null
// when the template is missing or cannot be read.
std::unique_ptr<QWidget> LoadPageForm(int templateId);

// Shows a stored text, decoded, in a line edit or a multi-line edit.
void ShowStoredText(QWidget* control, std::string_view stored);
// The control's text with CR LF line breaks, cut to `maxUnits` units (never
// between CR and LF) and encoded to the stored form.
std::string ReadStoredText(const QWidget* control, int maxUnits);
// The control's text as typed, with CR LF line breaks, cut to `maxUnits` units.
std::string ReadPlainText(const QWidget* control, int maxUnits);

// Typing in `edit` stops at `maxUnits` units, or at the units of the text it
// holds now when that is longer; a longer text stays whole and can be shortened.
void LimitTypingToUnits(QLineEdit* edit, int maxUnits);

// A text of the record and the control that edits it, with the most units the
// control reads back on apply.
class TextField {
 public:
  template <std::size_t N>
  TextField(int controlId, FixedText<N>& text, int maxUnits)
      : controlId_(controlId),
        maxUnits_(maxUnits),
        text_(&text),
        view_([](const void* t) { return static_cast<const FixedText<N>*>(t)->view(); }),
        set_([](void* t, std::string_view value) { static_cast<FixedText<N>*>(t)->Set(value); }) {}

  int controlId() const { return controlId_; }
  // Fills the page's control from the record, limiting what can be typed.
  void Show(const QWidget* page) const;
  // Stores the page's control into the record.
  void Store(const QWidget* page) const;

 private:
  int controlId_;
  int maxUnits_;
  void* text_;
  std::string_view (*view_)(const void*);
  void (*set_)(void*, std::string_view);
};

// One page of the sheet: its form (owned by the sheet's tab widget once added)
// and the record it edits. Connections to the form's controls use the page as
// context, so they end with the page.
class EditorPage : public QObject {
 public:
  EditorPage(QWidget* form, ContactRecord& record) : form_(form), record_(record) {}

  QWidget* form() const { return form_; }
  // False when the template lacks a control the page uses.
  bool IsComplete() const { return complete_; }
  bool IsInitialised() const { return initialised_; }

  // Copies the record into the controls, the first time only.
  void Initialise();
  // Copies the controls back into the record; false refuses OK.
  virtual bool Apply() = 0;
  // Cancel: drops the page's working copies; the record is not touched.
  virtual void Reset() {}

 protected:
  virtual void OnInitialise() = 0;

  // Control `id` of the form; a missing one marks the page incomplete.
  template <typename Control>
  Control* Find(int id) {
    auto* control = form_->findChild<Control*>(QStringLiteral("ctl%1").arg(id));
    if (control == nullptr) complete_ = false;
    return control;
  }
  void RequireFields(const std::vector<TextField>& fields);
  void ShowFields(const std::vector<TextField>& fields) const;
  void StoreFields(const std::vector<TextField>& fields) const;

  QWidget* form_;
  ContactRecord& record_;

 private:
  bool complete_ = true;
  bool initialised_ = false;
};

}  // namespace ab
