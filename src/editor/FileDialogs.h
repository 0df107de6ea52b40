#pragma once
// The shared open and save file dialogs. PrepareFileDialog builds the filter
// from a mask of the FILTER_ bits and resets the one shared description of the
// dialog; ShowOpenFileDialog or ShowSaveFileDialog must follow it at once.
//
// The dialog is Qt's own file dialog rather than the desktop's: its filter
// patterns match file names regardless of letter case (a photo "FACE.BMP" is
// offered under "BMP Files (*.BMP)"), and the filter texts read exactly as
// listed below, "All Files (*.*)" matching every file, dot or none.
//
// A name typed without an extension gets the default extension of the
// dialog's first filter: "bmp", "jpg", "gif", "wav", "vcf" or "csv" (and "bmp"
// for an empty mask), so a card exported as "Ann" becomes "Ann.vcf".

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contacts/FixedText.h"

class QWidget;

namespace ab {

enum FileFilterBits : unsigned {
  FILTER_BMP = 0x01,
  FILTER_JPEG = 0x02,
  FILTER_GIF = 0x04,
  FILTER_WAVE = 0x08,
  FILTER_VCARD = 0x10,
  FILTER_CSV = 0x20,
};

inline constexpr std::size_t kFileNameCapacity = 260;   // path buffer, terminator included
inline constexpr std::size_t kFileTitleCapacity = 512;  // file-title buffer, terminator included

using FileNameBuffer = FixedText<kFileNameCapacity>;
using FileTitleBuffer = FixedText<kFileTitleCapacity>;

// One entry of the filter table.
struct FileFilter {
  unsigned bit;          // 0 for "All Files"
  const char* text;      // what the dialog shows
  const char* pattern;   // the pattern in the filter text built for the dialog
  const char* extension; // the default extension when this filter comes first
};

// The entries a mask selects, in table order, "All Files (*.*)" last.
std::vector<FileFilter> FiltersForMask(unsigned mask);

// The shared dialog description as the last PrepareFileDialog left it.
struct FileDialogSettings {
  QWidget* owner = nullptr;
  unsigned filterMask = 0;
  // Each entry's text and pattern, each ended by a zero byte; one more zero byte at the end.
  std::string filter;
  QString defaultExtension;
};
const FileDialogSettings& SharedFileDialogSettings();

void PrepareFileDialog(QWidget* owner, unsigned filterMask);

// True when the user confirmed a file. `path` holds the initial file name on
// entry and the chosen path on confirmation; `title` (optional) then gets the
// chosen file's name without its folder. A cancelled dialog, or a chosen path
// longer than the buffer holds, changes neither and gives false. The open
// dialog asks before accepting a file that does not exist; the save dialog
// asks before replacing one that does.
bool ShowOpenFileDialog(QWidget* owner, FileNameBuffer& path, FileTitleBuffer* title);
bool ShowSaveFileDialog(QWidget* owner, FileNameBuffer& path, FileTitleBuffer* title);

// For tests of the dialogs' callers: while a hook is set, it answers every
// dialog instead of the user (a path to confirm, or nothing to cancel).
struct FileDialogRequest {
  bool save = false;
  QWidget* owner = nullptr;
  unsigned filterMask = 0;
  std::string initialPath;
};
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest&)>;
void SetFileDialogHook(FileDialogHook hook);

}  // namespace ab
