#include "platform/SystemShutdown.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

class TLogindShutdown final : public TSystemShutdown {
public:
    bool PowerOff() override
    {
        QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                                           "org.freedesktop.login1.Manager", "PowerOff");
        // Not interactive: no password prompt may block a timed shut-down.
        call << false;
        return QDBusConnection::systemBus().call(call).type() == QDBusMessage::ReplyMessage;
    }
};

TSystemShutdown *&Replacement()
{
    static TSystemShutdown *service = nullptr;
    return service;
}

} // namespace

TSystemShutdown &SystemShutdown()
{
    static TLogindShutdown logind;
    TSystemShutdown *replacement = Replacement();
    return replacement ? *replacement : logind;
}

void SetSystemShutdown(TSystemShutdown *service) { Replacement() = service; }
