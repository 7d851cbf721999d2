#include "config/frmSelectDevice.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <limits>
#include <string>
#include <vector>

#include "config/ProductLogo.h"
#include "config/QtMousePointer.h"
#include "config/modTAVOCfg.h"
#include "link/DevicePortFileWriter.h"
#include "link/InputFile.h"
#include "link/MessageBox.h"
#include "link/PortMap.h"
#include "link/PortProbe.h"
#include "link/TraceFile.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "portlist/PortListLoader.h"

namespace tavo {

using namespace modTAVOCfg;

namespace {

// Ports above this number are listed by the system but never probed.
constexpr int kHighestProbedPort = 16;

// The scan's trace names ports as listed and ends no line with an empty one;
// identification checks the device again, and only configured devices count.
const PortProbePolicy kScanPolicy{
    .portAsListed = true,
    .lineEnd = "",
    .checkAgainBeforeIdentify = true,
    .traceInUse = false,
    .accepts = [](const std::string& type) { return FindConfiguredDevice(type) >= 0; }};

// The port number of a device port file line: the port's text from its fourth
// character, trimmed; -1 when that is no 16-bit whole number.
int PortNumberOfLine(const std::string& port) {
    if (port.size() <= 3) return -1;
    const int n = PortNumberOf(port.substr(0, 3) + TrimBlanks(std::string_view(port).substr(3)));
    return n <= std::numeric_limits<std::int16_t>::max() ? n : -1;
}

// Puts entry at index count of the device table, growing it when count is past its end.
void PlaceInstance(std::size_t count, DeviceInstance entry) {
    if (count < gDeviceInstances.size())
        gDeviceInstances[count] = std::move(entry);
    else
        gDeviceInstances.push_back(std::move(entry));
}

// The table as a scan or the file reading starts it: one entry, not valid.
void RestartInstances() { gDeviceInstances.assign(1, DeviceInstance{}); }

}  // namespace

frmSelectDevice::frmSelectDevice(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSelectDevice");
    setWindowTitle(kProgramTitle);

    picLogo = new QLabel(this);
    picLogo->setObjectName("picLogo");
    picLogo->setPixmap(ProductLogo());
    picLogo->setAlignment(Qt::AlignTop);

    fraDevice = new QGroupBox("Devices", this);
    fraDevice->setObjectName("fraDevice");
    lblSelectDevice = new QLabel("Select device:", fraDevice);
    lblSelectDevice->setObjectName("lblSelectDevice");
    cboDevice = new QComboBox(fraDevice);
    cboDevice->setObjectName("cboDevice");
    cboDevice->setEditable(false);
    cboDevice->setMinimumContentsLength(24);
    cmdScan = new QPushButton("Scan", fraDevice);
    cmdScan->setObjectName("cmdScan");
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(cboDevice, 1);
    deviceRow->addWidget(cmdScan);
    auto* deviceLayout = new QVBoxLayout(fraDevice);
    deviceLayout->addWidget(lblSelectDevice);
    deviceLayout->addLayout(deviceRow);

    fraDebugFlags = new QGroupBox("Debug Flags", this);
    fraDebugFlags->setObjectName("fraDebugFlags");
    chkInfoFile = new QCheckBox("Com Information File", fraDebugFlags);
    chkInfoFile->setObjectName("chkInfoFile");
    chkFeedbackFile = new QCheckBox("Feedback File", fraDebugFlags);
    chkFeedbackFile->setObjectName("chkFeedbackFile");
    chkDebugFile = new QCheckBox("Debug File", fraDebugFlags);
    chkDebugFile->setObjectName("chkDebugFile");
    auto* flagsLayout = new QVBoxLayout(fraDebugFlags);
    flagsLayout->addWidget(chkInfoFile);
    flagsLayout->addWidget(chkFeedbackFile);
    flagsLayout->addWidget(chkDebugFile);

    cmdOkay = new QPushButton("&OK", this);
    cmdOkay->setObjectName("cmdOkay");
    cmdOkay->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdOkay);
    buttonRow->addWidget(cmdCancel);

    statusBar = new QStatusBar(this);
    statusBar->setObjectName("statusBar");
    statusBar->setSizeGripEnabled(false);
    statusPanel1_ = new QLabel("Ready", statusBar);
    statusBar->addWidget(statusPanel1_, 1);

    auto* body = new QHBoxLayout;
    body->addWidget(picLogo);
    auto* column = new QVBoxLayout;
    column->addWidget(fraDevice);
    column->addWidget(fraDebugFlags);
    column->addLayout(buttonRow);
    body->addLayout(column, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* padded = new QVBoxLayout;
    padded->setContentsMargins(9, 9, 9, 0);
    padded->addLayout(body);
    outer->addLayout(padded);
    outer->addWidget(statusBar);

    connect(cmdScan, &QPushButton::clicked, this, [this] { cmdScan_Click(); });
    connect(cmdOkay, &QPushButton::clicked, this, [this] { cmdOkay_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(chkDebugFile, &QCheckBox::stateChanged, this, [this] { chkDebugFile_Click(); });
    connect(chkFeedbackFile, &QCheckBox::stateChanged, this, [this] { chkFeedbackFile_Click(); });
    connect(chkInfoFile, &QCheckBox::stateChanged, this, [this] { chkInfoFile_Click(); });
}

void frmSelectDevice::Form_Load() {
    SetMousePointer(kHourglassPointer);
    SetStatusText("Initializing, please stand-by...");
    gReselectDevice = false;

    // A file that exists but cannot be opened counts as missing: scan instead.
    PortFileResult read = FileExists(gDevicePortFile) ? ReadDevicePortFile() : PortFileResult::CannotOpen;
    switch (read) {
        case PortFileResult::Read:
            FillDeviceList();
            InitDeviceList();
            break;
        case PortFileResult::InvalidDevice:
            // The list stays empty until a scan; the check boxes keep their start state.
            SetMousePointer(kDefaultPointer);
            SetStatusText("Ready");
            ShowMessage("Error", "An invalid device type was found in your configuration file.",
                        MsgIcon::Critical);
            return;
        case PortFileResult::CannotOpen:
            show();
            QCoreApplication::processEvents();
            cmdScan_Click();
            hide();
            break;
    }

    chkDebugFile->setCheckState(Qt::Unchecked);
    chkFeedbackFile->setCheckState(Qt::Unchecked);
    chkInfoFile->setCheckState(Qt::Unchecked);
}

frmSelectDevice::PortFileResult frmSelectDevice::ReadDevicePortFile() {
    // A regular file or a pipe that delivers in time; a device, or a pipe
    // nobody writes to, counts as missing.
    InputFile in(gDevicePortFile);
    if (!in.IsOpen()) return PortFileResult::CannotOpen;
    RestartInstances();
    std::size_t count = 0;

    std::string line;
    while (in.ReadLine(line)) {
        std::string text = TrimBlanks(line);
        // ";" opens a comment to the end of the line.
        if (std::size_t semicolon = text.find(';'); semicolon != std::string::npos)
            text = TrimBlanks(std::string_view(text).substr(0, semicolon));
        if (text.empty()) continue;
        const std::size_t comma = text.find(',');
        if (comma == std::string::npos) continue;

        const std::string name = TrimBlanks(std::string_view(text).substr(0, comma));
        const std::string port = TrimBlanks(std::string_view(text).substr(comma + 1));
        // A port without a number cannot be opened: the line is skipped like one without a comma.
        const int number = PortNumberOfLine(port);
        if (number < 0) continue;

        const int match = FindConfiguredDevice(name);
        if (match < 0) return PortFileResult::InvalidDevice;
        PlaceInstance(count++, MakeDeviceInstance(gDevices[static_cast<std::size_t>(match)], port,
                                                  static_cast<std::int16_t>(number)));
    }
    return PortFileResult::Read;
}

void frmSelectDevice::FillDeviceList() {
    for (std::size_t i = 0; i < gDeviceInstances.size(); ++i) {
        const DeviceInstance& entry = gDeviceInstances[i];
        if (!entry.Valid) continue;
        cboDevice->addItem(QString::fromStdString(entry.Config.Name + ", on " + entry.Port));
        cboDevice->setItemData(cboDevice->count() - 1, static_cast<int>(i));
    }
}

void frmSelectDevice::InitDeviceList() {
    setWindowTitle(kProgramTitle);
    gDemoMode = cboDevice->count() == 0;
    if (gDemoMode) {
        setWindowTitle(QString(kProgramTitle) + " (Demo Mode)");
        gDeviceInstances.clear();
        for (const DeviceConfig& device : gDevices)
            gDeviceInstances.push_back(MakeDeviceInstance(device, "COM0", 0));
        FillDeviceList();
    }
    cboDevice->setCurrentIndex(0);
    cmdOkay->setEnabled(true);
    SetStatusText(gDemoMode ? "Ready (Demo Mode)" : "Ready");
    SetMousePointer(kDefaultPointer);
}

void frmSelectDevice::cmdScan_Click() {
    // The serial waits let window events through; a second scan must not start
    // while the first holds the device port file open.
    if (scanning_) return;
    scanning_ = true;
    cmdScan->setEnabled(false);
    RunScan();
    cmdScan->setEnabled(true);
    scanning_ = false;
}

void frmSelectDevice::RunScan() {
    SetMousePointer(kHourglassPointer);
    SetStatusText("Scanning for devices, please stand-by...");
    cboDevice->clear();

    std::vector<std::string> ports;
    if (PortListLoader::ProgramLibrary().GetComPortSlots(ports) < 0) {
        ShowMessage("Error", PortListFailureText(), MsgIcon::Critical);
        SetStatusText("Ready");
        SetMousePointer(kDefaultPointer);
        return;
    }

    // The earlier file stays until the new list stands whole. One that cannot
    // be written is reported; the devices are still listed.
    DevicePortFileWriter list;
    if (!list.Open(gDevicePortFile))
        ShowMessage("File Error",
                    "Unable to open the device port file (" + gDevicePortFile + ") for writing!\r\n\r\n" +
                        list.ErrorText(),
                    MsgIcon::Critical);

    clsComPort port(EchoRule::EmptyBufferFirst);
    const bool tracing = gDebugMode && StartTrace(port, gAppLogFile, true);

    RestartInstances();
    bool warned = false;
    std::size_t count = 0;

    for (const std::string& name : ports) {
        if (name.empty()) continue;
        if (PortNumberOf(name) > kHighestProbedPort) {
            if (!warned) {
                ShowMessage("Warning",
                            "You have one or more serial ports greater than COM16.  "
                            "Devices are not currently supported on serial ports "
                            "higher than COM16 and will not be probed.",
                            MsgIcon::Information);
                warned = true;
            }
            continue;
        }
        const PortProbeResult probed = ProbePort(port, name, kScanPolicy);
        using Outcome = PortProbeResult::Outcome;
        // Identification ran: the serial waits may have changed the pointer meanwhile.
        if (probed.outcome == Outcome::NoReply || probed.outcome == Outcome::Identified)
            SetMousePointer(kHourglassPointer);
        if (probed.outcome != Outcome::Identified) continue;
        const int match = FindConfiguredDevice(probed.type);
        PlaceInstance(count++, MakeDeviceInstance(gDevices[static_cast<std::size_t>(match)], name,
                                                  static_cast<std::int16_t>(probed.number)));
        list.Add(probed.type, name);
    }

    if (!list.Finish())
        ShowMessage(
            "File Error",
            "Unable to write the device port file (" + gDevicePortFile + ")!\r\n\r\n" + list.ErrorText(),
            MsgIcon::Critical);
    port.StopDebug();
    if (tracing) TraceWritten(port, gAppLogFile);
    port.ClosePort();

    FillDeviceList();
    SetStatusText("Ready");
    SetMousePointer(kDefaultPointer);
    InitDeviceList();
}

void frmSelectDevice::cmdOkay_Click() {
    // With nothing listed there is nothing to choose: OK does nothing.
    const int index = cboDevice->currentIndex();
    if (index < 0) return;
    gSelectedDevice = cboDevice->itemData(index).toInt();
    hide();
}

void frmSelectDevice::cmdCancel_Click() {
    gReselectDevice = false;
    close();
}

void frmSelectDevice::chkDebugFile_Click() { gDebugFileEnabled = chkDebugFile->checkState() == Qt::Checked; }

void frmSelectDevice::chkFeedbackFile_Click() {
    gFeedbackFileEnabled = chkFeedbackFile->checkState() == Qt::Checked;
}

void frmSelectDevice::chkInfoFile_Click() { gCInfoFileEnabled = chkInfoFile->checkState() == Qt::Checked; }

void frmSelectDevice::SetStatusText(const QString& text) { statusPanel1_->setText(text); }

QString frmSelectDevice::StatusText() const { return statusPanel1_->text(); }

void frmSelectDevice::SetMousePointer(std::int16_t pointer) { SetWidgetMousePointer(*this, pointer); }

void frmSelectDevice::closeEvent(QCloseEvent* event) {
    // Hidden, never unloaded: the list and the check boxes outlive each showing.
    hide();
    event->ignore();
}

void frmSelectDevice::reject() { cmdCancel_Click(); }

}  // namespace tavo
