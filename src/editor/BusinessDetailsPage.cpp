#include "editor/BusinessDetailsPage.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include <array>

#include "contacts/ContactRecord.h"
#include "shell/InternetShortcut.h"

namespace ab {
namespace {

constexpr int kCompanyUnits = 63;
constexpr int kPhoneUnits = 19;
constexpr int kWebPageUnits = 127;

// The kinds of the four business telephone slots, in slot order.
constexpr std::array<TypeFlags, kWorkPhoneSlots> kWorkPhoneFlags = {
    FLAG_WORK | FLAG_VOICE, FLAG_WORK | FLAG_FAX, FLAG_WORK | FLAG_PAGER, FLAG_WORK | FLAG_CELL};

}  // namespace

BusinessDetailsPage::BusinessDetailsPage(QWidget* form, ContactRecord& record) : EditorPage(form, record) {
  RequireFields(Fields());
  auto* webPage = Find<QLineEdit>(1001);
  auto* open = Find<QPushButton>(1016);
  auto* logoFrame = Find<QFrame>(1030);
  auto* logoBrowse = Find<QPushButton>(1004);
  auto* logoRemove = Find<QPushButton>(1009);
  if (!IsComplete()) return;
  // The business button hands over whatever is typed, an empty address too.
  connect(open, &QPushButton::clicked, this, [webPage] { OpenWebPage(ReadPlainText(webPage, kWebPageUnits)); });
  logo_.Attach(new PictureFrame(logoFrame, 0));
  connect(logoBrowse, &QPushButton::clicked, this, [this] { logo_.Browse(form_); });
  connect(logoRemove, &QPushButton::clicked, this, [this] { logo_.Remove(); });
}

std::vector<TextField> BusinessDetailsPage::Fields() {
  AddressEntry& work = record_.addresses[SLOT_BUSINESS];
  auto& phones = record_.workPhones;
  return {{1014, record_.orgName, kCompanyUnits},
          {1008, record_.orgUnit, kCompanyUnits},
          {1015, record_.title, kCompanyUnits},
          {1027, work.street, 255},
          {1002, work.locality, 31},
          {1005, work.region, 31},
          {1006, work.postalCode, 9},
          {1007, work.country, 31},
          {1031, phones[PHONE_VOICE].number, kPhoneUnits},
          {1032, phones[PHONE_FAX].number, kPhoneUnits},
          {1033, phones[PHONE_PAGER].number, kPhoneUnits},
          {1034, phones[PHONE_CELL].number, kPhoneUnits},
          {1001, record_.urls[SLOT_BUSINESS].url, kWebPageUnits}};
}

void BusinessDetailsPage::OnInitialise() {
  // A street longer than the 255 units read back shows whole; apply cuts it.
  ShowFields(Fields());
  logo_.Start(record_.logoData);
}

bool BusinessDetailsPage::Apply() {
  StoreFields(Fields());
  record_.addresses[SLOT_BUSINESS].flags |= FLAG_WORK;
  for (std::size_t slot = 0; slot < kWorkPhoneFlags.size(); ++slot) record_.workPhones[slot].flags = kWorkPhoneFlags[slot];
  record_.urls[SLOT_BUSINESS].flags = FLAG_WORK;
  logo_.ApplyTo(record_, &ContactRecord::SetLogo);
  return true;
}

void BusinessDetailsPage::Reset() { logo_.Reset(); }

}  // namespace ab
