#include "stations/frmFindU.h"

#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox *RadioGroup(QWidget *parent, const char *name, const char *caption, const char *first, const char *second,
                      QRadioButton *&firstButton, QRadioButton *&secondButton)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    auto *layout = new QVBoxLayout(group);
    firstButton = new QRadioButton(first, group);
    secondButton = new QRadioButton(second, group);
    layout->addWidget(firstButton);
    layout->addWidget(secondButton);
    return group;
}

} // namespace

TfrmFind::TfrmFind(TFindTarget &target, QWidget *parent) : QDialog(parent), target_(target)
{
    setObjectName("frmFind");
    setWindowTitle("Find");
    setModal(false);

    auto *lblInput = new QLabel("Fi&nd what:", this);
    lblInput->setObjectName("lblInput");
    edtInput = new QLineEdit(this);
    edtInput->setObjectName("edtInput");
    lblInput->setBuddy(edtInput);
    chkMatchCase = new QCheckBox("Match &Case", this);
    chkMatchCase->setObjectName("chkMatchCase");
    QRadioButton *down = nullptr, *vague = nullptr;
    QGroupBox *rgTurn = RadioGroup(this, "rgTurn", "Direction", "&Up", "&Down", up_, down);
    QGroupBox *rgMode = RadioGroup(this, "rgMode", "Mode", "&Vague", "&Exact", vague, exact_);
    down->setChecked(true);
    vague->setChecked(true);
    auto *btnFind = new QPushButton("&Find", this);
    btnFind->setObjectName("btnFind");
    btnFind->setDefault(true); // Enter in the input finds
    auto *btnCancel = new QPushButton("&Cancel", this);
    btnCancel->setObjectName("btnCancel");
    connect(btnFind, &QPushButton::clicked, this, &TfrmFind::FindNow);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::close);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblInput, 0, 0);
    grid->addWidget(edtInput, 0, 1, 1, 2);
    grid->addWidget(chkMatchCase, 1, 0, 1, 3);
    grid->addWidget(rgTurn, 2, 0, 1, 2);
    grid->addWidget(rgMode, 2, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnFind);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 3, 0, 1, 3);

    AddTranslatedWindow(this);
}

std::string TfrmFind::Text() const { return edtInput->text().toStdString(); }
TFindDirection TfrmFind::Direction() const { return up_->isChecked() ? fdUp : fdDown; }
bool TfrmFind::MatchCase() const { return chkMatchCase->isChecked(); }
bool TfrmFind::Exact() const { return exact_->isChecked(); }
void TfrmFind::SetText(const std::string &text) { edtInput->setText(QString::fromStdString(text)); }

bool TfrmFind::FindNow()
{
    const std::string text = Text();
    if (target_.Find(text, Direction(), MatchCase(), Exact()))
        return true;
    ShowInfo(Msg(57) + " \"" + text + "\"", this);
    return false;
}

void TfrmFind::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edtInput->setFocus();
    edtInput->selectAll();
}

void TfrmFind::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    target_.ClearFindMarks();
}
