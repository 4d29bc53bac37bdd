#pragma once
// One running instance per user. The first start listens on a local socket
// that only its user can reach; a later start connects, asks the running
// instance to come to the front and ends.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `name` tells programs apart; the socket lives in $XDG_RUNTIME_DIR
    // (or the temporary folder) and carries the user id.
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running instance. False when another
    // instance runs; it has then been asked to activate.
    bool Acquire();

    QString SocketPath() const { return socketPath_; }

Q_SIGNALS:
    // Another start asked this instance to show itself.
    void ActivateRequested();

private:
    bool AskRunningInstance() const;
    void OnNewConnection();

    QString socketPath_;
    QLocalServer *server_ = nullptr;
};
