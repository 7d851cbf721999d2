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
    .captionPlain = "TAVO QUELB Device Configuration",
    .captionModified = "TAVO QUELB Device Configuration (modified)",
    .captionDemo = "TAVO QUELB Device Configuration (Demo Mode)",
    .captionDemoModified = "TAVO QUELB Device Configuration (Demo Mode) (modified)",
    .exitCaption = "E&xit",
    .entryCount = 10,
    .x10ColumnCount = 1,
    .irMonitorOn = "010004",
    .irMonitorOff = "020004",
    .x10MonitorOn = "010001",
    .x10MonitorOff = "020001",
    .x10MessageLength = 12,
    .enableIROn = "010008",
    .enableIROff = "020008",
    .enableX10On = "010002",
    .enableX10Off = "020002",
    .demoReplies = kDemoReplies,
    .loadingClearedAtLoad = false,
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
    if (code != "80" && code != "84") return false;
    // Flags: the last digit; relay states: the last three. A reply without them is
    // logged as unknown and changes nothing.
    const std::size_t digits = code == "80" ? 1 : 3;
    const auto v = entry.size() >= 2 + digits ? HexValue(entry.substr(entry.size() - digits)) : std::nullopt;
    if (!v) {
        LogUnknownReply(entry);
        return true;
    }
    if (code == "80") {
        SetCheckValue(chkEnableIR, (*v & 8) ? 1 : 0);
        SetCheckValue(chkMonitorIR, (*v & 4) ? 1 : 0);
        SetCheckValue(chkEnableX10, (*v & 2) ? 1 : 0);
        SetCheckValue(chkMonitorX10, (*v & 1) ? 1 : 0);
        return true;
    }
    mABRelayState = (*v & 0x100) ? 1 : 0;
    shpRelayABLED->SetFillColor(mABRelayState == 1 ? kLedGreen : kLedGrey);
    for (std::size_t i = 0; i < 8; ++i) shpRelayLED[i]->SetFillColor((*v & (1u << i)) ? kLedGreen : kLedGrey);
    return true;
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
