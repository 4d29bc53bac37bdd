#include "app/Hints.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>
#include <QWidget>

TEST(Hints, ShownWhenOnAndSwallowedWhenOff)
{
    THints::Install();
    QWidget w;
    w.setToolTip("Page Up Radio");
    w.resize(100, 40);
    w.show();
    w.activateWindow();
    PumpEvents(50);
    auto ask = [&] {
        QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), w.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&w, &e);
        PumpEvents(100);
    };
    THints::SetEnabled(true);
    ask();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Page Up Radio");

    THints::SetEnabled(false);
    PumpEvents(600); // a tooltip fades out
    EXPECT_FALSE(QToolTip::isVisible());
    ask();
    EXPECT_FALSE(QToolTip::isVisible());
    THints::SetEnabled(true);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 300);
}
