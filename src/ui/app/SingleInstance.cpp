// Single instance through a local socket.
#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

namespace kalvintor::ui {
namespace {
constexpr int kConnectTimeoutMs = 500;
constexpr char kActivate[] = "activate\n";
}  // namespace

QString singleInstanceName() {
    // In the user's runtime directory when there is one, so that separate sessions stay apart.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) return QDir(runtime).filePath(QStringLiteral("TKalvintorMain"));
    return QStringLiteral("TKalvintorMain-%1").arg(::getuid());
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith("activate")) emit activationRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

namespace {
bool askToActivate(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.waitForDisconnected(kConnectTimeoutMs);
    return true;
}
}  // namespace

bool SingleInstance::activateRunningInstance() {
    if (askToActivate(name_)) return true;
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(name_)) return false;
    // Another start may have won the race to listen; if nobody answers, the socket file was left
    // by an instance that ended without removing it.
    if (askToActivate(name_)) return true;
    QLocalServer::removeServer(name_);
    server_.listen(name_);
    return false;
}

}  // namespace kalvintor::ui
