#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace kvelo {
namespace {

constexpr int kTimeoutMs = 1000;
const char kRaise[] = "raise\n";

} // namespace

QString SingleInstanceName(const std::string& probe) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(probe), QCryptographicHash::Sha1)
            .toHex();
    return QStringLiteral("kvelo-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(16)));
}

SingleInstanceGuard::SingleInstanceGuard(const std::string& probe, QObject* parent)
    : QObject(parent), name_(SingleInstanceName(probe)) {}

bool SingleInstanceGuard::OtherRunning() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstanceGuard::Listen(std::function<void()> raise) {
    raise_ = std::move(raise);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left by a copy that crashed: nobody answered, so take it over.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith("raise") && raise_) raise_();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace kvelo
