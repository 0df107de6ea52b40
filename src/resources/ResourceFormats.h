#pragma once
// The source formats of the resource library's strings, menus and accelerator
// tables, parsed into plain data. A malformed resource yields nothing at all,
// so a broken bundle fails its lookups instead of half-working.

#include <QByteArrayView>
#include <QKeySequence>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ab {

// String table: one "ID<TAB>text" line per string, IDs 0 to 65535, each at most
// once; "\n", "\t" and "\\" are the only escapes. Blank lines and lines starting
// with '#' are skipped; a CR before the line end is ignored.
using StringTable = std::map<int, std::string>;
std::optional<StringTable> ParseStringTable(std::string_view source);

// What a buffer of `capacity` bytes keeps of `text` once its terminator has its
// place: at most capacity - 1 bytes, cut at a UTF-8 character boundary.
std::string CutToCapacity(std::string_view text, int capacity);

// One entry of a menu: a command (ID and text), a separator, or a popup with
// entries of its own. The text after a tab shows the accelerator key.
struct MenuItemData {
  enum class Kind { Command, Separator, Popup };
  Kind kind = Kind::Command;
  int id = 0;
  QString text;
  bool checkable = false;
  bool checked = false;
  bool grayed = false;
  std::vector<MenuItemData> items;
};

// A menu as JSON: {"items": [entry...]}; an entry is {"id", "text"} (with the
// optional flags "checkable", "checked", "grayed"), {"separator": true} or
// {"text", "items": [...]}. Other keys (such as "comment") are ignored.
std::optional<std::vector<MenuItemData>> ParseMenu(QByteArrayView json);

struct Accelerator {
  QKeySequence keys;  // a single key combination
  int command = 0;
};

// An accelerator table as JSON: {"accelerators": [{"keys": "Ctrl+N", "command": 100}...]},
// keys in Qt's portable text form.
std::optional<std::vector<Accelerator>> ParseAcceleratorTable(QByteArrayView json);

}  // namespace ab
