#pragma once
// Collects the debug output lines written while alive.

#include <vector>

#include <QString>
#include <QtGlobal>

namespace ab::testing {

class DebugLines {
 public:
  DebugLines() : previous_(qInstallMessageHandler(&Handle)) { Lines().clear(); }
  ~DebugLines() { qInstallMessageHandler(previous_); }
  DebugLines(const DebugLines&) = delete;
  DebugLines& operator=(const DebugLines&) = delete;

  static std::vector<QString>& Lines() {
    static std::vector<QString> lines;
    return lines;
  }
  static int Count(const QString& text) {
    int count = 0;
    for (const QString& line : Lines()) count += (line == text) ? 1 : 0;
    return count;
  }

 private:
  static void Handle(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg) Lines().push_back(text);
  }
  QtMessageHandler previous_;
};

}  // namespace ab::testing
