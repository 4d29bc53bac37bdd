#include "app/frmCloseU.h"

#include "appearance/LanguageU.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmClose::TfrmClose(QWidget *owner) : QDialog(owner)
{
    setObjectName("frmClose");
    setWindowTitle("Close Options");
    auto *lblClose = new QLabel("When you close main pannel:", this);
    lblClose->setObjectName("lblClose");
    rbMinimize = new QRadioButton("Minimize to system tray without exiting", this);
    rbMinimize->setObjectName("rbMinimize");
    rbExit = new QRadioButton("Exit program", this);
    rbExit->setObjectName("rbExit");
    ckbNotShow = new QCheckBox("Don't show next time", this);
    ckbNotShow->setObjectName("ckbNotShow");
    ckbNotShow->setChecked(true);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *btnOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    QPushButton *btnCancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    btnCancel->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblClose);
    layout->addWidget(rbMinimize);
    layout->addWidget(rbExit);
    layout->addWidget(ckbNotShow);
    layout->addWidget(buttons);
    SetCloseToTray(true);
    AddTranslatedWindow(this);
}

void TfrmClose::SetCloseToTray(bool on)
{
    rbMinimize->setChecked(on);
    rbExit->setChecked(!on);
}

bool TfrmClose::CloseToTray() const { return rbMinimize->isChecked(); }
bool TfrmClose::NotShowNextTime() const { return ckbNotShow->isChecked(); }
