#include "windows/modRemoteCommand.h"

#include "link/clsComPort.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

bool SendRemoteCommand(frmDeviceWindow& window, const std::string& word, const std::string& description) {
    if (window.DiagnosticMode())
        window.AddMonitorLine("Sending:\t" + word + clsComPort::CalcCmdChecksum(word) + "\t" + description);
    window.SetBusy(true);
    bool ok = true;
    if (!frmDeviceWindow::DemoMode()) {
        clsComPort* port = window.ComPort();
        ok = port && port->SendCmdString(word, true);
    }
    window.SetBusy(false);
    return ok;
}

}  // namespace tavo
