#pragma once
// The about box: title, program version, installed station data version, our
// web site (opened when clicked) and contact address.

#include <QDialog>

#include <string>

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    TfrmAbout(QWidget *owner, const std::string &siteUrl);
};
