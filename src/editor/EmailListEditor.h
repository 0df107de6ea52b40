#pragma once
// The e-mail addresses of the name page: a working copy of up to 16 addresses,
// one preferred (marked with icon 515); Add, and Edit in place, Remove and Set
// preferred, which act on the current address (the one last clicked or moved to).

#include <QIcon>
#include <QObject>

#include <array>
#include <cstdint>

#include "contacts/ContactRecord.h"

class QLineEdit;
class QPushButton;
class QString;
class QTreeWidget;
class QTreeWidgetItem;

namespace ab {

// The page's controls the list works with; none may be null.
struct EmailControls {
  QLineEdit* entry;
  QPushButton* add;
  QTreeWidget* list;
  QPushButton* edit;
  QPushButton* remove;
  QPushButton* setPreferred;
};

class EmailListEditor : public QObject {
 public:
  explicit EmailListEditor(const EmailControls& controls);

  // Copies the record's addresses and fills the list.
  void Start(const ContactRecord& record);
  // Stores count, preferred index and addresses (encoded, PREF on the
  // preferred one only); slots past the count are cleared.
  void StoreInto(ContactRecord& record) const;

 private:
  void Add();
  void EditCurrent();
  void RemoveCurrent();
  void SetPreferred();
  void OnEdited(const QString& text);
  void AppendItem(int index);
  void ShowAddress(QTreeWidgetItem* item, int index) const;
  void ShowMarksAndCurrent();
  void EnableListButtons(bool enable);

  EmailControls controls_;
  QIcon mark_;
  QIcon noMark_;
  std::array<EmailEntry, kMaxEmails> entries_;
  std::int32_t count_ = 0;
  std::int32_t preferred_ = -1;
  std::int32_t current_ = -1;
};

}  // namespace ab
