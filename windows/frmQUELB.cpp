#include "windows/frmQUELB.h"

#include <QGridLayout>
#include <QLabel>

#include "codes/QUELBModel.h"
#include "codes/clsQUELBProtocol.h"
#include "config/modTAVOCfg.h"
#include "windows/clsRelayRemote.h"

namespace tavo {

const DeviceWindowTables frmQUELB::kTables = {
    .model = &kQUELBModel,
    .captionPlain = "TAVO QUELB Device Configuration",
    .captionModified = "TAVO QUELB Device Configuration (modified)",
    .captionDemo = "TAVO QUELB Device Configuration (Demo Mode)",
    .captionDemoModified = "TAVO QUELB Device Configuration (Demo Mode) (modified)",
    .exitCaption = "E&xit",
    .loadingClearedAtLoad = false,
};

frmQUELB::frmQUELB(QWidget* parent) : frmDeviceWindow(kTables, parent) {
    std::vector<std::string> rows = {"All Relays", "A/B Relay"};
    for (int r = 1; r <= 8; ++r) rows.push_back("Relay #" + std::to_string(r));
    BuildCodePages(rows,
                   {{0, "On", "cboIRGroupOn", "cboIRKeyOn"}, {1, "Off", "cboIRGroupOff", "cboIRKeyOff"}},
                   {{0, "", "cboX10House", "cboX10Unit"}}, "On/Off");

    auto* panel = new QGridLayout(picQUELB);
    for (int i = 0; i < 8; ++i) {
        Shape* led = new Shape(Shape::Kind::Circle, picQUELB);
        led->setObjectName(ArrayElementName("shpRelayLED", i));
        shpRelayLED[static_cast<std::size_t>(i)] = led;
        panel->addWidget(led, 0, i, Qt::AlignCenter);
        panel->addWidget(new QLabel(QString::number(i + 1), picQUELB), 1, i, Qt::AlignCenter);
    }
    shpRelayABLED = new Shape(Shape::Kind::Circle, picQUELB);
    shpRelayABLED->setObjectName("shpRelayABLED");
    panel->addWidget(shpRelayABLED, 0, 8, Qt::AlignCenter);
    panel->addWidget(new QLabel("A/B", picQUELB), 1, 8, Qt::AlignCenter);

    relayRemote = new clsRelayRemote(*this, picRemote);
}

frmQUELB::~frmQUELB() = default;

std::string frmQUELB::NotFoundMessage() const {
    return "Device not recognized on serial port " + SelectedDevice().Port + ":";
}

void frmQUELB::ApplyGeneralState(const GeneralReply& reply) {
    if (!reply.relays) return;
    const unsigned states = *reply.relays;
    mABRelayState = (states & kABRelayBit) ? 1 : 0;
    shpRelayABLED->SetFillColor(mABRelayState == 1 ? kLedGreen : kLedGrey);
    for (std::size_t i = 0; i < 8; ++i)
        shpRelayLED[i]->SetFillColor((states & (1u << i)) ? kLedGreen : kLedGrey);
}

void frmQUELB::ApplyDeviceReplies(const ReplySet& replies) {
    clsQUELBProtocol protocol;
    ApplyReplies(replies, protocol);
}

bool frmQUELB::WriteX10Codes(OutputFile* file) {
    clsQUELBProtocol protocol;
    return WriteX10CodesWith(file, protocol);
}

}  // namespace tavo
