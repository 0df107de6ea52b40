#include "editor/ContactEditor.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string>

#include "contacts/CardStore.h"
#include "contacts/FixedText.h"
#include "editor/BusinessDetailsPage.h"
#include "editor/HomeDetailsPage.h"
#include "editor/NameEmailPage.h"
#include "editor/NotesPage.h"
#include "resources/ResourceLibrary.h"

namespace ab {
namespace {

constexpr std::size_t kCaptionUnits = 127;
constexpr std::size_t kCaptionSuffixUnits = 19;
constexpr char kCutMark[] = "...";
constexpr int kApplied = 1;
constexpr int kCancelled = 0;
constexpr int kNotCreated = -1;

template <typename Page>
std::unique_ptr<EditorPage> MakePage(QWidget* form, ContactRecord& record) {
  return std::make_unique<Page>(form, record);
}

struct PageKind {
  int templateId;
  std::unique_ptr<EditorPage> (*make)(QWidget*, ContactRecord&);
};

// In tab order.
constexpr PageKind kPageKinds[] = {
    {kNameEmailTemplateId, &MakePage<NameEmailPage>},
    {kHomeDetailsTemplateId, &MakePage<HomeDetailsPage>},
    {kBusinessDetailsTemplateId, &MakePage<BusinessDetailsPage>},
    {kNotesTemplateId, &MakePage<NotesPage>},
};

}  // namespace

ContactEditorSheet::ContactEditorSheet(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      tabs_(new QTabWidget(this)) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &ContactEditorSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ContactEditorSheet::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < pages_.size()) pages_[static_cast<std::size_t>(index)]->Initialise();
  });
}

// The pages go first, taking their connections with them, before the forms
// they are connected to are destroyed.
ContactEditorSheet::~ContactEditorSheet() { pages_.clear(); }

std::unique_ptr<ContactEditorSheet> ContactEditorSheet::Create(QWidget* owner, std::string_view name,
                                                              ContactRecord& record) {
  std::unique_ptr<ContactEditorSheet> sheet(new ContactEditorSheet(owner));
  sheet->setWindowTitle(EditorCaption(name));
  sheet->setWindowIcon(LoadResourceIcon(kEditorIconId));
  for (const PageKind& kind : kPageKinds) {
    std::unique_ptr<QWidget> form = LoadPageForm(kind.templateId);
    if (!form) return nullptr;
    std::unique_ptr<EditorPage> page = kind.make(form.get(), record);
    if (!page->IsComplete()) return nullptr;
    const QString title = form->windowTitle();
    sheet->tabs_->addTab(form.release(), title);
    sheet->pages_.push_back(std::move(page));
  }
  sheet->tabs_->setCurrentIndex(0);
  sheet->pages_.front()->Initialise();
  return sheet;
}

void ContactEditorSheet::accept() {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (!pages_[i]->IsInitialised()) continue;
    if (!pages_[i]->Apply()) {
      tabs_->setCurrentIndex(static_cast<int>(i));
      return;
    }
  }
  done(kApplied);
}

void ContactEditorSheet::reject() {
  for (const auto& page : pages_) {
    if (page->IsInitialised()) page->Reset();
  }
  done(kCancelled);
}

QString EditorCaption(std::string_view name) {
  const std::string suffix(LeadingUnits(LoadResourceString(kEditorCaptionSuffixId), kCaptionSuffixUnits));
  std::string caption;
  if (!name.empty()) {
    const std::size_t room = kCaptionUnits - CountUnits(suffix) - 1;
    if (CountUnits(name) <= room) {
      caption = name;
    } else {
      caption = LeadingUnits(name, room - CountUnits(kCutMark));
      caption += kCutMark;
    }
    caption += ' ';
  }
  caption += suffix;
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

int RunContactEditor(QWidget* owner, std::string_view name) {
  if (!currentRecord) return kNotCreated;
  const std::unique_ptr<ContactEditorSheet> sheet = ContactEditorSheet::Create(owner, name, *currentRecord);
  if (!sheet) return kNotCreated;
  return sheet->exec();
}

}  // namespace ab
