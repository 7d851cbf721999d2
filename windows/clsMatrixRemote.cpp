#include "windows/clsMatrixRemote.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>

#include "button/Quorvel.h"
#include "codes/ZIM8x8Model.h"
#include "link/Clock.h"
#include "link/modCommon.h"
#include "windows/Shape.h"
#include "windows/frmZIM8x8.h"
#include "windows/modRemoteCommand.h"

namespace tavo {

namespace {

const std::string kAllOff = "00000000";

Shape* Led(QWidget* parent, std::uint32_t color, bool shown) {
    auto* led = new Shape(Shape::Kind::Circle, parent);
    led->SetFillColor(color);
    // A hidden LED keeps its place, so the display does not jump while LEDs flash.
    QSizePolicy policy = led->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    led->setSizePolicy(policy);
    led->setVisible(shown);
    return led;
}

}  // namespace

clsMatrixRemote::clsMatrixRemote(frmZIM8x8& window, QWidget* picRemote, QWidget* frontPanel)
    : QObject(&window), window_(window) {
    // The remote: a row of input buttons and a row of output buttons.
    auto* remote = new QGridLayout(picRemote);
    remote->setHorizontalSpacing(10);
    remote->setVerticalSpacing(3);
    remote->addWidget(RemoteCaption("INPUT", picRemote), 1, 0);
    remote->addWidget(RemoteCaption("OUTPUT", picRemote), 3, 0);
    for (std::size_t i = 0; i < 8; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        const int column = index + 1;
        remote->addWidget(RemoteCaption(QString::number(column), picRemote), 0, column);
        btnRemoteIN[i] = RemoteButton(picRemote);
        remote->addWidget(btnRemoteIN[i], 1, column, Qt::AlignCenter);
        connect(btnRemoteIN[i], &Quorvel::Click, this, [this, index] { btnRemoteIN_Click(index); });
        remote->addWidget(RemoteCaption(QString::number(column), picRemote), 2, column);
        btnRemoteOUT[i] = RemoteButton(picRemote);
        remote->addWidget(btnRemoteOUT[i], 3, column, Qt::AlignCenter);
        connect(btnRemoteOUT[i], &Quorvel::Click, this, [this, index] { btnRemoteOUT_Click(index); });
    }

    // The front panel: the selection LEDs, then the routing display.
    QWidget* panel = frontPanel;
    auto* front = new QGridLayout(panel);
    front->setHorizontalSpacing(8);
    front->setVerticalSpacing(3);
    front->addWidget(RemoteCaption("SELECT IN", panel), 0, 0);
    front->addWidget(RemoteCaption("SELECT OUT", panel), 1, 0);
    front->addWidget(RemoteCaption("INPUT", panel), 3, 0);
    front->addWidget(RemoteCaption("OUTPUT", panel), 4, 0);
    front->addWidget(RemoteCaption("FED BY", panel), 5, 0);
    for (std::size_t i = 0; i < 8; ++i) {
        const int column = static_cast<int>(i) + 1;
        shpInput[i] = Led(panel, kLedGreen, false);
        shpOutput[i] = Led(panel, kLedGreen, false);
        front->addWidget(shpInput[i], 0, column, Qt::AlignCenter);
        front->addWidget(shpOutput[i], 1, column, Qt::AlignCenter);
        front->addWidget(RemoteCaption(QString::number(column), panel), 2, column);
        shpInputGrp[i] = Led(panel, kLedBlack, true);
        shpOutputGrp[i] = Led(panel, kLedBlack, true);
        front->addWidget(shpInputGrp[i], 3, column, Qt::AlignCenter);
        front->addWidget(shpOutputGrp[i], 4, column, Qt::AlignCenter);
        lblCurrentIN[i] = RemoteCaption("", panel);
        front->addWidget(lblCurrentIN[i], 5, column);
    }

    connect(window_.tmrFlashRemote, &QTimer::timeout, this, &clsMatrixRemote::tmrFlashRemote_Timer);
    connect(window_.tmrRemoteSelect, &QTimer::timeout, this, &clsMatrixRemote::tmrRemoteSelect_Timer);
    connect(&window_, &frmZIM8x8::optShowRouting_Click, this, &clsMatrixRemote::ShowRouting);
    connect(&window_, &frmZIM8x8::RemoteSelectionCancelledByClose, this,
            &clsMatrixRemote::AllSelectionLedsOff);
}

void clsMatrixRemote::btnRemoteIN_Click(std::int16_t index) {
    if (window_.Busy() || index < 0 || index > 7) return;
    window_.mSelectedInput = index;
    window_.SelectShowRouting(index);
    if (window_.mOutputPending) {
        window_.mOutputPending = false;
        RouteSelection();
    } else {
        window_.mInputPending = true;
        StartRemoteSelection();
    }
}

void clsMatrixRemote::btnRemoteOUT_Click(std::int16_t index) {
    if (window_.Busy() || index < 0 || index > 7) return;
    window_.mSelectedOutput = index;
    if (window_.mInputPending) {
        window_.mInputPending = false;
        RouteSelection();
    } else {
        window_.mOutputPending = true;
        StartRemoteSelection();
    }
}

void clsMatrixRemote::RouteSelection() {
    if (window_.Busy()) return;
    const int output = window_.mSelectedOutput + 1;
    const int input = window_.mSelectedInput + 1;
    const std::string word = RouteWord(output, input);
    const std::string description =
        "INPUT #" + std::to_string(input) + " ROUTED TO #" + std::to_string(output) + " OUTPUT";
    if (SendRemoteCommand(window_, word, description)) {
        CancelRemoteSelection();
        window_.mRouting[static_cast<std::size_t>(window_.mSelectedOutput)] = window_.mSelectedInput;
        ShowRouting(window_.mSelectedInput);
    }
    // A failed send leaves the table, the display and the selection LEDs as they are.
    StopSelectionTimers();
    Ready();
}

bool clsMatrixRemote::StartRemoteSelection() {
    if (window_.Busy()) return false;
    if (window_.mInputPending) {
        ShowInputLeds(kAllOff);
        shpInput[static_cast<std::size_t>(window_.mSelectedInput)]->show();
        window_.SetStatusText("Please select an Output...");
    } else if (window_.mOutputPending) {
        ShowOutputLeds(kAllOff);
        shpOutput[static_cast<std::size_t>(window_.mSelectedOutput)]->show();
        window_.SetStatusText("Please select an Input...");
    } else {
        StopSelectionTimers();
        AllSelectionLedsOff();
        Ready();
        return true;
    }
    // A second press on the same side starts the five seconds again.
    window_.tmrRemoteSelect->stop();
    window_.mSelectDeadline = static_cast<std::int32_t>(timeGetTime() + kSelectTimeoutMs);
    window_.tmrRemoteSelect->start();
    window_.tmrFlashRemote->start();
    return true;
}

bool clsMatrixRemote::CancelRemoteSelection() {
    if (window_.Busy()) return false;
    window_.mInputPending = false;
    window_.mOutputPending = false;
    StopSelectionTimers();
    AllSelectionLedsOff();
    Ready();
    return true;
}

void clsMatrixRemote::tmrFlashRemote_Timer() {
    if (window_.mInputPending) {
        SetAllVisible(shpOutput, shpOutput[0]->isHidden());
    } else if (window_.mOutputPending) {
        SetAllVisible(shpInput, shpInput[0]->isHidden());
    } else {
        AllSelectionLedsOff();
        window_.tmrFlashRemote->stop();
    }
}

void clsMatrixRemote::tmrRemoteSelect_Timer() {
    // The clock wraps: the deadline has passed once the signed difference is positive.
    const auto late =
        static_cast<std::int32_t>(timeGetTime() - static_cast<std::uint32_t>(window_.mSelectDeadline));
    if (late <= 0) return;
    // The pending side is kept: a press on the other side still completes the route.
    StopSelectionTimers();
    ShowInputLeds(kAllOff);
    ShowOutputLeds(kAllOff);
    Ready();
}

void clsMatrixRemote::ShowRouting(int input) {
    for (std::size_t i = 0; i < 8; ++i) {
        shpInputGrp[i]->SetFillColor(kLedBlack);
        shpOutputGrp[i]->SetFillColor(kLedBlack);
    }
    if (input >= 0 && input < 8) shpInputGrp[static_cast<std::size_t>(input)]->SetFillColor(kLedGreen);
    for (std::size_t o = 0; o < 8; ++o) {
        if (window_.mRouting[o] == input) shpOutputGrp[o]->SetFillColor(kLedGreen);
        lblCurrentIN[o]->setText(QString::number(window_.mRouting[o] + 1));
    }
}

void clsMatrixRemote::ShowInputLeds(const std::string& bits) { ShowLeds(shpInput, bits); }
void clsMatrixRemote::ShowOutputLeds(const std::string& bits) { ShowLeds(shpOutput, bits); }

void clsMatrixRemote::ShowLeds(const std::array<Shape*, 8>& leds, const std::string& bits) {
    const std::string s = TrimBlanks(bits).substr(0, leds.size());
    for (std::size_t i = 0; i < s.size(); ++i) leds[i]->setVisible(s[i] == '1');
}

void clsMatrixRemote::SetAllVisible(const std::array<Shape*, 8>& leds, bool visible) {
    for (Shape* led : leds) led->setVisible(visible);
}

void clsMatrixRemote::StopSelectionTimers() {
    window_.tmrRemoteSelect->stop();
    window_.tmrFlashRemote->stop();
}

void clsMatrixRemote::AllSelectionLedsOff() {
    ShowOutputLeds(kAllOff);
    ShowInputLeds(kAllOff);
}

void clsMatrixRemote::Ready() { window_.SetStatusText("Ready"); }

}  // namespace tavo
