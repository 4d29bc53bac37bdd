#include "app/frmVideoU.h"

#include "app/frmMainU.h"

TfrmOrvaneVideo::TfrmOrvaneVideo(TfrmMain *mainWindow) : QWidget(nullptr), frmMain_(mainWindow)
{
    setObjectName("frmOrvaneVideo");
    setWindowTitle("Orvane Video");
}

void TfrmOrvaneVideo::WMActivateInstance() { frmMain_->BringToFront(); }
