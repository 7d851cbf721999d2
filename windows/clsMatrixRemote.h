#pragma once
// The matrix switch's remote: an input and an output button for each of the
// eight inputs and outputs with their selection LEDs, and the routing display
// that shows which outputs one input feeds.
//
// Routing one input to one output takes two presses, input then output or the
// other way round, within five seconds: the first press lights its LED and
// flashes the LEDs of the side still to be chosen; the second sends the route
// command and updates the window's routing table and the display.

#include <QObject>
#include <array>
#include <cstdint>
#include <string>

class QLabel;
class QWidget;

namespace tavo {

class frmZIM8x8;
class Quorvel;
class Shape;

class clsMatrixRemote : public QObject {
    Q_OBJECT

  public:
    static constexpr std::uint32_t kSelectTimeoutMs = 5000;

    // Puts the buttons on picRemote and the LEDs and the routing display on
    // frontPanel (the window's remote and front-panel pictures), and connects
    // the window's selection timers, its "Show Routing" options and its close
    // request; the window owns the remote.
    clsMatrixRemote(frmZIM8x8& window, QWidget* picRemote, QWidget* frontPanel);

    void btnRemoteIN_Click(std::int16_t index);
    void btnRemoteOUT_Click(std::int16_t index);

    void RouteSelection();
    // Both do nothing and return false while the window is busy.
    bool StartRemoteSelection();
    bool CancelRemoteSelection();

    // The routing display of one 0-based input.
    void ShowRouting(int input);
    // "0"/"1" per LED, at most eight; a shorter string leaves the LEDs beyond it alone.
    void ShowInputLeds(const std::string& bits);
    void ShowOutputLeds(const std::string& bits);

    void tmrFlashRemote_Timer();
    void tmrRemoteSelect_Timer();

    std::array<Quorvel*, 8> btnRemoteIN{};
    std::array<Quorvel*, 8> btnRemoteOUT{};
    // Selection LEDs, switched by visibility.
    std::array<Shape*, 8> shpInput{};
    std::array<Shape*, 8> shpOutput{};
    // Routing display: the shown input, the outputs it feeds, each output's input number.
    std::array<Shape*, 8> shpInputGrp{};
    std::array<Shape*, 8> shpOutputGrp{};
    std::array<QLabel*, 8> lblCurrentIN{};

  private:
    static void ShowLeds(const std::array<Shape*, 8>& leds, const std::string& bits);
    static void SetAllVisible(const std::array<Shape*, 8>& leds, bool visible);
    void StopSelectionTimers();
    void AllSelectionLedsOff();
    void Ready();

    frmZIM8x8& window_;
};

}  // namespace tavo
