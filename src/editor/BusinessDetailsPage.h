#pragma once
// Page 2 of the contact editor (template 502): company, department and job
// title, the business address, four business telephone numbers, the business
// web page with its button, and the company logo.

#include <vector>

#include "editor/EditorPage.h"
#include "editor/PictureChoice.h"

namespace ab {

inline constexpr int kBusinessDetailsTemplateId = 502;

class BusinessDetailsPage : public EditorPage {
 public:
  BusinessDetailsPage(QWidget* form, ContactRecord& record);

  // Stores every field cut to its length, marks the address WORK, gives each
  // telephone slot its fixed kind and applies the logo. Never refuses.
  bool Apply() override;
  void Reset() override;

 protected:
  void OnInitialise() override;

 private:
  std::vector<TextField> Fields();

  PictureChoice logo_;
};

}  // namespace ab
