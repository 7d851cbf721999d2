#include "windows/frmZIM8x8.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QTimer>
#include <QVBoxLayout>

#include "codes/clsZIM8x8Protocol.h"
#include "config/modTAVOCfg.h"
#include "link/modCommon.h"
#include "windows/clsMatrixRemote.h"

namespace tavo {

namespace {

constexpr const char* kDemoReplies[] = {
    "811234", "825678", "8C1010",                                                    //
    "908001", "918000", "928004", "938008", "94800C", "958010", "968018", "97801C",  //
    "988003", "998007", "9A800B", "9B800F", "9C8013", "9D801B", "9E801F", "9F8017",  //
    "A09692", "A19E92", "A29292", "A39A92", "A49192", "A59992", "A69592", "A79D92",  //
    "A89693", "A99E93", "AA9293", "AB9A93", "AC9193", "AD9993", "AE9593", "AF9D93",
};

}  // namespace

const DeviceWindowTables frmZIM8x8::kTables = {
    .captionPlain = "TAVO ZIM-8x8 Device Configuration",
    .captionModified = "TAVO ZIM-8x8 Device Configuration (modified)",
    .captionDemo = "TAVO ZIM-8x8 Device Configuration (Demo Mode)",
    .captionDemoModified = "TAVO ZIM-8x8 Device Configuration (Demo Mode) (modified)",
    .exitCaption = "E&xit Application",
    .entryCount = 8,
    .x10ColumnCount = 2,
    .irMonitorOn = "060000",
    .irMonitorOff = "070000",
    .x10MonitorOn = "0A0000",
    .x10MonitorOff = "0B0000",
    .x10MessageLength = 6,
    .enableIROn = "040000",
    .enableIROff = "050000",
    .enableX10On = "080000",
    .enableX10Off = "090000",
    .demoReplies = kDemoReplies,
    .loadingClearedAtLoad = true,
};

frmZIM8x8::frmZIM8x8(QWidget* parent)
    : frmDeviceWindow(kTables, parent),
      cboIRGroupIN(irColumns_[1].group),
      cboIRKeyIN(irColumns_[1].key),
      cboIRGroupOUT(irColumns_[0].group),
      cboIRKeyOUT(irColumns_[0].key),
      cboX10HouseIN(x10Columns_[1].house),
      cboX10UnitIN(x10Columns_[1].unit),
      cboX10HouseOUT(x10Columns_[0].house),
      cboX10UnitOUT(x10Columns_[0].unit) {
    // Registers 10-17 hold the outputs' IR codes, 18-1F the inputs'.
    irRoleA_ = 1;
    irRoleB_ = 0;
    refuseEntry0_ = false;
    // Output-select addresses are compared with input-select addresses only.
    x10CheckRef_ = 0;
    x10CheckOther_ = 1;
    x10Registers_ = {{&x10Columns_[0], 0x20, "ON", true}, {&x10Columns_[1], 0x28, "OFF", true}};

    std::vector<std::string> rows;
    for (int r = 1; r <= 8; ++r) rows.push_back("#" + std::to_string(r));
    BuildCodePages(rows, {{1, "INPUT"}, {0, "OUTPUT"}}, {{0, "OUTPUT"}, {1, "INPUT"}}, "");

    fraShowRouting = new QGroupBox("Show Routing", fraRTControl);
    auto* options = new QGridLayout(fraShowRouting);
    for (int i = 0; i < 8; ++i) {
        auto* option = new QRadioButton("Input #" + QString::number(i + 1), fraShowRouting);
        optShowRouting[static_cast<std::size_t>(i)] = option;
        options->addWidget(option, i / 4, i % 4);
        connect(option, &QRadioButton::clicked, this, [this, i] { emit optShowRouting_Click(i); });
    }
    if (auto* column = qobject_cast<QVBoxLayout*>(fraRTControl->layout())) column->addWidget(fraShowRouting);

    tmrRemoteSelect = new QTimer(this);
    tmrRemoteSelect->setInterval(100);
    tmrFlashRemote = new QTimer(this);
    tmrFlashRemote->setInterval(250);

    matrixRemote = new clsMatrixRemote(*this);
}

frmZIM8x8::~frmZIM8x8() = default;

std::string frmZIM8x8::NotFoundMessage() const {
    const DeviceInstance& device = SelectedDevice();
    return "The " + device.Config.Name + " device was not found or recognized on serial port " + device.Port +
           ":";
}

void frmZIM8x8::SelectShowRouting(int index) {
    if (index < 0 || index >= 8) return;
    optShowRouting[static_cast<std::size_t>(index)]->setChecked(true);
    emit optShowRouting_Click(index);
}

std::vector<std::string> frmZIM8x8::GeneralSettingsLines() const {
    // One digit per output: the input number 1 to 8 (0 for none). A digit the
    // device reported beyond 8 goes back as the same hexadecimal digit, so that
    // the line keeps its six characters.
    auto routing = [this](std::size_t from) {
        std::string digits;
        for (std::size_t o = from; o < from + 4; ++o)
            digits += HexPad(static_cast<std::int16_t>((mRouting[o] + 1) & 0xF), 1);
        return digits;
    };
    return {"01" + routing(0), "02" + routing(4),
            std::string("0C") + (CheckValue(chkEnableIR) == 1 ? "1" : "0") + "0" +
                (CheckValue(chkEnableX10) == 1 ? "1" : "0") + "0"};
}

bool frmZIM8x8::ApplyGeneralReply(const std::string& code, const std::string& entry) {
    if (code == "81" || code == "82") {
        // Characters 3 to 6 feed outputs 1-4 ("81") or 5-8 ("82"); a digit that is
        // missing or not hexadecimal leaves its output's routing as it was.
        const std::size_t firstOutput = code == "81" ? 0 : 4;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto v = entry.size() > 2 + k ? HexValue(entry.substr(2 + k, 1)) : std::nullopt;
            if (v) mRouting[firstOutput + k] = static_cast<std::int16_t>(static_cast<int>(*v) - 1);
        }
        return true;
    }
    if (code == "8C") {
        QCheckBox* boxes[4] = {chkEnableIR, chkMonitorIR, chkEnableX10, chkMonitorX10};
        for (std::size_t k = 0; k < 4; ++k)
            if (entry.size() > 2 + k) SetCheckValue(boxes[k], entry[2 + k] == '0' ? 0 : 1);
        return true;
    }
    return false;
}

void frmZIM8x8::ApplyDeviceReplies(const ReplySet& replies) {
    clsZIM8x8Protocol protocol;
    ApplyReplies(replies, protocol);
}

bool frmZIM8x8::WriteX10Codes(const std::optional<std::string>& file) {
    clsZIM8x8Protocol protocol;
    return WriteX10CodesWith(file, protocol);
}

void frmZIM8x8::AfterFirstReadApplied() { SelectShowRouting(0); }

void frmZIM8x8::BeforeCloseRequest() {
    if (!mInputPending && !mOutputPending) return;
    mInputPending = false;
    mOutputPending = false;
    tmrRemoteSelect->stop();
    tmrFlashRemote->stop();
    emit RemoteSelectionCancelledByClose();
}

}  // namespace tavo
