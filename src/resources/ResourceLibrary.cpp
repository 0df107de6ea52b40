#include "resources/ResourceLibrary.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QResource>

namespace ab {

struct ResourceLibrary {
  QString path;         // the registered bundle, needed to release it
  StringTable strings;  // parsed once; empty when the bundle's table is malformed
};

ResourceLibrary* resourceLibrary = nullptr;

namespace {

const QString kRoot = QStringLiteral(":/OSTREL_RC/");

// The bytes of one file of the bundle. The QFile lives only inside this call.
QByteArray ReadBundleFile(const QString& name) {
  if (resourceLibrary == nullptr) return {};
  QFile file(kRoot + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QPixmap PixmapFromBundle(const QString& name) {
  QPixmap pixmap;
  const QByteArray bytes = ReadBundleFile(name);
  if (!bytes.isEmpty()) pixmap.loadFromData(bytes);
  return pixmap;
}

std::optional<std::vector<MenuItemData>> MenuData(int id) {
  const QByteArray json = ReadBundleFile(QStringLiteral("menus/%1.json").arg(id));
  if (json.isEmpty()) return std::nullopt;
  return ParseMenu(json);
}

// QMenu and QMenuBar share the calls used here without sharing a base class.
template <typename Container>
void AddItems(Container* container, const std::vector<MenuItemData>& items) {
  for (const MenuItemData& item : items) {
    switch (item.kind) {
      case MenuItemData::Kind::Separator:
        container->addSeparator();
        break;
      case MenuItemData::Kind::Popup: {
        auto* popup = new QMenu(item.text, container);
        AddItems(popup, item.items);
        container->addMenu(popup);
        break;
      }
      case MenuItemData::Kind::Command: {
        auto* action = new QAction(item.text, container);
        action->setData(item.id);
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        action->setEnabled(!item.grayed);
        container->addAction(action);
        break;
      }
    }
  }
}

}  // namespace

QString FindResourceLibrary(const QString& programFolder) {
  const QString beside = programFolder + QStringLiteral("/OSTREL_RC.dll");
  // From bin/ or from libexec/addressbook/ of an installed tree.
  for (const QString& path : {beside, QStringLiteral(AB_INSTALLED_BUNDLE),
                              programFolder + QStringLiteral("/../share/addressbook/OSTREL_RC.dll"),
                              programFolder + QStringLiteral("/../../share/addressbook/OSTREL_RC.dll")}) {
    if (QFileInfo(path).isFile()) return QFileInfo(path).absoluteFilePath();
  }
  return beside;
}

bool LoadResourceLibrary(const QString& path) {
  if (resourceLibrary != nullptr) FreeResourceLibrary();
  if (path.isEmpty() || !QResource::registerResource(path)) return false;

  resourceLibrary = new ResourceLibrary{path, {}};
  const QByteArray table = ReadBundleFile(QStringLiteral("strings.txt"));
  if (auto strings = ParseStringTable(std::string_view(table.constData(), table.size()))) {
    resourceLibrary->strings = std::move(*strings);
  }
  return true;
}

bool FreeResourceLibrary() {
  if (resourceLibrary == nullptr) return false;
  const bool released = QResource::unregisterResource(resourceLibrary->path);
  delete resourceLibrary;
  resourceLibrary = nullptr;
  return released;
}

std::string LoadResourceString(int id) {
  if (resourceLibrary == nullptr) return {};
  const auto found = resourceLibrary->strings.find(id);
  return found == resourceLibrary->strings.end() ? std::string() : found->second;
}

std::string LoadResourceString(int id, int capacity) { return CutToCapacity(LoadResourceString(id), capacity); }

QString LoadResourceText(int id, int capacity) { return QString::fromStdString(LoadResourceString(id, capacity)); }

std::unique_ptr<QMenuBar> LoadResourceMenuBar(int id) {
  const auto items = MenuData(id);
  if (!items) return nullptr;
  auto bar = std::make_unique<QMenuBar>();
  AddItems(bar.get(), *items);
  return bar;
}

std::unique_ptr<QMenu> LoadResourceMenu(int id) {
  const auto items = MenuData(id);
  if (!items) return nullptr;
  auto menu = std::make_unique<QMenu>();
  AddItems(menu.get(), *items);
  return menu;
}

QMenu* SubMenu(const QWidget* menu, int position) {
  if (menu == nullptr) return nullptr;
  const QList<QAction*> entries = menu->actions();
  if (position < 0 || position >= entries.size()) return nullptr;
  return entries[position]->menu();
}

QAction* FindCommandAction(const QWidget* menu, int commandId) {
  if (menu == nullptr) return nullptr;
  for (QAction* entry : menu->actions()) {
    if (QMenu* popup = entry->menu()) {
      if (QAction* found = FindCommandAction(popup, commandId)) return found;
    } else if (!entry->isSeparator() && entry->data().isValid() && entry->data().toInt() == commandId) {
      return entry;
    }
  }
  return nullptr;
}

std::vector<Accelerator> LoadResourceAccelerators(const QString& name) {
  if (name.isEmpty() || name.contains(QLatin1Char('/'))) return {};
  const QByteArray json = ReadBundleFile(QStringLiteral("accelerators/%1.json").arg(name));
  if (json.isEmpty()) return {};
  return ParseAcceleratorTable(json).value_or(std::vector<Accelerator>());
}

QIcon LoadResourceIcon(int id) {
  if (resourceLibrary == nullptr) return {};
  const QString folder = QStringLiteral("icons/%1/").arg(id);
  QIcon icon;
  for (const QString& size : QDir(kRoot + folder).entryList(QDir::Files, QDir::Name)) {
    const QPixmap pixmap = PixmapFromBundle(folder + size);
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap LoadResourceBitmap(int id) { return PixmapFromBundle(QStringLiteral("bitmaps/%1.png").arg(id)); }

std::optional<QCursor> LoadResourceCursor(int id) {
  const QPixmap pixmap = PixmapFromBundle(QStringLiteral("cursors/%1.png").arg(id));
  if (pixmap.isNull()) return std::nullopt;

  // Without a readable hot spot Qt's default (the centre) applies.
  int hotX = -1;
  int hotY = -1;
  const QJsonArray hotspot = QJsonDocument::fromJson(ReadBundleFile(QStringLiteral("cursors/%1.json").arg(id)))
                                 .object()
                                 .value(QLatin1String("hotspot"))
                                 .toArray();
  if (hotspot.size() == 2 && hotspot[0].isDouble() && hotspot[1].isDouble()) {
    hotX = hotspot[0].toInt();
    hotY = hotspot[1].toInt();
  }
  return QCursor(pixmap, hotX, hotY);
}

QByteArray LoadDialogTemplate(int id) { return ReadBundleFile(QStringLiteral("dialogs/%1.ui").arg(id)); }

}  // namespace ab
