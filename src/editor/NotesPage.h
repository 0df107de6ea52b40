#pragma once
// Page 3 of the contact editor (template 503): the note, line breaks kept.

#include "editor/EditorPage.h"

namespace ab {

inline constexpr int kNotesTemplateId = 503;

class NotesPage : public EditorPage {
 public:
  NotesPage(QWidget* form, ContactRecord& record);
  // Stores the first 255 units of the note. Never refuses.
  bool Apply() override;

 protected:
  void OnInitialise() override;

 private:
  TextField Note();
};

}  // namespace ab
