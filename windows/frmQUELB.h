#pragma once
// The relay controller's configuration window: ten entries ("All Relays", the
// A/B relay, relays 1 to 8), each with an IR "on" and "off" code and one X-10
// address, and the remote tab that switches the relays by hand.

#include <array>
#include <cstdint>

#include "windows/Shape.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

class clsRelayRemote;

class frmQUELB : public frmDeviceWindow {
    Q_OBJECT

  public:
    static const DeviceWindowTables kTables;

    explicit frmQUELB(QWidget* parent = nullptr);
    ~frmQUELB() override;

    void ApplyDeviceReplies(const ReplySet& replies) override;
    bool WriteX10Codes(OutputFile* file = nullptr) override;

    // Front-panel LEDs on picQUELB: relays 1-8 and the A/B relay.
    std::array<Shape*, 8> shpRelayLED{};
    Shape* shpRelayABLED = nullptr;

    // Last known state of the A/B relay, 0 or 1.
    std::int16_t mABRelayState = 0;

    // The remote tab's buttons (owned by the window).
    clsRelayRemote* relayRemote = nullptr;

  protected:
    std::string NotFoundMessage() const override;
    void ApplyGeneralState(const GeneralReply& reply) override;
};

}  // namespace tavo
