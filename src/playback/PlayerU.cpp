#include "playback/PlayerU.h"

#include <QEvent>

TPlayer::TPlayer(QWidget *owner)
    : QWidget(owner)
{
    resize(320, 240);
    hide();
    if (owner) {
        setGeometry(owner->rect());
        owner->installEventFilter(this);
    }
}

bool TPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TPlayer::NotifyState(int code)
{
    // Bound to this object: a code still queued when the player is destroyed
    // is dropped with it.
    QMetaObject::invokeMethod(this, [this, code] { DeliverState(code); }, Qt::QueuedConnection);
}

void TPlayer::DeliverState(int code)
{
    if (!fOnStateChange)
        return;
    fPlayState = code;
    // A copy: the handler may detach itself or replace the handler.
    const TStateChangeEvent handler = fOnStateChange;
    handler(this, code);
}
