#pragma once
// The close dialog: what the main window's close button does from now on,
// hide to the tray or exit, and whether to ask again.

#include <QDialog>

class QCheckBox;
class QRadioButton;

class TfrmClose : public QDialog {
    Q_OBJECT
public:
    explicit TfrmClose(QWidget *owner);

    void SetCloseToTray(bool on);
    bool CloseToTray() const;
    bool NotShowNextTime() const;

private:
    QRadioButton *rbMinimize, *rbExit;
    QCheckBox *ckbNotShow;
};
