#include "windows/frmDeviceWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QTabWidget>
#include <QTimer>

#include "codes/DeviceModel.h"
#include "codes/clsCInfoFile.h"
#include "config/QtMousePointer.h"
#include "config/modTAVOCfg.h"
#include "link/CommandFileRunner.h"
#include "link/MessageBox.h"
#include "link/TraceFile.h"
#include "link/clsCmdQueue.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "link/modWinAPI.h"
#include "windows/clsDeviceMonitor.h"

namespace tavo {

frmDeviceWindow::frmDeviceWindow(const DeviceWindowTables& tables, QWidget* parent)
    : QDialog(parent), tables_(tables) {
    setModal(true);
    setWindowTitle(tables_.captionPlain);
    CommonDialog1 = MakeCommonDialog(this);
    BuildFrame(*this, *this, tables_.exitCaption, Model().entryCount, Model().x10ColumnCount);
    ConnectControls();
    monitor_ = new clsDeviceMonitor(*this, *this);
}

frmDeviceWindow::~frmDeviceWindow() { Form_Unload(); }

void frmDeviceWindow::BuildCodePages(const std::vector<std::string>& rowCaptions,
                                     const std::vector<CodeColumnLayout>& irDisplay,
                                     const std::vector<CodeColumnLayout>& x10Display,
                                     const std::string& x10RowMark) {
    tavo::BuildCodePages(*this, rowCaptions, irDisplay, x10Display, x10RowMark);
}

// ---------------------------------------------------------------------------
// Program-wide state

const DeviceInstance& frmDeviceWindow::SelectedDevice() {
    static const DeviceInstance kNone;
    const auto index = modTAVOCfg::gSelectedDevice;
    if (index < 0 || static_cast<std::size_t>(index) >= modTAVOCfg::gDeviceInstances.size()) return kNone;
    return modTAVOCfg::gDeviceInstances[static_cast<std::size_t>(index)];
}

bool frmDeviceWindow::DemoMode() { return modTAVOCfg::gDemoMode; }

void frmDeviceWindow::LogIfDebugging(const std::string& text) {
    if (modTAVOCfg::gDebugFileEnabled && mComPort) mComPort->LogMessage(text);
}

// ---------------------------------------------------------------------------
// Lifecycle

void frmDeviceWindow::Form_Load() {
    using namespace modTAVOCfg;
    const DeviceInstance& device = SelectedDevice();
    gReselectDevice = false;

    mLoading = true;
    mDeviceUsable = true;
    mSettingsRead = false;
    mBusy = false;
    mDiagnosticMode = true;

    mCmdQueue = std::make_unique<clsCmdQueue>();
    mComPort = std::make_unique<clsComPort>(EchoRule::EmptyBufferFirst);

    // A file of this window that would take the place of another file is not
    // written: the user goes back to the chooser to switch it off or mend the
    // configuration.
    if (const std::string same = DeviceFileCollision(device); !same.empty()) {
        mDeviceUsable = false;
        mComPort.reset();
        gReselectDevice = true;
        ShowMessage("File Error", same, MsgIcon::Critical);
        return;
    }

    if (gDebugFileEnabled) {
        StartTrace(*mComPort, device.DebugFile, true);
        mComPort->LogMessage("Device: " + device.Config.Name + " on serial port " + device.Port);
        if (gFeedbackFileEnabled) mComPort->LogMessage("Feedback file: " + device.FeedbackFile);
        if (gCInfoFileEnabled) mComPort->LogMessage("Com information file: " + device.CInfoFile);
    }

    if (!gDemoMode) {
        mComPort->SetComPort(device.PortNumber);
        mComPort->SetConnectOptions(9600, "N", 8, 1);
        if (!mComPort->OpenPort()) {
            mDeviceUsable = false;
            // The trace keeps the load's lines; releasing the port closes it.
            mComPort.reset();
            gReselectDevice = true;
            ShowMessage("Error", "Error opening communications port!", MsgIcon::Critical);
            return;
        }
        if (!mComPort->CanSeeDevice()) {
            const std::string message = NotFoundMessage();
            if (gDebugFileEnabled) {
                mComPort->LogMessage(message);
                StopTrace();
            }
            mComPort->ClosePort();
            mComPort.reset();
            mDeviceUsable = false;
            gReselectDevice = true;
            ShowMessage("Error", message, MsgIcon::Critical);
            return;
        }
    }
    if (gDebugFileEnabled) mComPort->LogMessage("A device was found.");

    const std::int16_t keptPointer = SetMousePointer(kHourglassPointer);
    SetStatusText("Initializing, please wait...");

    tabMain->setCurrentIndex(0);
    FillCodeLists(*this);

    const bool enableMonitors = !gDemoMode;
    setWindowTitle(gDemoMode ? tables_.captionDemo : tables_.captionPlain);
    fraIRMonitor->setEnabled(enableMonitors);
    chkMonitorIR->setEnabled(enableMonitors);
    fraX10Monitor->setEnabled(enableMonitors);
    chkMonitorX10->setEnabled(enableMonitors);

    if (tables_.loadingClearedAtLoad) mLoading = false;

    SetStatusText(gDemoMode ? "Ready (Demo Mode)" : "Ready");
    SetMousePointer(keptPointer);
}

void frmDeviceWindow::Form_Activate() { Activate(); }

bool frmDeviceWindow::Activate() {
    using namespace modTAVOCfg;
    if (!mDeviceUsable) {
        HideForStartUpLoop(true);
        return false;
    }
    const std::int16_t keptPointer = SetMousePointer(kHourglassPointer);
    std::size_t unanswered = 0, reads = 0;
    if (!mSettingsRead) {
        const DeviceInstance& device = SelectedDevice();
        SetStatusText(kCommunicating);

        ReplySet replies;
        if (!gDemoMode) {
            // A window closed during the read is gone: nothing is applied or shown.
            if (RunCommandFile(device.Config.InitCmdsFile, replies, false) == RunEnd::Stopped) {
                SetMousePointer(keptPointer);
                return false;
            }
        } else {
            for (const char* word : Model().demoReplies) replies.Add(word, std::string(word).substr(0, 2));
        }

        if (gCInfoFileEnabled) {
            clsCInfoFile report;
            report.SetFormatType(device.Config.DeviceType == 0   ? clsCInfoFile::kQUELBFormat
                                 : device.Config.DeviceType == 1 ? clsCInfoFile::kZIM8x8Format
                                                                 : 0);
            report.SetFilename(device.CInfoFile);
            for (const auto& entry : replies) report.AddCommand(entry.item, true);
            report.OutputData();
        }

        reads = replies.Count();
        for (const auto& entry : replies) unanswered += entry.item == kNoResponseMark;
        ApplyDeviceReplies(replies);
        SendMonitorOffs();
        AfterFirstReadApplied();
        SetModified(false);
        if (!tables_.loadingClearedAtLoad) mLoading = false;
        mSettingsRead = true;
    }
    SetStatusText(gDemoMode ? "Ready (Demo Mode)" : "Ready");
    SetMousePointer(keptPointer);
    // The controls of a setting that was not read keep their defaults; written
    // back with Apply, they would replace what the device holds.
    if (unanswered > 0)
        ShowMessage("Device Error",
                    "The device did not answer " + std::to_string(unanswered) + " of the " +
                        std::to_string(reads) +
                        " reads of its settings.\r\n\r\nThe values shown for those settings are not "
                        "the device's: check the connection, then select the device again to read it anew.",
                    MsgIcon::Exclamation);
    return unanswered == 0;
}

// A monitor mode the device reports on is switched off; in demo mode only the box changes.
void frmDeviceWindow::SendMonitorOffs() {
    if (chkMonitorIR->checkState() == Qt::Checked) {
        if (!DemoMode() && mComPort) mComPort->SendCmdString(Model().irMonitorOff, true);
        chkMonitorIR->setCheckState(Qt::Unchecked);
    }
    if (chkMonitorX10->checkState() == Qt::Checked) {
        if (!DemoMode() && mComPort) mComPort->SendCmdString(Model().x10MonitorOff, true);
        chkMonitorX10->setCheckState(Qt::Unchecked);
    }
}

void frmDeviceWindow::Form_QueryUnload(bool& Cancel) {
    // A second request while this one waits (the close box pressed again during the
    // monitor's 500 ms) is dropped: the first one asks and decides.
    if (queryingUnload_) {
        Cancel = true;
        return;
    }
    queryingUnload_ = true;
    BeforeCloseRequest();
    if (mMonitoringIR) {
        chkMonitorIR->setCheckState(Qt::Unchecked);
        Delay(500, true);
    } else if (mMonitoringX10) {
        chkMonitorX10->setCheckState(Qt::Unchecked);
        Delay(500, true);
    }
    if (!DemoMode() && mModified) {
        const MsgResult answer = ShowMessage(
            "Abandon changes?", "Your changes have not been saved to the device.\r\nContinue closing?",
            MsgIcon::Question, MsgButtons::YesNo, MsgResult::No);
        if (answer == MsgResult::No) Cancel = true;
    }
    queryingUnload_ = false;
}

// Ends the debug trace and tells the user when it could not be written whole.
void frmDeviceWindow::StopTrace() {
    if (!mComPort->IsDebugging()) return;
    mComPort->StopDebug();
    TraceWritten(*mComPort, SelectedDevice().DebugFile);
}

void frmDeviceWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (mComPort) {
        if (modTAVOCfg::gDebugFileEnabled) StopTrace();
        if (mComPort->IsPortOpen()) mComPort->ClosePort();
        mComPort.reset();
    }
    mCmdQueue.reset();
}

// The window hands control back to the start-up loop. The close request runs
// here, before hiding, so that a No to "Abandon changes?" keeps the window
// working instead of leaving it loaded but hidden.
void frmDeviceWindow::HideForStartUpLoop(bool reselect) {
    if (!closeConfirmed_ && mDeviceUsable) {
        bool cancel = false;
        Form_QueryUnload(cancel);
        if (cancel) return;
    }
    closeConfirmed_ = true;
    modTAVOCfg::gReselectDevice = reselect;
    QDialog::done(QDialog::Rejected);
}

void frmDeviceWindow::closeEvent(QCloseEvent* event) {
    if (!closeConfirmed_) {
        bool cancel = false;
        Form_QueryUnload(cancel);
        if (cancel) {
            event->ignore();
            return;
        }
        closeConfirmed_ = true;
    }
    event->accept();
    QDialog::done(QDialog::Rejected);
}

// Escape does not close a device window.
void frmDeviceWindow::reject() {}

void frmDeviceWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activationQueued_) return;
    activationQueued_ = true;
    // After the modal loop has started, so that a hide returns from it.
    QTimer::singleShot(0, this, [this] {
        activationQueued_ = false;
        if (isVisible()) Form_Activate();
    });
}

}  // namespace tavo
