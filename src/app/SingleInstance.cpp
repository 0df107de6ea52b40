#include "app/SingleInstance.h"

#include <QFile>
#include <QLocalSocket>

#include <unistd.h>

#include <utility>

#include "shell/UserRuntimeFolder.h"

namespace ab {
namespace {

constexpr int kConnectTimeoutMs = 1000;

}  // namespace

QString InstanceNameForUser() {
  const std::string folder = UserRuntimeFolder();
  if (folder.empty()) return {};
  return QFile::decodeName(QByteArray::fromStdString(folder)) + QStringLiteral("/AddressBookWClass");
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

bool SingleInstance::TryConnect() const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  // The connection is the request; the running instance needs no more.
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
  return true;
}

bool SingleInstance::HandOverToRunning() {
  if (name_.isEmpty() || !IsFreeOrOwn(QFile::encodeName(name_).toStdString())) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (TryConnect()) return true;
    if (server_.listen(name_)) return false;
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;  // runs unguarded
    // Nobody answered on the name: a socket left behind by a crashed instance.
    QLocalServer::removeServer(name_);
  }
  return false;
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromServer();
    if (onRaiseRequest) onRaiseRequest();
  }
}

}  // namespace ab
