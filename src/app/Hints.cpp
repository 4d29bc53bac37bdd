#include "app/Hints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace {

constexpr int WakeUpMs = 300;
constexpr int ShownMs = 20000;

class THintStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return WakeUpMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

THints &THints::Instance()
{
    static THints hints;
    return hints;
}

void THints::Install()
{
    QApplication::setStyle(new THintStyle);
    qApp->installEventFilter(&Instance());
}

void THints::SetEnabled(bool on)
{
    Instance().enabled_ = on;
    if (!on)
        QToolTip::hideText();
}

bool THints::Enabled() { return Instance().enabled_; }

bool THints::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (enabled_ && !widget->toolTip().isEmpty())
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), widget->toolTip(), widget, {}, ShownMs);
    return true;
}
