#include "shell/SiblingMail.h"

#include <QFile>
#include <QStringList>

#include "shell/Launcher.h"
#include "shell/Registry.h"
#include "shell/ShellNames.h"

namespace ab {

bool IsSiblingMailAvailable() { return true; }

bool FindSiblingMailFolder(std::string& folder) {
  folder.clear();
  ReadRegistryValue(kAppPathsKey, kAppPathsValue, folder);
  return !folder.empty();
}

int SendViaSiblingMail(std::string_view address) {
  // First and whatever its result: the program takes the address from there.
  WriteRegistryText(kHandOverKey, kHandOverValue, address);

  std::string folder;
  if (!FindSiblingMailFolder(folder)) return 0;
  const std::string program = folder + '/' + kSiblingProgramFileName;
  if (program.size() + 1 > kShellPathCapacity) return 0;
  return StartDetached(QFile::decodeName(QByteArray::fromStdString(program)), QStringList{});
}

}  // namespace ab
