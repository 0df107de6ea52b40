#include "app/SingleInstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QVariant>

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

bool SingleInstance::TryConnect(const QStringList& files) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  // The request: the files to open, one a line, then an empty line.
  for (const QString& file : files) socket.write(file.toUtf8() + '\n');
  socket.write("\n");
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
  return true;
}

bool SingleInstance::HandOverToRunning(const QStringList& files) {
  if (name_.isEmpty() || !IsFreeOrOwn(QFile::encodeName(name_).toStdString())) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (TryConnect(files)) return true;
    if (server_.listen(name_)) return false;
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;  // runs unguarded
    // Nobody answered on the name: a socket left behind by a crashed instance.
    QLocalServer::removeServer(name_);
  }
  return false;
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    // A request ends with an empty line; a start that hangs up sooner still
    // asks for the window.
    auto finish = [this, socket] {
      if (socket->property("answered").toBool()) return;
      socket->setProperty("answered", true);
      const QByteArray request = socket->readAll();
      socket->disconnectFromServer();
      socket->deleteLater();
      QStringList files;
      for (const QByteArray& line : request.split('\n'))
        if (!line.isEmpty()) files.append(QString::fromUtf8(line));
      if (onRaiseRequest) onRaiseRequest();
      if (onOpenFiles && !files.isEmpty()) onOpenFiles(files);
    };
    auto check = [socket, finish] {
      const QByteArray seen = socket->peek(socket->bytesAvailable());
      if (seen == "\n" || seen.endsWith("\n\n")) finish();
    };
    connect(socket, &QLocalSocket::readyRead, this, check);
    connect(socket, &QLocalSocket::disconnected, this, finish);
    check();
  }
}

}  // namespace ab
