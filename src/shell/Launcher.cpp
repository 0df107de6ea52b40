#include "shell/Launcher.h"

#include <QProcess>
#include <QStandardPaths>

#include "shell/ShellNames.h"

namespace ab {

QString FindUrlOpener() { return QStandardPaths::findExecutable(QString::fromLatin1(kUrlOpenerName)); }

int StartDetached(const QString& program, const QStringList& arguments) {
  if (program.isEmpty()) return 0;
  return QProcess::startDetached(program, arguments) ? 1 : 0;
}

}  // namespace ab
