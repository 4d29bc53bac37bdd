#pragma once
// The application's tooltips: they appear after 300 ms, stay for 20 s, and
// can be switched off for every window at once.

#include <QObject>

class THints : public QObject {
    Q_OBJECT
public:
    // Installs the rules on the running application.
    static void Install();
    static void SetEnabled(bool on);
    static bool Enabled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static THints &Instance();
    bool enabled_ = true;
};
