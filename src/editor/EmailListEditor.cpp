#include "editor/EmailListEditor.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <string>

#include "contacts/StoredText.h"
#include "editor/EditorPage.h"
#include "resources/MessageBoxes.h"
#include "resources/ResourceLibrary.h"

namespace ab {
namespace {

constexpr int kPreferredMarkIconId = 515;
constexpr int kListFullWarning = 80;
constexpr int kEntryUnits = 127;        // read from the entry box by Add
constexpr int kInPlaceEditUnits = 20;   // taken by the in-place edit box
constexpr int kAddressColumnWidth = 352;
constexpr int kMarkSize = 16;

// The in-place edit box: it takes at most 20 units, and a confirmed text goes
// to the list editor, which decides what it replaces.
class AddressEditDelegate : public QStyledItemDelegate {
 public:
  AddressEditDelegate(std::function<void(const QString&)> edited, QObject* parent)
      : QStyledItemDelegate(parent), edited_(std::move(edited)) {}

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) LimitTypingToUnits(line, kInPlaceEditUnits);
  }
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
    if (const auto* line = qobject_cast<const QLineEdit*>(editor)) edited_(line->text());
  }

 private:
  std::function<void(const QString&)> edited_;
};

// Every address keeps the room of the mark, so the addresses line up.
QIcon NoMark() {
  QPixmap blank(kMarkSize, kMarkSize);
  blank.fill(Qt::transparent);
  return QIcon(blank);
}

// The whole address is shown; the column ends what does not fit with an ellipsis.
QString ItemText(std::string_view address) {
  const std::string text = DecodeStoredText(address);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

EmailListEditor::EmailListEditor(const EmailControls& controls)
    : controls_(controls), mark_(LoadResourceIcon(kPreferredMarkIconId)), noMark_(NoMark()) {
  QTreeWidget* list = controls_.list;
  QPointer<EmailListEditor> self(this);
  list->setItemDelegate(new AddressEditDelegate(
      [self](const QString& text) {
        if (self) self->OnEdited(text);
      },
      list));
  connect(controls_.add, &QPushButton::clicked, this, &EmailListEditor::Add);
  connect(controls_.edit, &QPushButton::clicked, this, &EmailListEditor::EditCurrent);
  connect(controls_.remove, &QPushButton::clicked, this, &EmailListEditor::RemoveCurrent);
  connect(controls_.setPreferred, &QPushButton::clicked, this, &EmailListEditor::SetPreferred);
  connect(list, &QTreeWidget::currentItemChanged, this, [this, list](QTreeWidgetItem* item) {
    current_ = item != nullptr ? list->indexOfTopLevelItem(item) : -1;
  });
  connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list](QTreeWidgetItem* item) {
    const int index = list->indexOfTopLevelItem(item);
    if (index < 0) return;
    current_ = preferred_ = index;
    ShowMarksAndCurrent();
  });
}

void EmailListEditor::Start(const ContactRecord& record) {
  count_ = std::clamp(record.emailCount, 0, kMaxEmails);
  std::copy_n(record.emails.begin(), count_, entries_.begin());
  const bool valid = record.preferredEmail >= 0 && record.preferredEmail < count_;
  preferred_ = current_ = valid ? record.preferredEmail : -1;
  EnableListButtons(count_ > 0);

  // Without its mark the list gets neither its heading nor any address.
  if (mark_.isNull()) return;
  QTreeWidget* list = controls_.list;
  list->setColumnCount(1);
  list->setHeaderLabels({QStringLiteral("E-Mail Address")});
  list->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
  list->header()->setStretchLastSection(false);
  list->header()->resizeSection(0, kAddressColumnWidth);
  for (int i = 0; i < count_; ++i) AppendItem(i);
  ShowMarksAndCurrent();
}

void EmailListEditor::StoreInto(ContactRecord& record) const {
  record.emailCount = count_;
  record.preferredEmail = preferred_;
  for (int i = 0; i < kMaxEmails; ++i) {
    EmailEntry& slot = record.emails[static_cast<std::size_t>(i)];
    if (i >= count_) {
      slot = EmailEntry{};
      continue;
    }
    const EmailEntry& entry = entries_[static_cast<std::size_t>(i)];
    slot.address = EncodeStoredText(entry.address.view());
    slot.type = entry.type;
    slot.flags = i == preferred_ ? (entry.flags | FLAG_PREF) : (entry.flags & ~TypeFlags{FLAG_PREF});
  }
}

void EmailListEditor::Add() {
  const std::string typed = ReadPlainText(controls_.entry, kEntryUnits);
  if (!typed.empty()) {
    controls_.entry->clear();
    if (count_ == kMaxEmails) {
      ShowWarning(controls_.list->window(), kListFullWarning);
    } else {
      EmailEntry& added = entries_[static_cast<std::size_t>(count_)];
      added = EmailEntry{};  // an INTERNET address without flags
      added.address = typed;
      if (!mark_.isNull()) AppendItem(count_);
      ++count_;
      if (count_ == 1) {
        preferred_ = current_ = 0;
        ShowMarksAndCurrent();
        EnableListButtons(true);
      }
    }
  }
  controls_.entry->setFocus();
}

void EmailListEditor::EditCurrent() {
  controls_.list->setFocus();
  if (QTreeWidgetItem* item = controls_.list->topLevelItem(current_)) controls_.list->editItem(item, 0);
}

void EmailListEditor::OnEdited(const QString& text) {
  if (current_ < 0 || current_ >= count_ || text.isEmpty()) return;
  EmailEntry& entry = entries_[static_cast<std::size_t>(current_)];
  entry.address = text.toStdString();
  if (QTreeWidgetItem* item = controls_.list->topLevelItem(current_)) ShowAddress(item, current_);
}

void EmailListEditor::RemoveCurrent() {
  controls_.list->setFocus();
  if (count_ == 0 || current_ < 0) return;
  {
    const QSignalBlocker quiet(controls_.list);
    delete controls_.list->takeTopLevelItem(current_);
  }
  std::move(entries_.begin() + current_ + 1, entries_.begin() + count_, entries_.begin() + current_);
  --count_;
  entries_[static_cast<std::size_t>(count_)] = EmailEntry{};
  // The entry before a removed preferred one takes its place, or the first one.
  if (preferred_ >= current_) --preferred_;
  if (current_ == count_) --current_;
  if (count_ > 0 && preferred_ == -1) preferred_ = 0;
  ShowMarksAndCurrent();
  if (count_ == 0) EnableListButtons(false);
}

void EmailListEditor::SetPreferred() {
  controls_.list->setFocus();
  if (current_ < 0) return;
  preferred_ = current_;
  ShowMarksAndCurrent();
}

void EmailListEditor::AppendItem(int index) {
  auto* item = new QTreeWidgetItem(controls_.list);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  ShowAddress(item, index);
}

void EmailListEditor::ShowAddress(QTreeWidgetItem* item, int index) const {
  const QString text = ItemText(entries_[static_cast<std::size_t>(index)].address.view());
  item->setText(0, text);
  item->setToolTip(0, text);
}

void EmailListEditor::ShowMarksAndCurrent() {
  QTreeWidget* list = controls_.list;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    list->topLevelItem(i)->setIcon(0, i == preferred_ ? mark_ : noMark_);
  }
  const QSignalBlocker quiet(list);
  list->setCurrentItem(list->topLevelItem(current_));
}

void EmailListEditor::EnableListButtons(bool enable) {
  for (QPushButton* button : {controls_.setPreferred, controls_.edit, controls_.remove}) button->setEnabled(enable);
}

}  // namespace ab
