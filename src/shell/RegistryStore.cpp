#include "shell/RegistryStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "shell/RegistryErrors.h"

namespace ab {

namespace {

constexpr char kVendorFolder[] = "Vantoro";
constexpr char kStoreFileName[] = "registry.ini";

QString ConfigHome() {
  const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return configured;
  return QDir::homePath() + QStringLiteral("/.config");
}

}  // namespace

QString RegistryFilePath() {
  return ConfigHome() + QLatin1Char('/') + QLatin1String(kVendorFolder) + QLatin1Char('/') +
         QLatin1String(kStoreFileName);
}

int LoadRegistryStore(std::vector<RegistryKey>& keys) {
  keys.clear();
  QFile file(RegistryFilePath());
  if (!file.exists()) return kErrorSuccess;
  if (!file.open(QIODevice::ReadOnly)) return kErrorAccessDenied;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return kErrorAccessDenied;
  keys = ParseRegistryIni(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return kErrorSuccess;
}

int SaveRegistryStore(const std::vector<RegistryKey>& keys) {
  const QString path = RegistryFilePath();
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return kErrorAccessDenied;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return kErrorAccessDenied;
  const std::string text = FormatRegistryIni(keys);
  if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    file.cancelWriting();
    return kErrorAccessDenied;
  }
  return file.commit() ? kErrorSuccess : kErrorAccessDenied;
}

}  // namespace ab
