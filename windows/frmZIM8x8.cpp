#include "windows/frmZIM8x8.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QTimer>
#include <QVBoxLayout>

#include "codes/ZIM8x8Model.h"
#include "codes/clsZIM8x8Protocol.h"
#include "config/modTAVOCfg.h"
#include "windows/clsMatrixRemote.h"

namespace tavo {

const DeviceWindowTables frmZIM8x8::kTables = {
    .model = &kZIM8x8Model,
    .captionPlain = "TAVO ZIM-8x8 Device Configuration",
    .captionModified = "TAVO ZIM-8x8 Device Configuration (modified)",
    .captionDemo = "TAVO ZIM-8x8 Device Configuration (Demo Mode)",
    .captionDemoModified = "TAVO ZIM-8x8 Device Configuration (Demo Mode) (modified)",
    .exitCaption = "E&xit Application",
    .loadingClearedAtLoad = true,
};

frmZIM8x8::frmZIM8x8(QWidget* parent) : frmDeviceWindow(kTables, parent) {
    // IR column 0 holds the outputs' codes (registers 10-17), column 1 the inputs' (18-1F);
    // X-10 column 0 the outputs' addresses, column 1 the inputs'.
    std::vector<std::string> rows;
    for (int r = 1; r <= 8; ++r) rows.push_back("#" + std::to_string(r));
    BuildCodePages(
        rows, {{1, "INPUT", "cboIRGroupIN", "cboIRKeyIN"}, {0, "OUTPUT", "cboIRGroupOUT", "cboIRKeyOUT"}},
        {{0, "OUTPUT", "cboX10HouseOUT", "cboX10UnitOUT"}, {1, "INPUT", "cboX10HouseIN", "cboX10UnitIN"}},
        "");

    fraShowRouting = new QGroupBox("Show Routing", fraRTControl);
    fraShowRouting->setObjectName("fraShowRouting");
    auto* options = new QGridLayout(fraShowRouting);
    for (int i = 0; i < 8; ++i) {
        auto* option = new QRadioButton("Input #" + QString::number(i + 1), fraShowRouting);
        option->setObjectName(ArrayElementName("optShowRouting", i));
        optShowRouting[static_cast<std::size_t>(i)] = option;
        options->addWidget(option, i / 4, i % 4);
        connect(option, &QRadioButton::clicked, this, [this, i] { emit optShowRouting_Click(i); });
    }
    if (auto* column = qobject_cast<QVBoxLayout*>(fraRTControl->layout())) column->addWidget(fraShowRouting);

    tmrRemoteSelect = new QTimer(this);
    tmrRemoteSelect->setObjectName("tmrRemoteSelect");
    tmrRemoteSelect->setInterval(100);
    tmrFlashRemote = new QTimer(this);
    tmrFlashRemote->setObjectName("tmrFlashRemote");
    tmrFlashRemote->setInterval(250);

    matrixRemote = new clsMatrixRemote(*this, picRemote, picQUELB);
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

void frmZIM8x8::ApplyGeneralState(const GeneralReply& reply) {
    for (std::size_t o = 0; o < mRouting.size(); ++o)
        if (reply.routing[o]) mRouting[o] = static_cast<std::int16_t>(*reply.routing[o]);
}

void frmZIM8x8::ApplyDeviceReplies(const ReplySet& replies) {
    clsZIM8x8Protocol protocol;
    ApplyReplies(replies, protocol);
}

bool frmZIM8x8::WriteX10Codes(OutputFile* file) {
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
