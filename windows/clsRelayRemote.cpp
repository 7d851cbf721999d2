#include "windows/clsRelayRemote.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include "button/Quorvel.h"
#include "codes/QUELBModel.h"
#include "link/MessageBox.h"
#include "windows/Shape.h"
#include "windows/frmQUELB.h"
#include "windows/modRemoteCommand.h"

namespace tavo {

clsRelayRemote::clsRelayRemote(frmQUELB& window, QWidget* picRemote) : QObject(&window), window_(window) {
    // One row per relay with its on and off buttons, then all relays and the A/B relay.
    auto* grid = new QGridLayout(picRemote);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(RemoteCaption("ON", picRemote), 0, 1);
    grid->addWidget(RemoteCaption("OFF", picRemote), 0, 2);
    for (std::size_t i = 0; i < 8; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        const int row = index + 1;
        grid->addWidget(RemoteCaption(QString("Relay #%1").arg(row), picRemote), row, 0);
        btnRemoteOn[i] = RemoteButton(picRemote);
        btnRemoteOff[i] = RemoteButton(picRemote);
        grid->addWidget(btnRemoteOn[i], row, 1, Qt::AlignCenter);
        grid->addWidget(btnRemoteOff[i], row, 2, Qt::AlignCenter);
        connect(btnRemoteOn[i], &Quorvel::Click, this, [this, index] { btnRemoteOn_Click(index); });
        connect(btnRemoteOff[i], &Quorvel::Click, this, [this, index] { btnRemoteOff_Click(index); });
    }
    grid->addWidget(RemoteCaption("All Relays", picRemote), 9, 0);
    grid->addWidget(RemoteCaption("A/B Relay", picRemote), 10, 0);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        btnRemoteAll[i] = RemoteButton(picRemote);
        btnRemoteAB[i] = RemoteButton(picRemote);
        grid->addWidget(btnRemoteAll[i], 9, index + 1, Qt::AlignCenter);
        grid->addWidget(btnRemoteAB[i], 10, index + 1, Qt::AlignCenter);
        connect(btnRemoteAll[i], &Quorvel::Click, this, [this, index] { btnRemoteAll_Click(index); });
        connect(btnRemoteAB[i], &Quorvel::Click, this, [this, index] { btnRemoteAB_Click(index); });
    }
}

bool clsRelayRemote::Send(const std::string& word, const std::string& description) {
    if (SendRemoteCommand(window_, word, description)) return true;
    ShowMessage("Device Error", "Error sending command!  Please try again.", MsgIcon::Critical,
                MsgButtons::Ok);
    return false;
}

void clsRelayRemote::btnRemoteOn_Click(std::int16_t index) { SwitchRelay(index, true); }

void clsRelayRemote::btnRemoteOff_Click(std::int16_t index) { SwitchRelay(index, false); }

void clsRelayRemote::SwitchRelay(std::int16_t index, bool on) {
    if (window_.Busy() || index < 0 || index > 7) return;
    const unsigned mask = 1u << index;
    const std::string description = "Relay #" + std::to_string(index + 1) + (on ? " (ON)" : " (OFF)");
    if (Send(on ? RelaysOnWord(mask) : RelaysOffWord(mask), description))
        window_.shpRelayLED[static_cast<std::size_t>(index)]->SetFillColor(on ? kLedGreen : kLedGrey);
}

void clsRelayRemote::btnRemoteAll_Click(std::int16_t index) {
    if (window_.Busy()) return;
    // Register 04 is written whole, so the A/B relay keeps its last known state.
    const bool on = index == 0;
    const unsigned states = (window_.mABRelayState == 1 ? kABRelayBit : 0u) | (on ? kAllRelaysMask : 0u);
    if (Send(RelayStatesWord(states), std::string("All Relays (") + (on ? "ON" : "OFF") + ")"))
        SetRelayLeds(on);
}

void clsRelayRemote::btnRemoteAB_Click(std::int16_t index) {
    if (window_.Busy()) return;
    const bool on = index == 0;
    if (!Send(on ? RelaysOnWord(kABRelayBit) : RelaysOffWord(kABRelayBit),
              std::string("B Bus (") + (on ? "ON" : "OFF") + ")"))
        return;
    window_.shpRelayABLED->SetFillColor(on ? kLedGreen : kLedGrey);
    window_.mABRelayState = on ? 1 : 0;
}

void clsRelayRemote::SetRelayLeds(bool on) {
    for (Shape* led : window_.shpRelayLED) led->SetFillColor(on ? kLedGreen : kLedGrey);
}

}  // namespace tavo
