#include "editor/NameEmailPage.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "contacts/ContactRecord.h"
#include "editor/EmailListEditor.h"
#include "editor/SoundPlayer.h"
#include "resources/MessageBoxes.h"

namespace ab {
namespace {

constexpr int kNameUnits = 63;
constexpr int kNoNameWarning = 13;
constexpr int kPlaceholderBitmapId = 201;

}  // namespace

NameEmailPage::NameEmailPage(QWidget* form, ContactRecord& record) : EditorPage(form, record) {
  RequireFields(NameFields());
  const EmailControls controls{Find<QLineEdit>(1003),   Find<QPushButton>(1005), Find<QTreeWidget>(1020),
                               Find<QPushButton>(1007), Find<QPushButton>(1010), Find<QPushButton>(1011)};
  auto* photoFrame = Find<QFrame>(1029);
  auto* photoBrowse = Find<QPushButton>(1028);
  auto* photoRemove = Find<QPushButton>(1030);
  auto* soundBrowse = Find<QPushButton>(1021);
  auto* soundRemove = Find<QPushButton>(1022);
  play_ = Find<QPushButton>(1037);
  if (!IsComplete()) return;

  emails_ = std::make_unique<EmailListEditor>(controls);
  photo_.Attach(new PictureFrame(photoFrame, kPlaceholderBitmapId));
  connect(photoBrowse, &QPushButton::clicked, this, [this] { photo_.Browse(form_); });
  connect(photoRemove, &QPushButton::clicked, this, [this] { photo_.Remove(); });
  connect(soundBrowse, &QPushButton::clicked, this, &NameEmailPage::BrowseSound);
  connect(soundRemove, &QPushButton::clicked, this, &NameEmailPage::RemoveSound);
  connect(play_, &QPushButton::clicked, this, [this] { PlaySoundClip(sound_); });
}

NameEmailPage::~NameEmailPage() = default;

std::vector<TextField> NameEmailPage::NameFields() {
  return {{1017, record_.familyName, kNameUnits},
          {1018, record_.givenName, kNameUnits},
          {1019, record_.additionalNames, kNameUnits}};
}

void NameEmailPage::OnInitialise() {
  ShowFields(NameFields());
  if (!record_.soundData.IsNull()) {
    sound_ = record_.soundData.Clone();
    play_->setEnabled(true);
  }
  emails_->Start(record_);
  photo_.Start(record_.photoData);
  Find<QLineEdit>(1017)->setFocus();
}

bool NameEmailPage::Apply() {
  StoreFields(NameFields());
  std::string display = record_.familyName.str();
  if (!record_.givenName.empty()) {
    if (!display.empty()) display += ' ';
    display += record_.givenName.view();
  }
  if (display.empty()) {
    ShowWarning(form_->window(), kNoNameWarning);
    return false;
  }
  record_.formattedName = display;
  photo_.ApplyTo(record_, &ContactRecord::SetPhoto);
  record_.SetSound(std::move(sound_));
  sound_.Reset();
  emails_->StoreInto(record_);
  return true;
}

void NameEmailPage::Reset() { photo_.Reset(); }

void NameEmailPage::BrowseSound() {
  PrepareFileDialog(form_, FILTER_WAVE);
  if (!ShowOpenFileDialog(form_, soundPath_, nullptr) || soundPath_.empty()) return;
  ByteBuffer bytes;
  if (!ReadWholeFile(soundPath_.str(), bytes)) return;
  sound_ = std::move(bytes);
  play_->setEnabled(true);
}

void NameEmailPage::RemoveSound() {
  sound_.Reset();
  play_->setEnabled(false);
}

}  // namespace ab
