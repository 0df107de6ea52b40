#include "editor/HomeDetailsPage.h"

#include <QLineEdit>
#include <QPushButton>

#include <array>

#include "contacts/ContactRecord.h"
#include "shell/InternetShortcut.h"

namespace ab {
namespace {

constexpr int kPhoneUnits = 19;
constexpr int kWebPageUnits = 127;

// The kinds of the six home telephone slots, in slot order.
constexpr std::array<TypeFlags, kHomePhoneSlots> kHomePhoneFlags = {
    FLAG_HOME | FLAG_VOICE, FLAG_HOME | FLAG_FAX,   FLAG_HOME | FLAG_PAGER,
    FLAG_HOME | FLAG_CELL,  FLAG_HOME | FLAG_VIDEO, FLAG_HOME | FLAG_ICQ};

}  // namespace

HomeDetailsPage::HomeDetailsPage(QWidget* form, ContactRecord& record) : EditorPage(form, record) {
  RequireFields(Fields());
  auto* webPage = Find<QLineEdit>(1034);
  auto* open = Find<QPushButton>(1038);
  if (!IsComplete()) return;
  connect(open, &QPushButton::clicked, this, [webPage] {
    const std::string url = ReadPlainText(webPage, kWebPageUnits);
    if (!url.empty()) OpenWebPage(url);
  });
}

std::vector<TextField> HomeDetailsPage::Fields() {
  AddressEntry& home = record_.addresses[SLOT_HOME];
  auto& phones = record_.homePhones;
  return {{1021, home.street, 255},
          {1022, home.locality, 31},
          {1023, home.region, 31},
          {1024, home.postalCode, 9},
          {1025, home.country, 31},
          {1026, phones[PHONE_VOICE].number, kPhoneUnits},
          {1009, phones[PHONE_FAX].number, kPhoneUnits},
          {1011, phones[PHONE_PAGER].number, kPhoneUnits},
          {1010, phones[PHONE_CELL].number, kPhoneUnits},
          {1012, phones[PHONE_VIDEO].number, kPhoneUnits},
          {1013, phones[PHONE_ICQ].number, kPhoneUnits},
          {1034, record_.urls[SLOT_HOME].url, kWebPageUnits}};
}

void HomeDetailsPage::OnInitialise() { ShowFields(Fields()); }

bool HomeDetailsPage::Apply() {
  StoreFields(Fields());
  record_.addresses[SLOT_HOME].flags |= FLAG_HOME;
  for (std::size_t slot = 0; slot < kHomePhoneFlags.size(); ++slot) record_.homePhones[slot].flags = kHomePhoneFlags[slot];
  record_.urls[SLOT_HOME].flags = FLAG_HOME;
  return true;
}

}  // namespace ab
