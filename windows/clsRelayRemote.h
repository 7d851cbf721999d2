#pragma once
// The relay controller's remote: a button for each relay on and off, for all
// relays on and off and for the A/B relay on and off, placed on the window's
// remote picture. Each press sends one write command word at once and, when the
// device took it, shows the result on the window's front-panel LEDs.

#include <QObject>
#include <array>
#include <cstdint>
#include <string>

class QWidget;

namespace tavo {

class frmQUELB;
class Quorvel;

class clsRelayRemote : public QObject {
    Q_OBJECT

  public:
    // Puts the buttons on picRemote, the window's remote picture; the window owns the remote.
    clsRelayRemote(frmQUELB& window, QWidget* picRemote);

    // The buttons' handlers, by index in their arrays: relay index + 1 on or off;
    // index 0 all relays (or the A/B relay) on, any other index off.
    void btnRemoteOn_Click(std::int16_t index);
    void btnRemoteOff_Click(std::int16_t index);
    void btnRemoteAll_Click(std::int16_t index);
    void btnRemoteAB_Click(std::int16_t index);

    std::array<Quorvel*, 8> btnRemoteOn{};
    std::array<Quorvel*, 8> btnRemoteOff{};
    std::array<Quorvel*, 2> btnRemoteAll{};
    std::array<Quorvel*, 2> btnRemoteAB{};

  private:
    // Sends word; false, after the "Device Error" box, when the device did not take it.
    bool Send(const std::string& word, const std::string& description);
    void SetRelayLeds(bool on);
    void SwitchRelay(std::int16_t index, bool on);

    frmQUELB& window_;
};

}  // namespace tavo
