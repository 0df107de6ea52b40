#pragma once
// One address book per user: the first start claims a local socket named
// after the window class in the user's own runtime folder; a later start
// connects to it, which asks the first to come forward, and then ends.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace ab {

// "<runtime folder>/AddressBookWClass" (UserRuntimeFolder); empty when the
// user has no safe runtime folder, and the program then runs unguarded.
QString InstanceNameForUser();

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // True when another instance is running and has been asked to come
  // forward and to open `files` (absolute paths); otherwise this instance
  // answers later starts from now on. A
  // socket left behind by a crashed instance is replaced; a socket of another
  // user's is never connected to nor replaced (the program then runs unguarded).
  bool HandOverToRunning(const QStringList& files = {});

  // Called for every later start; then, with the files it was given to
  // open, if any.
  std::function<void()> onRaiseRequest;
  std::function<void(const QStringList& files)> onOpenFiles;

  bool listening() const { return server_.isListening(); }

 private:
  bool TryConnect(const QStringList& files) const;
  void OnNewConnection();

  QString name_;
  QLocalServer server_;
};

}  // namespace ab
