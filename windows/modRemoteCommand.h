#pragma once
// One command word from a remote tab to the device, as both device windows
// send it: recorded in the monitor list in diagnostic mode, sent while the
// window is busy, and counted as sent without any serial traffic in demo mode.

#include <string>

class QLabel;
class QString;
class QWidget;

namespace tavo {

class Quorvel;

class frmDeviceWindow;

// Adds "Sending:", tab, the word and its checksum, tab, description to the
// monitor list when diagnostic mode is on (before the send, whatever its
// outcome), then sends the word without awaiting a reply. True when every
// character was echoed, or in demo mode. The caller checks the busy state first.
bool SendRemoteCommand(frmDeviceWindow& window, const std::string& word, const std::string& description);

// The small centred caption beside the remote tabs' buttons and lamps.
QLabel* RemoteCaption(const QString& text, QWidget* parent);
// A remote button showing its built-in faces.
Quorvel* RemoteButton(QWidget* parent);

}  // namespace tavo
