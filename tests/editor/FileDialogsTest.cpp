#include "editor/FileDialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/DialogAnswers.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::AnswerModal;

// Types `name` into the dialog and presses its Open or Save button, as the user would.
void ChooseName(QFileDialog* dialog, const char* name) {
  dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromUtf8(name));
  auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  buttons->button(dialog->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open : QDialogButtonBox::Save)->click();
}

class FileDialogRun : public ::testing::Test {
 protected:
  void SetUp() override { SetFileDialogHook(nullptr); }
  // Runs the open (or save) dialog on the folder; the chosen file's name, "" when cancelled.
  std::string Run(bool save, unsigned mask, std::function<void(QFileDialog*)> answer, FileTitleBuffer* title = nullptr) {
    AnswerModal<QFileDialog>(std::move(answer));
    PrepareFileDialog(nullptr, mask);
    FileNameBuffer path(start);
    if (!(save ? ShowSaveFileDialog : ShowOpenFileDialog)(nullptr, path, title)) {
      EXPECT_EQ(path.str(), start) << "a cancelled dialog leaves the buffer alone";
      return "";
    }
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(path.str()).parent_path(), folder.path()));
    return std::filesystem::path(path.str()).filename().string();
  }
  // Answers the next question with `button`, then runs `after` from the dialog's loop.
  static void Answer(QMessageBox::StandardButton button, std::function<void()> after = {}) {
    AnswerModal<QMessageBox>([=](QMessageBox* box) {
      box->button(button)->click();
      if (after) QTimer::singleShot(0, after);
    });
  }
  testing::TempFolder folder;
  std::string start = std::filesystem::canonical(folder.path()).string() + "/";
};

// Open asks before taking a file that does not exist; save adds the default extension.
// The dialogs only choose.
TEST_F(FileDialogRun, OpenAsksBeforeTakingANewFileAndSaveAddsTheExtension) {
  bool stillOpen = false;
  EXPECT_EQ(Run(false, FILTER_CSV, [&](QFileDialog* dialog) {
    Answer(QMessageBox::No, [&, dialog] { stillOpen = dialog->isVisible(), dialog->reject(); });
    ChooseName(dialog, "New.csv");
  }), "");
  EXPECT_TRUE(stillOpen);
  FileTitleBuffer title("old title");
  const auto yes = [](QFileDialog* dialog) { Answer(QMessageBox::Yes), ChooseName(dialog, "New.csv"); };
  EXPECT_EQ(Run(false, FILTER_CSV, yes, &title), "New.csv");
  EXPECT_EQ(title.str(), "New.csv");
  EXPECT_EQ(Run(true, FILTER_VCARD, [](QFileDialog* dialog) { ChooseName(dialog, "Ann"); }), "Ann.vcf");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// A hook answers instead of the user, for the owner given to Prepare; a path longer
// than the buffer is refused.
TEST(FileDialogHook, AnswersForTheOwnerGivenToPrepareAndAPathTooLongIsRefused) {
  QWidget owner;
  SetFileDialogHook([&owner](const FileDialogRequest& request) -> std::optional<std::string> {
    return request.owner == &owner ? std::string(kFileNameCapacity - request.initialPath.size(), 'x') : "";
  });
  PrepareFileDialog(&owner, FILTER_VCARD);
  FileNameBuffer path("a"), tooLong("");
  EXPECT_TRUE(ShowSaveFileDialog(nullptr, path, nullptr));
  EXPECT_FALSE(ShowOpenFileDialog(nullptr, tooLong, nullptr));
  SetFileDialogHook(nullptr);
  EXPECT_EQ(path.str() + "|" + tooLong.str(), std::string(kFileNameCapacity - 1, 'x') + "|");
}

}  // namespace
}  // namespace ab
