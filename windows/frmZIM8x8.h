#pragma once
// The matrix switch's configuration window: eight inputs and eight outputs,
// each with an IR select code and an X-10 select address, the routing table,
// and the remote tab that routes an input to an output by hand.

#include <QRadioButton>
#include <array>
#include <cstdint>

#include "windows/frmDeviceWindow.h"

namespace tavo {

class clsMatrixRemote;

class frmZIM8x8 : public frmDeviceWindow {
    Q_OBJECT

  public:
    static const DeviceWindowTables kTables;

    explicit frmZIM8x8(QWidget* parent = nullptr);
    ~frmZIM8x8() override;

    void ApplyDeviceReplies(const ReplySet& replies) override;
    bool WriteX10Codes(OutputFile* file = nullptr) override;

    // Selects optShowRouting(index) and raises its click (shows that input's routing).
    void SelectShowRouting(int index);

    // Tab 2: "Show Routing" with "Input #1" .. "Input #8".
    QGroupBox* fraShowRouting = nullptr;
    std::array<QRadioButton*, 8> optShowRouting{};

    QTimer* tmrRemoteSelect = nullptr;  // 100 ms, starts disabled
    QTimer* tmrFlashRemote = nullptr;   // 250 ms, starts disabled

    // Routing table: for each output (0-7) the 0-based input that feeds it.
    std::array<std::int16_t, 8> mRouting{};
    // Remote selection.
    std::int16_t mSelectedInput = 0;
    std::int16_t mSelectedOutput = 0;
    bool mInputPending = false;
    bool mOutputPending = false;
    std::int32_t mSelectDeadline = 0;

    // The remote tab's buttons, selection LEDs and routing display (owned by the window).
    clsMatrixRemote* matrixRemote = nullptr;

  signals:
    // optShowRouting(index) was clicked or selected by the window.
    void optShowRouting_Click(int index);
    // The close request cancelled a pending remote selection (flags cleared,
    // timers stopped): every input and output selection LED is to go out.
    void RemoteSelectionCancelledByClose();

  protected:
    std::string NotFoundMessage() const override;
    void ApplyGeneralState(const GeneralReply& reply) override;
    std::span<const std::int16_t> RoutingTable() const override { return mRouting; }
    void AfterFirstReadApplied() override;
    void BeforeCloseRequest() override;
};

}  // namespace tavo
