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
#include <vector>

#include "support/DialogAnswers.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::AnswerModal;

TEST(FileDialogFilters, PrepareBuildsTheZeroSeparatedFilterAndTheDefaultExtension) {
  using namespace std::string_literals;
  // Each filter: its bit, its entry in the filter, the default extension when it comes first.
  const std::tuple<unsigned, std::string, const char*> kFilters[] = {
      {FILTER_BMP, "BMP Files (*.BMP)\0*.bmp\0"s, "bmp"},   {FILTER_JPEG, "JPEG Files (*.JPG)\0*.jpg\0"s, "jpg"},
      {FILTER_GIF, "GIF Files (*.GIF)\0*.gif\0"s, "gif"},   {FILTER_WAVE, "Wave Files (*.WAV)\0*.wav\0"s, "wav"},
      {FILTER_VCARD, "vCard Files (*.VCF)\0*.vcf\0"s, "vcf"}, {FILTER_CSV, "CSV Files (*.CSV)\0*.csv\0"s, "csv"}};
  QWidget owner;
  for (unsigned mask : {0x01u, 0x02u, 0x04u, 0x08u, 0x10u, 0x20u, 0x7Fu /* bits outside the table add nothing */, 0u}) {
    std::string filter, extension;
    for (const auto& [bit, entry, firstExtension] : kFilters)
      if (mask & bit) filter += entry, extension = extension.empty() ? firstExtension : extension;
    PrepareFileDialog(&owner, mask);
    const FileDialogSettings& settings = SharedFileDialogSettings();
    EXPECT_EQ(settings.filter, filter + "All Files (*.*)\0*.*\0\0"s) << mask;
    EXPECT_EQ(settings.defaultExtension.toStdString(), extension.empty() ? "bmp" : extension) << mask;
    EXPECT_EQ(std::pair(settings.filterMask, settings.owner), std::pair(mask, &owner));
  }
  PrepareFileDialog(nullptr, FILTER_CSV);  // each call starts afresh
  EXPECT_EQ(SharedFileDialogSettings().owner, nullptr);
}

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
  static void Answer(QMessageBox::StandardButton button, std::string* question = nullptr, std::function<void()> after = {}) {
    AnswerModal<QMessageBox>([=](QMessageBox* box) {
      if (question) *question = box->text().toStdString();
      box->button(button)->click();
      if (after) QTimer::singleShot(0, after);
    });
  }
  testing::TempFolder folder;
  std::string start = std::filesystem::canonical(folder.path()).string() + "/";
};

TEST_F(FileDialogRun, OpenGivesPathAndTitleOfTheChosenFile) {
  folder.Write("Mixed.Bmp", "x");
  FileTitleBuffer title("old title");
  EXPECT_EQ(Run(false, FILTER_BMP, [](QFileDialog* dialog) {
    // "*.*" would hide names without a dot.
    EXPECT_EQ((dialog->defaultSuffix() + "|" + dialog->nameFilters().join('|')).toStdString(),
              "bmp|BMP Files (*.BMP) (*.bmp)|All Files (*.*) (*)");
    ChooseName(dialog, "Mixed.Bmp");
  }, &title), "Mixed.Bmp");
  EXPECT_EQ(title.str(), "Mixed.Bmp");
}

// Open asks before taking a file that does not exist; save adds the default extension and asks before
// replacing, asking again at the next try after a refusal. The dialogs only choose.
TEST_F(FileDialogRun, OpenAndSaveAskBeforeTakingANewOrReplacingAnOldFile) {
  std::string question, first, second;
  bool stillOpen = false;
  EXPECT_EQ(Run(false, FILTER_CSV, [&](QFileDialog* dialog) {
    Answer(QMessageBox::No, &question, [&, dialog] { stillOpen = dialog->isVisible(), dialog->reject(); });
    ChooseName(dialog, "New.csv");
  }), "");
  EXPECT_TRUE(stillOpen);
  EXPECT_NE(question.find("New.csv"), std::string::npos) << question;
  EXPECT_EQ(Run(false, FILTER_CSV, [](QFileDialog* dialog) { Answer(QMessageBox::Yes), ChooseName(dialog, "New.csv"); }), "New.csv");

  FileTitleBuffer title;
  EXPECT_EQ(Run(true, FILTER_VCARD, [](QFileDialog* dialog) { ChooseName(dialog, "Ann"); }, &title), "Ann.vcf");
  EXPECT_EQ(title.str(), "Ann.vcf");
  folder.Write("Ann.vcf", "old");
  EXPECT_EQ(Run(true, FILTER_VCARD, [&](QFileDialog* dialog) {
    Answer(QMessageBox::No, &first, [&, dialog] { Answer(QMessageBox::Yes, &second), ChooseName(dialog, "Ann.vcf"); });
    ChooseName(dialog, "Ann.vcf");
  }), "Ann.vcf");
  EXPECT_FALSE(first.empty() || second.empty());
  EXPECT_EQ(std::pair(testing::TempFolder::Read(folder.File("Ann.vcf")), std::filesystem::exists(folder.File("New.csv"))),
            std::pair(std::string("old"), false));
}

TEST(FileDialogHook, AnswersInsteadOfTheUserForTheOwnerGivenToPrepare) {
  std::vector<FileDialogRequest> requests;
  SetFileDialogHook([&](const FileDialogRequest& request) -> std::optional<std::string> {
    requests.push_back(request);
    if (request.save) return std::nullopt;
    return request.initialPath == "long" ? std::string(kFileNameCapacity, 'x') : std::string("/data/cards/Bob.vcf");
  });
  QWidget owner;
  PrepareFileDialog(&owner, FILTER_VCARD);
  FileNameBuffer path("start.vcf"), tooLong("long");
  FileTitleBuffer title;
  EXPECT_TRUE(ShowOpenFileDialog(nullptr, path, &title));
  EXPECT_EQ(path.str() + " " + title.str(), "/data/cards/Bob.vcf Bob.vcf");
  PrepareFileDialog(nullptr, FILTER_CSV);
  EXPECT_FALSE(ShowSaveFileDialog(&owner, path, &title));
  EXPECT_FALSE(ShowOpenFileDialog(nullptr, tooLong, nullptr)) << "a path longer than the buffer is refused, not cut";
  EXPECT_EQ(path.str() + " " + tooLong.str(), "/data/cards/Bob.vcf long");
  SetFileDialogHook(nullptr);
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(std::tuple(requests[0].save, requests[0].owner, requests[0].filterMask, requests[0].initialPath),
            std::tuple(false, &owner, unsigned{FILTER_VCARD}, std::string("start.vcf")));
  EXPECT_EQ(std::tuple(requests[1].save, requests[1].owner, requests[1].filterMask), std::tuple(true, &owner, unsigned{FILTER_CSV}));
}

}  // namespace
}  // namespace ab
