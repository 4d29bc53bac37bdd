#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

const QByteArray ActivateMessage = "activate\n";
constexpr int ConnectTimeoutMs = 1000;

QString RuntimeFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists())
        return QString::fromLocal8Bit(runtime);
    return QDir::tempPath();
}

} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent),
      socketPath_(RuntimeFolder() + "/" + name + "-" + QString::number(getuid()) + ".sock")
{
}

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
}

bool SingleInstance::AskRunningInstance() const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(ActivateMessage);
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Acquire()
{
    if (AskRunningInstance())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        // Either a crashed instance left its socket behind, or another start
        // won the race a moment ago: ask once more before taking the name.
        if (AskRunningInstance())
            return false;
        QLocalServer::removeServer(socketPath_);
        if (!server_->listen(socketPath_))
            return true; // no hand-over possible, but this start still runs
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket *client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            while (client->canReadLine())
                if (client->readLine() == ActivateMessage)
                    Q_EMIT ActivateRequested();
        });
    }
}
