#include "windows/modRemoteCommand.h"

#include <QLabel>

#include "button/Quorvel.h"
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

QLabel* RemoteCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(7);
    label->setFont(font);
    return label;
}

Quorvel* RemoteButton(QWidget* parent) {
    auto* button = new Quorvel(parent);
    button->InitProperties();
    return button;
}

}  // namespace tavo
