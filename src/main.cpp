// Orvane: start-up. Two or more arguments select the upgrade install mode;
// otherwise one instance per user runs, and a second start hands over to it.

#include "app/Upgrade.h"
#include "app/frmMainU.h"
#include "app/frmVideoU.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <clocale>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2) {
        QCoreApplication app(argc, argv);
        InstallUpgrade(args);
        return 0;
    }

    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the media engine and number parsing need it
    SingleInstance instance("orvane");
    if (!instance.Acquire())
        return 0;
    QApplication::setApplicationName("Orvane");

    TfrmMain frmMain;
    QObject::connect(&instance, &SingleInstance::ActivateRequested, frmMain.VideoWindow(),
                     &TfrmOrvaneVideo::WMActivateInstance);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::TerminationRequested, &frmMain, &QWidget::close);
    if (frmMain.ShowAtStart())
        frmMain.show();
    return app.exec();
}
