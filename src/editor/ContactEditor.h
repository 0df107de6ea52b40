#pragma once
// The contact editor: a modal sheet of four pages that edits a record in place.
// A page fills its controls when its tab is first shown; OK applies the opened
// pages in order, the name page may refuse; Cancel leaves the record.

#include <QDialog>
#include <QString>

#include <memory>
#include <string_view>
#include <vector>

class QTabWidget;

namespace ab {

class ContactRecord;
class EditorPage;

inline constexpr int kEditorIconId = 401;
inline constexpr int kEditorCaptionSuffixId = 43;

class ContactEditorSheet : public QDialog {
 public:
  // The sheet over `record`, with `name` in its caption; null when a page's
  // template is missing or lacks a control its page uses.
  static std::unique_ptr<ContactEditorSheet> Create(QWidget* owner, std::string_view name, ContactRecord& record);
  ~ContactEditorSheet() override;

  QTabWidget* tabs() const { return tabs_; }

  // Applies the opened pages in order; when the name page refuses, the sheet
  // stays open on it, the names already written.
  void accept() override;
  // Drops the pages' working copies; the record is left as it is.
  void reject() override;

 private:
  ContactEditorSheet(QWidget* owner);

  QTabWidget* tabs_;
  std::vector<std::unique_ptr<EditorPage>> pages_;
};

// `name`, one blank and string 43, or string 43 alone for an empty name; at
// most 127 units, a longer name cut and ended with "..." so that all of it fits.
QString EditorCaption(std::string_view name);

// Runs the sheet modally over currentRecord. 1 when OK applied every opened
// page, 0 when the user cancelled, -1 when the sheet could not be made (no
// current record or a broken template).
int RunContactEditor(QWidget* owner, std::string_view name);

}  // namespace ab
