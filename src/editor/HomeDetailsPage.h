#pragma once
// Page 1 of the contact editor (template 501): the home address, the six home
// telephone numbers and the personal web page, whose button opens it.

#include <vector>

#include "editor/EditorPage.h"

namespace ab {

inline constexpr int kHomeDetailsTemplateId = 501;

class HomeDetailsPage : public EditorPage {
 public:
  HomeDetailsPage(QWidget* form, ContactRecord& record);

  // Stores every field cut to its length, marks the address HOME and gives
  // each telephone slot its fixed kind, typed or not. Never refuses.
  bool Apply() override;

 protected:
  void OnInitialise() override;

 private:
  std::vector<TextField> Fields();
};

}  // namespace ab
