#include "app/frmAboutU.h"

#include "app/Funs.h"
#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const ContactAddress = "contact@orvane.net";
// The data version shown before any data update was installed.
const char *const ShippedDataVersion = "2011-08-31";

// Our site's address: blue, red while the mouse is over it, opened on a click.
class TLinkLabel : public QLabel {
public:
    TLinkLabel(const std::string &address, QWidget *parent) : QLabel(QString::fromStdString(address), parent), address_(address)
    {
        setCursor(Qt::PointingHandCursor);
        SetColour(Qt::blue);
    }

protected:
    void enterEvent(QEnterEvent *) override { SetColour(Qt::red); }
    void leaveEvent(QEvent *) override { SetColour(Qt::blue); }
    void mouseReleaseEvent(QMouseEvent *) override { OpenInBrowser(address_); }

private:
    void SetColour(Qt::GlobalColor colour)
    {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colour);
        setPalette(p);
    }
    std::string address_;
};

} // namespace

TfrmAbout::TfrmAbout(QWidget *owner, const std::string &siteUrl) : QDialog(owner)
{
    setObjectName("frmAbout");
    setWindowTitle("About");
    auto *lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    lblTitle->setFont(big);
    auto *lblVersion = new QLabel("Version:", this);
    lblVersion->setObjectName("lblVersion");
    auto *lblData = new QLabel("Data:", this);
    lblData->setObjectName("lblData");
    auto *lblWebsit = new TLinkLabel(siteUrl, this);
    lblWebsit->setObjectName("lblWebsit");
    auto *edtAuthor = new QLineEdit(ContactAddress, this);
    edtAuthor->setObjectName("edtAuthor");
    edtAuthor->setReadOnly(true);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *btnOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    btnOK->setObjectName("btnOK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    for (QWidget *w : std::initializer_list<QWidget *>{lblTitle, lblVersion, lblData, lblWebsit, edtAuthor, buttons})
        layout->addWidget(w);

    // The translated captions first; the values are appended to them.
    AddTranslatedWindow(this);
    const QString title = QApplication::applicationDisplayName();
    setWindowTitle(windowTitle() + " " + title);
    setWindowIcon(QApplication::windowIcon());
    lblTitle->setText(title);
    lblVersion->setText(lblVersion->text() + " " + QString::fromStdString(GetFileVersionText(ExecutableFileName())));
    const std::string data =
        IniFile(UserIniFileName()).ReadString("Update", "Data_" + CurLng(), ShippedDataVersion);
    lblData->setText(lblData->text() + " " + QString::fromStdString(data));
}
