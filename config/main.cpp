// The configuration program tavocfg: a Qt application whose start procedure
// shows the device chooser and the chosen device's window in turn. The one
// place that knows both the start-up and the device windows above it.

#include <QApplication>

#include "config/QtHosts.h"
#include "config/modTAVOCfg.h"
#include "link/EndSignals.h"
#include "link/clsCmdLineParams.h"
#include "windows/DeviceWindows.h"

int main(int argc, char** argv) {
    // A normal end closes the ports as the windows go; a signal does so too.
    tavo::LetGoOnEndSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(tavo::modTAVOCfg::kProgramTitle);
    const auto& v = tavo::modTAVOCfg::kProgramVersion;
    QApplication::setApplicationVersion(QString("%1.%2.%3").arg(v.Major).arg(v.Minor).arg(v.Revision));
    // The windows are shown modally one after the other; hiding the last must not end the run early.
    QApplication::setQuitOnLastWindowClosed(false);
    tavo::InstallQtHosts();
    // Qt has taken its own options (-platform, -style...) out of argv by now.
    const int status = tavo::modTAVOCfg::Main(tavo::JoinCommandLine(argc, argv), tavo::ShowDeviceWindow);
    tavo::RemoveQtHosts();
    return status;
}
