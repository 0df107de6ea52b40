#include "editor/NotesPage.h"

#include "contacts/ContactRecord.h"

namespace ab {

NotesPage::NotesPage(QWidget* form, ContactRecord& record) : EditorPage(form, record) { RequireFields({Note()}); }

TextField NotesPage::Note() { return {1000, record_.note, 255}; }

void NotesPage::OnInitialise() { ShowFields({Note()}); }

bool NotesPage::Apply() {
  StoreFields({Note()});
  return true;
}

}  // namespace ab
