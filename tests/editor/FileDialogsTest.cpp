#include "editor/FileDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/DialogAnswers.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

using testing::AnswerModal;
using testing::TempFolder;

std::vector<std::string> Texts(unsigned mask) {
  std::vector<std::string> texts;
  for (const FileFilter& entry : FiltersForMask(mask)) texts.emplace_back(entry.text);
  return texts;
}

TEST(FileDialogFilters, EntriesFollowTheTableWithAllFilesLast) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Texts(FILTER_BMP | FILTER_WAVE), (V{"BMP Files (*.BMP)", "Wave Files (*.WAV)", "All Files (*.*)"}));
  EXPECT_EQ(Texts(FILTER_CSV), (V{"CSV Files (*.CSV)", "All Files (*.*)"}));
  EXPECT_EQ(Texts(0), (V{"All Files (*.*)"}));
  EXPECT_EQ(Texts(0x3F), (V{"BMP Files (*.BMP)", "JPEG Files (*.JPG)", "GIF Files (*.GIF)", "Wave Files (*.WAV)",
                            "vCard Files (*.VCF)", "CSV Files (*.CSV)", "All Files (*.*)"}));
  // Bits outside the table add nothing.
  EXPECT_EQ(Texts(0x40 | FILTER_VCARD), (V{"vCard Files (*.VCF)", "All Files (*.*)"}));
}

TEST(FileDialogFilters, PrepareBuildsTheZeroSeparatedFilterAndTheSettings) {
  QWidget owner;
  PrepareFileDialog(&owner, FILTER_WAVE | FILTER_BMP);
  const FileDialogSettings& settings = SharedFileDialogSettings();
  EXPECT_EQ(settings.owner, &owner);
  EXPECT_EQ(settings.filterMask, FILTER_WAVE | FILTER_BMP);
  constexpr char kExpected[] = "BMP Files (*.BMP)\0*.bmp\0Wave Files (*.WAV)\0*.wav\0All Files (*.*)\0*.*\0";
  EXPECT_EQ(settings.filter, std::string(kExpected, sizeof kExpected));  // with the literal's own zero: two at the end

  // Each call starts afresh.
  PrepareFileDialog(nullptr, FILTER_CSV);
  EXPECT_EQ(SharedFileDialogSettings().owner, nullptr);
  constexpr char kCsv[] = "CSV Files (*.CSV)\0*.csv\0All Files (*.*)\0*.*\0";
  EXPECT_EQ(SharedFileDialogSettings().filter, std::string(kCsv, sizeof kCsv));
}

TEST(FileDialogFilters, DefaultExtensionComesFromTheFirstFilter) {
  struct Case {
    unsigned mask;
    const char* extension;
  } cases[] = {{FILTER_BMP, "bmp"},  {FILTER_JPEG, "jpg"}, {FILTER_GIF, "gif"},
               {FILTER_WAVE, "wav"}, {FILTER_VCARD, "vcf"}, {FILTER_CSV, "csv"},
               {FILTER_WAVE | FILTER_VCARD, "wav"}, {0, "bmp"}};
  for (const Case& c : cases) {
    PrepareFileDialog(nullptr, c.mask);
    EXPECT_EQ(SharedFileDialogSettings().defaultExtension.toStdString(), c.extension) << c.mask;
  }
}

// Presses the dialog's Open or Save button, as the user would.
void Confirm(QFileDialog* dialog) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  QPushButton* button = buttons->button(dialog->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                                        : QDialogButtonBox::Save);
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isEnabled());
  button->click();
}

// The names the dialog offers in its current folder under its current filter.
std::set<std::string> OfferedNames(QFileDialog* dialog, std::size_t expectedCount) {
  auto* model = dialog->findChild<QFileSystemModel*>();
  std::set<std::string> names;
  if (model == nullptr) return names;
  const QModelIndex root = model->index(dialog->directory().absolutePath());
  const bool loaded = QTest::qWaitFor([&] { return static_cast<std::size_t>(model->rowCount(root)) >= expectedCount; }, 5000);
  if (!loaded) return names;
  QTest::qWait(50);  // let a late row show up, if the filter is wrong
  for (int row = 0; row < model->rowCount(root); ++row) {
    const QModelIndex index = model->index(row, 0, root);
    if (model->flags(index) & Qt::ItemIsEnabled) names.insert(model->fileName(index).toStdString());
  }
  return names;
}

class FileDialogRun : public ::testing::Test {
 protected:
  void SetUp() override { SetFileDialogHook(nullptr); }
  std::string Folder() const { return std::filesystem::canonical(folder.path()).string(); }
  TempFolder folder;
};

TEST_F(FileDialogRun, OpenDialogShowsTheFiltersAndMatchesPatternsRegardlessOfCase) {
  for (const char* name : {"UPPER.BMP", "lower.bmp", "Mixed.Bmp", "notes.txt", "noext"}) folder.Write(name, "x");
  std::vector<std::string> comboTexts;
  std::set<std::string> underBmp, underAll;
  QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
  QString suffix;
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    mode = dialog->acceptMode();
    suffix = dialog->defaultSuffix();
    if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
      for (int i = 0; i < combo->count(); ++i) comboTexts.push_back(combo->itemText(i).toStdString());
    }
    underBmp = OfferedNames(dialog, 3);
    dialog->selectNameFilter(dialog->nameFilters().last());
    underAll = OfferedNames(dialog, 5);
    dialog->reject();
  });
  PrepareFileDialog(nullptr, FILTER_BMP);
  FileNameBuffer path(Folder() + "/");
  EXPECT_FALSE(ShowOpenFileDialog(nullptr, path, nullptr));

  EXPECT_EQ(mode, QFileDialog::AcceptOpen);
  EXPECT_EQ(suffix, QStringLiteral("bmp"));
  EXPECT_EQ(comboTexts, (std::vector<std::string>{"BMP Files (*.BMP)", "All Files (*.*)"}));
  EXPECT_EQ(underBmp, (std::set<std::string>{"UPPER.BMP", "lower.bmp", "Mixed.Bmp"}));
  EXPECT_EQ(underAll, (std::set<std::string>{"UPPER.BMP", "lower.bmp", "Mixed.Bmp", "notes.txt", "noext"}));
  // A cancelled dialog leaves the caller's buffer alone.
  EXPECT_EQ(path.str(), Folder() + "/");
}

TEST_F(FileDialogRun, ConfirmedOpenGivesThePathAndTheTitle) {
  const std::string file = folder.Write("Ann.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n");
  AnswerModal<QFileDialog>([](QFileDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("Ann.vcf"));
    Confirm(dialog);
  });
  PrepareFileDialog(nullptr, FILTER_VCARD);
  FileNameBuffer path(Folder() + "/");
  FileTitleBuffer title("old title");
  ASSERT_TRUE(ShowOpenFileDialog(nullptr, path, &title));
  EXPECT_TRUE(std::filesystem::equivalent(path.str(), file)) << path;
  EXPECT_EQ(title.str(), "Ann.vcf");
}

TEST_F(FileDialogRun, OpenAsksBeforeTakingAFileThatDoesNotExist) {
  // Declined: the dialog stays open; the user then cancels it.
  bool stillOpen = false;
  std::string question;
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("New.csv"));
    AnswerModal<QMessageBox>([&, dialog](QMessageBox* box) {
      question = box->text().toStdString();
      box->button(QMessageBox::No)->click();
      QTimer::singleShot(0, dialog, [&, dialog] {
        stillOpen = dialog->isVisible();
        dialog->reject();
      });
    });
    Confirm(dialog);
  });
  PrepareFileDialog(nullptr, FILTER_CSV);
  FileNameBuffer path(Folder() + "/");
  EXPECT_FALSE(ShowOpenFileDialog(nullptr, path, nullptr));
  EXPECT_TRUE(stillOpen);
  EXPECT_NE(question.find("New.csv"), std::string::npos) << question;
  EXPECT_EQ(path.str(), Folder() + "/");

  // Accepted: the path of the file to be made comes back; the dialog makes no file.
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("New.csv"));
    AnswerModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    Confirm(dialog);
  });
  PrepareFileDialog(nullptr, FILTER_CSV);
  ASSERT_TRUE(ShowOpenFileDialog(nullptr, path, nullptr));
  EXPECT_EQ(std::filesystem::path(path.str()).filename(), "New.csv");
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(path.str()).parent_path(), folder.path()));
  EXPECT_FALSE(std::filesystem::exists(path.str()));
}

TEST_F(FileDialogRun, SaveAddsTheDefaultExtensionAndAsksBeforeReplacing) {
  AnswerModal<QFileDialog>([](QFileDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("Ann"));
    Confirm(dialog);
  });
  PrepareFileDialog(nullptr, FILTER_VCARD);
  FileNameBuffer path(Folder() + "/");
  FileTitleBuffer title;
  ASSERT_TRUE(ShowSaveFileDialog(nullptr, path, &title));
  EXPECT_EQ(std::filesystem::path(path.str()).filename(), "Ann.vcf");
  EXPECT_EQ(title.str(), "Ann.vcf");

  folder.Write("Ann.vcf", "old");
  int questions = 0;
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("Ann.vcf"));
    AnswerModal<QMessageBox>([&, dialog](QMessageBox* box) {
      ++questions;
      box->button(QMessageBox::No)->click();
      // Asked again after the first refusal: this time replace.
      QTimer::singleShot(0, dialog, [&, dialog] {
        AnswerModal<QMessageBox>([&](QMessageBox* again) {
          ++questions;
          again->button(QMessageBox::Yes)->click();
        });
        Confirm(dialog);
      });
    });
    Confirm(dialog);
  });
  PrepareFileDialog(nullptr, FILTER_VCARD);
  FileNameBuffer second(Folder() + "/");
  ASSERT_TRUE(ShowSaveFileDialog(nullptr, second, nullptr));
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(std::filesystem::path(second.str()).filename(), "Ann.vcf");
  EXPECT_EQ(TempFolder::Read(folder.File("Ann.vcf")), "old");  // the dialog only chooses
}

TEST_F(FileDialogRun, HookAnswersInsteadOfTheUser) {
  std::vector<FileDialogRequest> requests;
  SetFileDialogHook([&](const FileDialogRequest& request) -> std::optional<std::string> {
    requests.push_back(request);
    if (request.save) return std::nullopt;
    return request.initialPath == "long" ? std::string(300, 'x') : std::string("/data/cards/Bob.vcf");
  });
  QWidget owner;

  PrepareFileDialog(&owner, FILTER_VCARD);
  FileNameBuffer path("start.vcf");
  FileTitleBuffer title;
  EXPECT_TRUE(ShowOpenFileDialog(nullptr, path, &title));
  EXPECT_EQ(path.str(), "/data/cards/Bob.vcf");
  EXPECT_EQ(title.str(), "Bob.vcf");

  PrepareFileDialog(nullptr, FILTER_CSV);
  EXPECT_FALSE(ShowSaveFileDialog(&owner, path, &title));
  EXPECT_EQ(path.str(), "/data/cards/Bob.vcf");

  // A path longer than the buffer is refused, not cut.
  PrepareFileDialog(nullptr, FILTER_BMP);
  FileNameBuffer shortPath("long");
  EXPECT_FALSE(ShowOpenFileDialog(nullptr, shortPath, nullptr));
  EXPECT_EQ(shortPath.str(), "long");

  ASSERT_EQ(requests.size(), 3u);
  EXPECT_FALSE(requests[0].save);
  EXPECT_EQ(requests[0].owner, &owner);  // the owner given to PrepareFileDialog
  EXPECT_EQ(requests[0].filterMask, unsigned{FILTER_VCARD});
  EXPECT_EQ(requests[0].initialPath, "start.vcf");
  EXPECT_TRUE(requests[1].save);
  EXPECT_EQ(requests[1].owner, &owner);
  EXPECT_EQ(requests[1].filterMask, unsigned{FILTER_CSV});
  SetFileDialogHook(nullptr);
}

}  // namespace
}  // namespace ab
