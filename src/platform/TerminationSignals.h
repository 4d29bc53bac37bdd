#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (log-out, system shut-down, Ctrl+C) into a
// signal on the GUI thread, so the program closes the way the user's "Exit"
// does and nothing unsaved is lost.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void TerminationRequested();

private:
    QSocketNotifier *notifier_ = nullptr;
};
