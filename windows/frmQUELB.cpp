#include "windows/frmQUELB.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "codes/clsQUELBProtocol.h"
#include "config/modTAVOCfg.h"
#include "link/modCommon.h"
#include "windows/clsRelayRemote.h"

namespace tavo {

namespace {

constexpr const char* kDemoReplies[] = {
    "80000A", "8481FF",                                                                                  //
    "900002", "910006", "920001", "930000", "940004", "950008", "96000C", "970010", "980018", "99001C",  //
    "9A0003", "9B0007", "9C0014", "9D0005", "9E0009", "9F000D", "A00011", "A10019", "A2001D", "A30015",  //
    "A41612", "A51E12", "A69692", "A79E92", "A89292", "A99A92", "AA9192", "AB9992", "AC9592", "AD9D92",  //
    "AE1613", "AF1E13", "B09693", "B19E93", "B29293", "B39A93", "B49193", "B59993", "B69593", "B79D93",
};

}  // namespace

const DeviceWindowTables frmQUELB::kTables = {
    0,
    "TAVO QUELB Device Configuration",
    "TAVO QUELB Device Configuration (modified)",
    "TAVO QUELB Device Configuration (Demo Mode)",
    "TAVO QUELB Device Configuration (Demo Mode) (modified)",
    "E&xit",
    10,
    1,
    "010004",
    "020004",
    "010001",
    "020001",
    12,
    "010008",
    "020008",
    "010002",
    "020002",
    kDemoReplies,
    1,
    false,
};

frmQUELB::frmQUELB(QWidget* parent)
    : frmDeviceWindow(kTables, parent),
      cboIRGroupOn(irColumns_[0].group),
      cboIRKeyOn(irColumns_[0].key),
      cboIRGroupOff(irColumns_[1].group),
      cboIRKeyOff(irColumns_[1].key),
      cboX10House(x10Columns_[0].house),
      cboX10Unit(x10Columns_[0].unit) {
    // Entry 0 is "All Relays": a code it shares with another function is refused.
    irRoleA_ = 0;
    irRoleB_ = 1;
    refuseEntry0_ = true;
    x10CheckRef_ = 0;
    x10CheckOther_ = 0;
    // One address per entry, written with "ON" and with "OFF"; the "OFF" replies repeat it.
    x10Registers_ = {{&x10Columns_[0], 0x24, "ON", true}, {&x10Columns_[0], 0x2E, "OFF", false}};

    std::vector<std::string> rows = {"All Relays", "A/B Relay"};
    for (int r = 1; r <= 8; ++r) rows.push_back("Relay #" + std::to_string(r));
    BuildCodePages(rows, {{0, "On"}, {1, "Off"}}, {{0, ""}}, "On/Off");

    auto* panel = new QGridLayout(picQUELB);
    for (int i = 0; i < 8; ++i) {
        shpRelayLED[static_cast<std::size_t>(i)] = new Shape(Shape::Kind::Circle, picQUELB);
        panel->addWidget(shpRelayLED[static_cast<std::size_t>(i)], 0, i, Qt::AlignCenter);
        panel->addWidget(new QLabel(QString::number(i + 1), picQUELB), 1, i, Qt::AlignCenter);
    }
    shpRelayABLED = new Shape(Shape::Kind::Circle, picQUELB);
    panel->addWidget(shpRelayABLED, 0, 8, Qt::AlignCenter);
    panel->addWidget(new QLabel("A/B", picQUELB), 1, 8, Qt::AlignCenter);

    relayRemote = new clsRelayRemote(*this);
}

frmQUELB::~frmQUELB() = default;

std::string frmQUELB::NotFoundMessage() const {
    return "Device not recognized on serial port " + SelectedDevice().Port + ":";
}

std::vector<std::string> frmQUELB::GeneralSettingsLines() const {
    const int ir = CheckValue(chkEnableIR);
    const int x10 = CheckValue(chkEnableX10);
    // The monitor bits (4 and 1) are always cleared.
    const int set = (ir == 1 ? 8 : 0) + (x10 == 1 ? 2 : 0);
    const int clear = (ir == 0 ? 8 : 0) + (x10 == 0 ? 2 : 0) + 4 + 1;
    return {"01000" + HexPad(static_cast<std::int16_t>(set), 1),
            "02000" + HexPad(static_cast<std::int16_t>(clear), 1)};
}

bool frmQUELB::ApplyGeneralReply(const std::string& code, const std::string& entry) {
    if (code == "80") {
        const auto v = HexValue(entry.substr(entry.size() - 1));
        if (entry.size() < 3 || !v) {
            LogIfDebugging("Unknown response from device: (" + entry + ")");
            return true;
        }
        SetCheckValue(chkEnableIR, (*v & 8) ? 1 : 0);
        SetCheckValue(chkMonitorIR, (*v & 4) ? 1 : 0);
        SetCheckValue(chkEnableX10, (*v & 2) ? 1 : 0);
        SetCheckValue(chkMonitorX10, (*v & 1) ? 1 : 0);
        return true;
    }
    if (code == "84") {
        const auto v = entry.size() >= 5 ? HexValue(entry.substr(entry.size() - 3)) : std::nullopt;
        if (!v) {
            LogIfDebugging("Unknown response from device: (" + entry + ")");
            return true;
        }
        mABRelayState = (*v & 0x100) ? 1 : 0;
        shpRelayABLED->SetFillColor(mABRelayState == 1 ? kLedGreen : kLedGrey);
        for (std::size_t i = 0; i < 8; ++i)
            shpRelayLED[i]->SetFillColor((*v & (1u << i)) ? kLedGreen : kLedGrey);
        return true;
    }
    return false;
}

void frmQUELB::ApplyDeviceReplies(const ReplySet& replies) {
    clsQUELBProtocol protocol;
    ApplyReplies(replies, protocol);
}

bool frmQUELB::WriteX10Codes(const std::optional<std::string>& file) {
    clsQUELBProtocol protocol;
    return WriteX10CodesWith(file, protocol);
}

}  // namespace tavo
