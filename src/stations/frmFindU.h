#pragma once
// The find dialog of the station list window: searches the tree in radio
// mode and the music list in music mode, and forgets the found marks when
// it closes.

#include <QDialog>

#include <string>

#include "stations/TreeCommands.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// What the dialog searches.
class TFindTarget {
public:
    virtual ~TFindTarget() = default;
    virtual bool Find(const std::string &text, TFindDirection direction, bool matchCase, bool exact) = 0;
    virtual void ClearFindMarks() = 0;
};

class TfrmFind : public QDialog {
    Q_OBJECT
public:
    TfrmFind(TFindTarget &target, QWidget *parent);

    std::string Text() const;
    TFindDirection Direction() const;
    bool MatchCase() const;
    bool Exact() const;
    void SetText(const std::string &text);

    // Searches with the dialog's settings; tells the user when nothing is found.
    bool FindNow();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    TFindTarget &target_;
    QLineEdit *edtInput = nullptr;
    QCheckBox *chkMatchCase = nullptr;
    QRadioButton *up_ = nullptr;
    QRadioButton *exact_ = nullptr;
};
