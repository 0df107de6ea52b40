#pragma once
// Starting other programs: always as a detached process with an argument
// list, never through a shell, so no text handed over can run anything else.

#include <QString>
#include <QStringList>

namespace ab {

// The absolute path of the desktop's URL opener ("xdg-open") on PATH, looked
// up at each call; empty when there is none.
QString FindUrlOpener();

// Starts `program` detached with each of `arguments` as one argument and the
// current folder as its working folder. 1 when it started, else 0.
int StartDetached(const QString& program, const QStringList& arguments);

}  // namespace ab
