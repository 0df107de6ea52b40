#pragma once
// Page 0 of the contact editor (template 500): the three names, from which the
// display name is rebuilt on apply, the e-mail addresses, the photo and the
// sound clip. The only page that can refuse OK: a contact needs a name.

#include <memory>
#include <string>
#include <vector>

#include "editor/EditorPage.h"
#include "editor/FileDialogs.h"
#include "editor/PictureChoice.h"
#include "media/ByteBuffer.h"

class QPushButton;

namespace ab {

class EmailListEditor;

inline constexpr int kNameEmailTemplateId = 500;

class NameEmailPage : public EditorPage {
 public:
  NameEmailPage(QWidget* form, ContactRecord& record);
  ~NameEmailPage() override;

  // Names first; without a family or a given name, warning 13 and false (the
  // names stay written). Then the display name, photo, sound and addresses.
  bool Apply() override;
  void Reset() override;

 protected:
  void OnInitialise() override;

 private:
  std::vector<TextField> NameFields();
  void BrowseSound();
  void RemoveSound();

  std::unique_ptr<EmailListEditor> emails_;
  PictureChoice photo_;
  ByteBuffer sound_;        // what Play plays and apply stores
  FileNameBuffer soundPath_;  // kept between Browse clicks
  QPushButton* play_ = nullptr;
};

}  // namespace ab
