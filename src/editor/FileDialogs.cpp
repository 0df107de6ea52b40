#include "editor/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <array>
#include <utility>

namespace ab {
namespace {

constexpr std::array<FileFilter, 6> kFilterTable = {{
    {FILTER_BMP, "BMP Files (*.BMP)", "*.bmp", "bmp"},
    {FILTER_JPEG, "JPEG Files (*.JPG)", "*.jpg", "jpg"},
    {FILTER_GIF, "GIF Files (*.GIF)", "*.gif", "gif"},
    {FILTER_WAVE, "Wave Files (*.WAV)", "*.wav", "wav"},
    {FILTER_VCARD, "vCard Files (*.VCF)", "*.vcf", "vcf"},
    {FILTER_CSV, "CSV Files (*.CSV)", "*.csv", "csv"},
}};
constexpr FileFilter kAllFiles = {0, "All Files (*.*)", "*.*", nullptr};
constexpr char kFallbackExtension[] = "bmp";

FileDialogSettings settings;
FileDialogHook hook;

// Qt takes a filter's patterns from the last parentheses of its name and, with
// HideNameFilterDetails, shows the name without them. Appending the patterns
// Qt should use keeps the shown text exactly as listed; Qt's own "*.*" would
// only match names with a dot, so "All Files" gets "*".
QStringList QtNameFilters(unsigned mask) {
  QStringList names;
  for (const FileFilter& entry : FiltersForMask(mask)) {
    const QString pattern = entry.bit == 0 ? QStringLiteral("*") : QString::fromLatin1(entry.pattern);
    names << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(entry.text), pattern);
  }
  return names;
}

// The file dialog that also asks before accepting a file that does not exist.
class SharedFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  bool askBeforeCreating = false;

  void accept() override {
    const QStringList files = selectedFiles();
    if (askBeforeCreating && !files.isEmpty()) {
      const QFileInfo info(files.first());
      if (!info.exists() && !info.fileName().isEmpty()) {
        const auto answer = QMessageBox::question(
            this, windowTitle(), tr("%1\nThis file does not exist.\nCreate the file?").arg(info.fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes) return;
      }
    }
    QFileDialog::accept();
  }
};

std::optional<QString> RunDialog(bool save, QWidget* owner, const FileNameBuffer& path) {
  SharedFileDialog dialog(owner);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The open dialog may name a file yet to be made, after asking.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.askBeforeCreating = !save;
  dialog.setNameFilters(QtNameFilters(settings.filterMask));
  dialog.setDefaultSuffix(settings.defaultExtension);
  if (!path.empty()) dialog.selectFile(QString::fromUtf8(path.c_str()));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.first();
}

bool ShowFileDialog(bool save, QWidget* owner, FileNameBuffer& path, FileTitleBuffer* title) {
  if (owner == nullptr) owner = settings.owner;
  std::optional<std::string> chosen;
  if (hook) {
    chosen = hook(FileDialogRequest{save, owner, settings.filterMask, path.str()});
  } else if (const std::optional<QString> file = RunDialog(save, owner, path)) {
    chosen = file->toStdString();
  }
  // A path that does not fit the caller's buffer is refused rather than cut.
  if (!chosen || chosen->size() >= kFileNameCapacity) return false;
  path = *chosen;
  if (title != nullptr) *title = QFileInfo(QString::fromStdString(*chosen)).fileName().toStdString();
  return true;
}

}  // namespace

std::vector<FileFilter> FiltersForMask(unsigned mask) {
  std::vector<FileFilter> entries;
  for (const FileFilter& entry : kFilterTable) {
    if ((mask & entry.bit) != 0) entries.push_back(entry);
  }
  entries.push_back(kAllFiles);
  return entries;
}

const FileDialogSettings& SharedFileDialogSettings() { return settings; }

void PrepareFileDialog(QWidget* owner, unsigned filterMask) {
  settings = FileDialogSettings();
  settings.owner = owner;
  settings.filterMask = filterMask;
  for (const FileFilter& entry : FiltersForMask(filterMask)) {
    settings.filter.append(entry.text).push_back('\0');
    settings.filter.append(entry.pattern).push_back('\0');
  }
  settings.filter.push_back('\0');
  const std::vector<FileFilter> entries = FiltersForMask(filterMask);
  settings.defaultExtension = QString::fromLatin1(entries.front().extension ? entries.front().extension : kFallbackExtension);
}

bool ShowOpenFileDialog(QWidget* owner, FileNameBuffer& path, FileTitleBuffer* title) {
  return ShowFileDialog(false, owner, path, title);
}

bool ShowSaveFileDialog(QWidget* owner, FileNameBuffer& path, FileTitleBuffer* title) {
  return ShowFileDialog(true, owner, path, title);
}

void SetFileDialogHook(FileDialogHook newHook) { hook = std::move(newHook); }

}  // namespace ab
