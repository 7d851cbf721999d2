#include "windows/frmDeviceWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "codes/clsCInfoFile.h"
#include "codes/clsDeviceProtocol.h"
#include "config/QtMousePointer.h"
#include "config/frmAbout.h"
#include "config/modTAVOCfg.h"
#include "link/MessageBox.h"
#include "link/UiHooks.h"
#include "link/clsCmdQueue.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "link/modWinAPI.h"
#include "windows/clsDeviceMonitor.h"

namespace tavo {

namespace {

constexpr const char* kFileFilter = "Text Files (*.txt) | *.txt";
constexpr const char* kCommunicating = "Communicating with device, please wait...";
constexpr const char* kNoResponseMark = "****";

// Colours of a code list, as the windows name them (0x00BBGGRR; the top bit
// names a system colour).
constexpr std::uint32_t kNormalFore = 0x80000008;
constexpr std::uint32_t kNormalBack = 0x80000005;
constexpr std::uint32_t kMarkedFore = 0xFFFFFF;
constexpr std::uint32_t kMarkedBack = 0x0000FF;

void SetListColors(QComboBox* list, bool marked) {
    list->setProperty("ForeColor", static_cast<uint>(marked ? kMarkedFore : kNormalFore));
    list->setProperty("BackColor", static_cast<uint>(marked ? kMarkedBack : kNormalBack));
    if (marked)
        list->setStyleSheet("QComboBox { color: #FFFFFF; background-color: #FF0000; }");
    else
        list->setStyleSheet(QString());
}

int ListNumber(const QComboBox* list) { return list->currentText().toInt(); }

std::string ErrorDescription(int err) { return err ? std::strerror(err) : "Unknown error"; }

}  // namespace

frmDeviceWindow::frmDeviceWindow(const DeviceWindowTables& tables, QWidget* parent)
    : QDialog(parent), tables_(tables) {
    setModal(true);
    setWindowTitle(tables_.captionPlain);
    CommonDialog1 = MakeCommonDialog(this);

    auto* top = new QVBoxLayout(this);
    BuildMenus();
    top->setMenuBar(menuBar);

    tabMain = new QTabWidget(this);
    top->addWidget(tabMain, 1);
    BuildPages();

    statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    statusPanel1 = new QLabel(statusBar);
    statusPanel2 = new QLabel(statusBar);
    statusPanel1->setFrameShape(QFrame::Panel);
    statusPanel1->setFrameShadow(QFrame::Sunken);
    statusPanel2->setFrameShape(QFrame::Panel);
    statusPanel2->setFrameShadow(QFrame::Sunken);
    statusBar->addWidget(statusPanel1, 4);
    statusBar->addWidget(statusPanel2, 1);
    top->addWidget(statusBar);

    tmrMonitorIR = new QTimer(this);
    tmrMonitorIR->setInterval(100);
    tmrMonitorX10 = new QTimer(this);
    tmrMonitorX10->setInterval(100);

    // The code lists exist from the start; the load fills them.
    irColumns_.resize(2);
    irColumns_[0].writeBase = 0x10;
    irColumns_[1].writeBase = 0x10 + tables_.entryCount;
    x10Columns_.resize(static_cast<std::size_t>(tables_.x10ColumnCount));
    auto makeList = [this] {
        auto* list = new QComboBox(this);
        list->setProperty("ForeColor", static_cast<uint>(kNormalFore));
        list->setProperty("BackColor", static_cast<uint>(kNormalBack));
        connect(list, &QComboBox::currentIndexChanged, this, [this] { CodeList_Click(); });
        return list;
    };
    for (auto& column : irColumns_)
        for (int i = 0; i < tables_.entryCount; ++i) {
            column.group.push_back(makeList());
            column.key.push_back(makeList());
        }
    for (auto& column : x10Columns_)
        for (int i = 0; i < tables_.entryCount; ++i) {
            column.house.push_back(makeList());
            column.unit.push_back(makeList());
        }

    connect(tabMain, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = currentTab_;
        currentTab_ = index;
        tabMain_Click(static_cast<std::int16_t>(previous));
    });
    connect(chkDiagnosticMode, &QCheckBox::stateChanged, this, [this] { chkDiagnosticMode_Click(); });
    connect(chkEnableIR, &QCheckBox::stateChanged, this, [this] { chkEnableIR_Click(); });
    connect(chkEnableX10, &QCheckBox::stateChanged, this, [this] { chkEnableX10_Click(); });

    monitor = new clsDeviceMonitor(*this);
}

frmDeviceWindow::~frmDeviceWindow() { Form_Unload(); }

void frmDeviceWindow::BuildMenus() {
    menuBar = new QMenuBar(this);
    mnuFile = menuBar->addMenu("&File");
    mnuFileLoad = mnuFile->addAction("&Load Configuration File...");
    mnuFileLoad->setShortcut(QKeySequence("Ctrl+L"));
    mnuFileSaveAs = mnuFile->addAction("&Save Configuration As...");
    mnuFileSaveAs->setShortcut(QKeySequence("Ctrl+S"));
    mnuFileSep1 = mnuFile->addSeparator();
    mnuFileApply = mnuFile->addAction("&Apply Settings to Device");
    mnuFileSep2 = mnuFile->addSeparator();
    mnuFileSelectDevice = mnuFile->addAction("Select New &Device");
    mnuFileExit = mnuFile->addAction(tables_.exitCaption);
    mnuFileExit->setShortcut(QKeySequence("Ctrl+X"));
    mnuHelp = menuBar->addMenu("&Help");
    mnuHelpAbout = mnuHelp->addAction("&About TAVOCFG...");

    connect(mnuFile, &QMenu::aboutToShow, this, [this] { mnuFile_Click(); });
    // A shortcut acts without the menu being opened: the opening rule and the
    // menu's own enabled state are applied first.
    auto guarded = [this](QAction* item, void (frmDeviceWindow::*handler)()) {
        connect(item, &QAction::triggered, this, [this, item, handler] {
            if (!mnuFile->isEnabled()) return;
            mnuFile_Click();
            if (!item->isEnabled()) return;
            (this->*handler)();
        });
    };
    guarded(mnuFileLoad, &frmDeviceWindow::mnuFileLoad_Click);
    guarded(mnuFileSaveAs, &frmDeviceWindow::mnuFileSaveAs_Click);
    guarded(mnuFileApply, &frmDeviceWindow::mnuFileApply_Click);
    guarded(mnuFileSelectDevice, &frmDeviceWindow::mnuFileSelectDevice_Click);
    guarded(mnuFileExit, &frmDeviceWindow::mnuFileExit_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, [this] {
        if (mnuHelp->isEnabled()) mnuHelpAbout_Click();
    });
}

void frmDeviceWindow::BuildPages() {
    static const char* const kCaptions[3] = {"IR Settings", "X-10 Settings", "Control/Monitor"};
    for (int t = 0; t < 3; ++t) {
        panTabPage[t] = new QFrame;
        tabMain->addTab(panTabPage[t], kCaptions[t]);
    }

    // Page 0: IR settings and the IR monitor.
    auto* page0 = new QVBoxLayout(panTabPage[0]);
    fraIRSettings = new QGroupBox(panTabPage[0]);
    chkEnableIR = new QCheckBox("Enable IR Control", fraIRSettings);
    lblIRInstructions = new QLabel(
        "For each of the device's IR functions, you are able to assign an IR group code and key code of your "
        "choice. Simply click on the arrow to the right of each box below to display a list of valid "
        "selections.",
        fraIRSettings);
    lblIRInstructions->setWordWrap(true);
    fraIRMonitor = new QGroupBox(panTabPage[0]);
    chkMonitorIR = new QCheckBox("Monitor IR Signals", fraIRMonitor);
    lblMonitorIRGroup = new QLabel(fraIRMonitor);
    lblMonitorIRKey = new QLabel(fraIRMonitor);
    {
        auto* row = new QHBoxLayout(fraIRMonitor);
        row->addWidget(chkMonitorIR);
        row->addWidget(new QLabel("Group:", fraIRMonitor));
        row->addWidget(lblMonitorIRGroup);
        row->addWidget(new QLabel("Key:", fraIRMonitor));
        row->addWidget(lblMonitorIRKey);
        row->addStretch(1);
    }
    page0->addWidget(fraIRSettings, 1);
    page0->addWidget(fraIRMonitor);

    // Page 1: X-10 settings and the X-10 monitor.
    auto* page1 = new QVBoxLayout(panTabPage[1]);
    fraX10Settings = new QGroupBox(panTabPage[1]);
    chkEnableX10 = new QCheckBox("Enable X-10 Control", fraX10Settings);
    lblX10Instructions = new QLabel(
        "For each of the device's X-10 functions, you are able to assign the X-10 house code and unit code "
        "of "
        "your choice. Simply click on the arrow to the right of each box below to display a list of valid "
        "selections.",
        fraX10Settings);
    lblX10Instructions->setWordWrap(true);
    fraX10Monitor = new QGroupBox(panTabPage[1]);
    chkMonitorX10 = new QCheckBox("Monitor X-10 Signals", fraX10Monitor);
    lblMonitorX10Func = new QLabel(fraX10Monitor);
    lblMonitorX10House = new QLabel(fraX10Monitor);
    lblMonitorX10Unit = new QLabel(fraX10Monitor);
    {
        auto* row = new QHBoxLayout(fraX10Monitor);
        row->addWidget(chkMonitorX10);
        row->addWidget(new QLabel("Function:", fraX10Monitor));
        row->addWidget(lblMonitorX10Func);
        row->addWidget(new QLabel("House:", fraX10Monitor));
        row->addWidget(lblMonitorX10House);
        row->addWidget(new QLabel("Unit:", fraX10Monitor));
        row->addWidget(lblMonitorX10Unit);
        row->addStretch(1);
    }
    page1->addWidget(fraX10Settings, 1);
    page1->addWidget(fraX10Monitor);

    // Page 2: manual control and the communication monitor.
    auto* page2 = new QHBoxLayout(panTabPage[2]);
    fraRTControl = new QGroupBox("Manual Control", panTabPage[2]);
    picRemote = new QFrame(fraRTControl);
    picQUELB = new QFrame(fraRTControl);
    picQUELB->setFrameShape(QFrame::Panel);
    lblRTInstructions = new QLabel(
        "You can manually control the switcher by clicking upon the desired function below.", fraRTControl);
    lblRTInstructions->setWordWrap(true);
    {
        auto* column = new QVBoxLayout(fraRTControl);
        column->addWidget(lblRTInstructions);
        column->addWidget(picQUELB);
        column->addWidget(picRemote, 1);
    }
    fraRTMonitor = new QGroupBox(panTabPage[2]);
    chkDiagnosticMode = new QCheckBox("&Monitor Communication", fraRTMonitor);
    chkDiagnosticMode->setChecked(true);
    lstMonitor = new QListWidget(fraRTMonitor);
    {
        auto* column = new QVBoxLayout(fraRTMonitor);
        column->addWidget(chkDiagnosticMode);
        column->addWidget(lstMonitor, 1);
    }
    page2->addWidget(fraRTControl, 1);
    page2->addWidget(fraRTMonitor, 1);
}

void frmDeviceWindow::BuildCodePages(const std::vector<std::string>& rowCaptions,
                                     const std::vector<std::pair<int, std::string>>& irDisplay,
                                     const std::vector<std::pair<int, std::string>>& x10Display,
                                     const std::string& x10RowMark) {
    auto* ir = new QGridLayout(fraIRSettings);
    ir->addWidget(chkEnableIR, 0, 0, 1, 1 + 2 * static_cast<int>(irDisplay.size()));
    ir->addWidget(lblIRInstructions, 1, 0, 1, 1 + 2 * static_cast<int>(irDisplay.size()));
    int col = 1;
    for (const auto& [index, heading] : irDisplay) {
        ir->addWidget(new QLabel(QString::fromStdString(heading), fraIRSettings), 2, col, 1, 2,
                      Qt::AlignCenter);
        ir->addWidget(new QLabel("Group", fraIRSettings), 3, col);
        ir->addWidget(new QLabel("Key", fraIRSettings), 3, col + 1);
        for (int i = 0; i < tables_.entryCount; ++i) {
            ir->addWidget(irColumns_[static_cast<std::size_t>(index)].group[static_cast<std::size_t>(i)],
                          4 + i, col);
            ir->addWidget(irColumns_[static_cast<std::size_t>(index)].key[static_cast<std::size_t>(i)], 4 + i,
                          col + 1);
        }
        col += 2;
    }
    auto* x10 = new QGridLayout(fraX10Settings);
    const int x10Span = 2 + 2 * static_cast<int>(x10Display.size());
    x10->addWidget(chkEnableX10, 0, 0, 1, x10Span);
    x10->addWidget(lblX10Instructions, 1, 0, 1, x10Span);
    col = 1;
    for (const auto& [index, heading] : x10Display) {
        x10->addWidget(new QLabel(QString::fromStdString(heading), fraX10Settings), 2, col, 1, 2,
                       Qt::AlignCenter);
        x10->addWidget(new QLabel("House", fraX10Settings), 3, col);
        x10->addWidget(new QLabel("Unit", fraX10Settings), 3, col + 1);
        for (int i = 0; i < tables_.entryCount; ++i) {
            x10->addWidget(x10Columns_[static_cast<std::size_t>(index)].house[static_cast<std::size_t>(i)],
                           4 + i, col);
            x10->addWidget(x10Columns_[static_cast<std::size_t>(index)].unit[static_cast<std::size_t>(i)],
                           4 + i, col + 1);
        }
        col += 2;
    }
    for (int i = 0; i < tables_.entryCount; ++i) {
        const auto caption = QString::fromStdString(rowCaptions[static_cast<std::size_t>(i)]);
        ir->addWidget(new QLabel(caption, fraIRSettings), 4 + i, 0);
        x10->addWidget(new QLabel(caption, fraX10Settings), 4 + i, 0);
        if (!x10RowMark.empty())
            x10->addWidget(new QLabel(QString::fromStdString(x10RowMark), fraX10Settings), 4 + i, col);
    }
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

    if (gDebugFileEnabled) {
        mComPort->StartDebug(device.DebugFile, true);
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
                mComPort->StopDebug();
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
    FillCodeLists();

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

void frmDeviceWindow::FillCodeLists() {
    const auto entries = static_cast<std::size_t>(tables_.entryCount);
    for (std::size_t i = 0; i < entries; ++i) {
        std::vector<QComboBox*> lists;
        for (auto& column : irColumns_) {
            lists.push_back(column.group[i]);
            lists.push_back(column.key[i]);
        }
        for (int v = 1; v <= 256; ++v) {
            const QString text = QString::number(v);
            for (auto* list : lists) list->addItem(text);
            if (v % 8 == 0) YieldToUi();
        }
        for (auto* list : lists) list->setCurrentIndex(0);
    }
    for (std::size_t i = 0; i < entries; ++i) {
        for (auto& column : x10Columns_)
            for (char letter = 'A'; letter <= 'P'; ++letter) column.house[i]->addItem(QString(QChar(letter)));
        YieldToUi();
        for (auto& column : x10Columns_)
            for (int unit = 1; unit <= 16; ++unit) column.unit[i]->addItem(QString::number(unit));
        YieldToUi();
        for (auto& column : x10Columns_) {
            column.house[i]->setCurrentIndex(0);
            column.unit[i]->setCurrentIndex(0);
        }
    }
}

void frmDeviceWindow::Form_Activate() {
    using namespace modTAVOCfg;
    if (!mDeviceUsable) {
        HideForStartUpLoop(true);
        return;
    }
    const std::int16_t keptPointer = SetMousePointer(kHourglassPointer);
    if (!mSettingsRead) {
        const DeviceInstance& device = SelectedDevice();
        SetStatusText(kCommunicating);

        ReplySet replies;
        if (!gDemoMode) {
            ProcessCommandFile(device.Config.InitCmdsFile, replies);
        } else {
            for (const char* word : tables_.demoReplies) replies.Add(word, std::string(word).substr(0, 2));
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

        ApplyDeviceReplies(replies);
        SendMonitorOffs();
        AfterFirstReadApplied();
        SetModified(false);
        if (!tables_.loadingClearedAtLoad) mLoading = false;
        mSettingsRead = true;
    }
    SetStatusText(gDemoMode ? "Ready (Demo Mode)" : "Ready");
    SetMousePointer(keptPointer);
}

// A monitor mode the device reports on is switched off; in demo mode only the box changes.
void frmDeviceWindow::SendMonitorOffs() {
    if (chkMonitorIR->checkState() == Qt::Checked) {
        if (!DemoMode() && mComPort) mComPort->SendCmdString(tables_.irMonitorOff, true);
        chkMonitorIR->setCheckState(Qt::Unchecked);
    }
    if (chkMonitorX10->checkState() == Qt::Checked) {
        if (!DemoMode() && mComPort) mComPort->SendCmdString(tables_.x10MonitorOff, true);
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

void frmDeviceWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (mComPort) {
        if (modTAVOCfg::gDebugFileEnabled) mComPort->StopDebug();
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

// ---------------------------------------------------------------------------
// Window state

void frmDeviceWindow::SetBusy(bool flag) {
    if (flag == mBusy) return;
    if (flag) {
        mSavedStatusText = statusPanel1->text().toStdString();
        statusPanel1->setText(kCommunicating);
        mSavedMousePointer = WidgetMousePointer(*this);
        SetWidgetMousePointer(*this, kHourglassPointer);
        mnuFile->setEnabled(false);
        mnuHelp->setEnabled(false);
        tabMain->setEnabled(false);
        mBusy = true;
    } else {
        tabMain->setEnabled(true);
        mnuHelp->setEnabled(true);
        // A monitor that is still on (its stop failed) keeps the File menu locked.
        mnuFile->setEnabled(!mMonitoringIR && !mMonitoringX10);
        statusPanel1->setText(QString::fromStdString(mSavedStatusText));
        SetWidgetMousePointer(*this, mSavedMousePointer);
        mBusy = false;
    }
}

void frmDeviceWindow::AddMonitorLine(const std::string& text) {
    lstMonitor->addItem(QString::fromStdString(text));
    if (lstMonitor->count() > 1000) delete lstMonitor->takeItem(0);
    lstMonitor->setCurrentRow(lstMonitor->count() - 1);
}

void frmDeviceWindow::SetMonitoringIR(bool flag) {
    if (flag == mMonitoringIR) return;
    statusPanel2->setText(flag ? "Monitoring IR" : "");
    fraIRSettings->setEnabled(!flag);
    panTabPage[1]->setEnabled(!flag);
    panTabPage[2]->setEnabled(!flag);
    mnuFile->setEnabled(!flag);
    mMonitoringIR = flag;
}

void frmDeviceWindow::SetMonitoringX10(bool flag) {
    if (flag == mMonitoringX10) return;
    statusPanel2->setText(flag ? "Monitoring X-10" : "");
    fraX10Settings->setEnabled(!flag);
    panTabPage[0]->setEnabled(!flag);
    panTabPage[2]->setEnabled(!flag);
    mnuFile->setEnabled(!flag);
    mMonitoringX10 = flag;
}

void frmDeviceWindow::SetModified(bool flag) {
    mModified = flag;
    if (DemoMode())
        setWindowTitle(flag ? tables_.captionDemoModified : tables_.captionDemo);
    else
        setWindowTitle(flag ? tables_.captionModified : tables_.captionPlain);
}

std::int16_t frmDeviceWindow::SetMousePointer(std::int16_t pointer) {
    IMousePointerHost* host = MousePointerHost();
    if (!host || !host->HasActiveWindow()) return -1;
    const std::int16_t previous = host->MousePointer();
    // A pointer kept while no window was active is no pointer: give the default back.
    host->SetMousePointer(pointer < 0 ? 0 : pointer);
    return previous;
}

void frmDeviceWindow::SetStatusText(const std::string& text) {
    statusPanel1->setText(QString::fromStdString(text));
}

std::string frmDeviceWindow::StatusText(int panel) const {
    return (panel == 2 ? statusPanel2 : statusPanel1)->text().toStdString();
}

int frmDeviceWindow::CheckValue(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void frmDeviceWindow::SetCheckValue(QCheckBox* box, int value) {
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

// ---------------------------------------------------------------------------
// Menus and tab strip

void frmDeviceWindow::mnuFile_Click() {
    if (DemoMode()) {
        mnuFileLoad->setEnabled(false);
        mnuFileApply->setEnabled(false);
    } else {
        mnuFileLoad->setEnabled(true);
        mnuFileApply->setEnabled(mModified);
    }
}

void frmDeviceWindow::mnuFileLoad_Click() {
    CommonDialog1->SetFileName("");
    CommonDialog1->SetFilter(kFileFilter);
    CommonDialog1->ShowOpen();
    const std::string name = CommonDialog1->FileName();
    if (name.empty() || !FileExists(name)) return;

    SetBusy(true);
    ReplySet discarded;
    if (ProcessCommandFile(name, discarded)) {
        mSettingsRead = false;
        Form_Activate();
    }
    mLoading = true;
    SendMonitorOffs();
    mLoading = false;
    SetModified(false);
    SetBusy(false);
}

void frmDeviceWindow::mnuFileSaveAs_Click() { SaveSettingsFile(); }

void frmDeviceWindow::mnuFileApply_Click() {
    if (WriteSettingsToDevice()) SetModified(false);
}

void frmDeviceWindow::mnuFileSelectDevice_Click() { HideForStartUpLoop(true); }

void frmDeviceWindow::mnuFileExit_Click() { HideForStartUpLoop(false); }

void frmDeviceWindow::mnuHelpAbout_Click() {
    ShowAboutBox(this);
    Form_Activate();
}

void frmDeviceWindow::tabMain_Click(std::int16_t PreviousTab) {
    if (PreviousTab == 0 && mMonitoringIR)
        chkMonitorIR->setCheckState(Qt::Unchecked);
    else if (PreviousTab == 1 && mMonitoringX10)
        chkMonitorX10->setCheckState(Qt::Unchecked);
    if (PreviousTab >= 0 && PreviousTab < 3) panTabPage[static_cast<std::size_t>(PreviousTab)]->hide();
    const int now = tabMain->currentIndex();
    if (now >= 0 && now < 3) panTabPage[static_cast<std::size_t>(now)]->show();
}

// ---------------------------------------------------------------------------
// Command-file run

bool frmDeviceWindow::ProcessCommandFile(const std::string& fileIn, ReplySet& replies) {
    using namespace modTAVOCfg;
    const std::string file = TrimBlanks(fileIn);
    if (file.empty()) return false;

    SetBusy(true);
    auto report = [this](const std::string& message) {
        LogIfDebugging(message + "\r\n");
        ShowMessage("File Error", message, MsgIcon::Critical);
    };
    auto fail = [this, &report](const std::string& message) {
        report(message);
        SetBusy(false);
        return false;
    };
    if (!FileExists(file)) return fail("Command file was not found (" + file + ").");
    LogIfDebugging("Processing file: " + file);

    // Only a regular file: a named pipe would block the open until some writer came,
    // and a device would never end.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(file, ec)) in.open(file, std::ios::binary);
    if (!in.is_open()) return fail("Command file could not be read (" + file + ").");

    const DeviceInstance& device = SelectedDevice();
    // A feedback file that cannot be written is reported; the file is run all the same.
    const std::string feedbackError = "Feedback file could not be written (" + device.FeedbackFile + ").";
    std::FILE* feedback = nullptr;
    if (gFeedbackFileEnabled) {
        feedback = device.FeedbackFile.empty() ? nullptr : std::fopen(device.FeedbackFile.c_str(), "wb");
        if (!feedback) report(feedbackError);
    }
    auto writeFeedback = [&feedback](const std::string& line) {
        if (feedback) std::fputs((line + "\r\n").c_str(), feedback);
    };

    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = TrimBlanks(raw);
        if (!line.empty()) {
            const std::size_t start = line[0] == '!' ? 1 : 0;
            const std::string code = line.substr(start, 2);
            if (code < "8") {
                if (mComPort) mComPort->SendCmdString(line, true);
            } else {
                const std::string reply = mComPort ? mComPort->SendCmdStrResponce(line) : std::string();
                if (!reply.empty()) {
                    const std::string word = reply.substr(0, 6);
                    writeFeedback(word);
                    const std::string key = word.substr(0, 2);
                    // A register read twice keeps its latest reply.
                    if (auto* stored = replies.Find(key))
                        *stored = word;
                    else
                        replies.Add(word, key);
                } else {
                    writeFeedback(line + "  No response from device.");
                    LogIfDebugging("No response from device on serial port " + device.Port + ":\r\n");
                    replies.Add(kNoResponseMark);
                }
            }
        }
        YieldToUi();
    }
    const bool readFailed = in.bad();
    bool feedbackFailed = false;
    if (feedback) feedbackFailed = std::ferror(feedback) != 0 || std::fclose(feedback) != 0;
    if (readFailed) return fail("Command file could not be read (" + file + ").");
    if (feedbackFailed) report(feedbackError);
    SetBusy(false);
    return true;
}

// ---------------------------------------------------------------------------
// Reply application

void frmDeviceWindow::ApplyReplies(const ReplySet& replies, clsDeviceProtocol& protocol) {
    mLoading = true;
    for (const auto& stored : replies) {
        const std::string& entry = stored.item;
        const std::string code = entry.substr(0, 2);
        if (!ApplyGeneralReply(code, entry) && !ApplyCodeReply(code, entry, protocol)) LogUnknownReply(entry);
        YieldToUi();
    }
    mLoading = false;
}

// The entry of a code-list register whose reply codes start at first (the
// write code + 80), -1 when code lies outside that range, entryCount when it
// lies inside as text but is no hexadecimal number.
int frmDeviceWindow::EntryOfReply(const std::string& code, int first) const {
    const int n = tables_.entryCount;
    // Ranges are compared as text, as the reply codes are.
    if (code < HexPad(static_cast<std::int16_t>(first), 2) ||
        code > HexPad(static_cast<std::int16_t>(first + n - 1), 2))
        return -1;
    const auto v = HexValue(code);
    return v && *v >= first && *v < first + n ? *v - first : n;
}

bool frmDeviceWindow::ApplyCodeReply(const std::string& code, const std::string& entry,
                                     clsDeviceProtocol& protocol) {
    auto select = [](QComboBox* list, int index) {
        if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
    };
    for (const auto& column : irColumns_) {
        const int i = EntryOfReply(code, column.writeBase + 0x80);
        if (i < 0) continue;
        std::int16_t group = 0;
        std::int16_t key = 0;
        if (i >= tables_.entryCount || !protocol.DecodeIRCommand(entry, group, key)) return false;
        select(column.group[static_cast<std::size_t>(i)], group - 1);
        select(column.key[static_cast<std::size_t>(i)], key - 1);
        return true;
    }
    for (const auto& reg : x10Registers_) {
        const int i = EntryOfReply(code, reg.writeBase + 0x80);
        if (i < 0) continue;
        if (!reg.appliedFromReplies) return true;
        std::string house, unit, func;
        if (i >= tables_.entryCount || !protocol.DecodeX10Command(entry, house, unit, func)) return false;
        if (house.size() == 1) select(reg.column->house[static_cast<std::size_t>(i)], house[0] - 'A');
        if (!unit.empty())
            select(reg.column->unit[static_cast<std::size_t>(i)], QString::fromStdString(unit).toInt() - 1);
        return true;
    }
    return false;
}

void frmDeviceWindow::LogUnknownReply(const std::string& entry) {
    LogIfDebugging("Unknown response from device: (" + entry + ")");
}

// ---------------------------------------------------------------------------
// Writing settings

bool frmDeviceWindow::SendOrPrintCommand(const std::string& command, std::FILE* fileNumber) {
    if (!fileNumber) return mComPort && mComPort->SendCmdString(command, true);
    errno = 0;
    if (std::fputs((command + "\r\n").c_str(), fileNumber) < 0 || std::ferror(fileNumber)) {
        lastFileError_ = ErrorDescription(errno);
        return false;
    }
    return true;
}

// Opens file for appending, hands every line on, and closes it again.
bool frmDeviceWindow::WriteLines(const std::optional<std::string>& file,
                                 const std::vector<std::string>& lines) {
    std::FILE* out = nullptr;
    if (file) {
        errno = 0;
        out = std::fopen(file->c_str(), "ab");
        if (!out) {
            lastFileError_ = ErrorDescription(errno);
            return false;
        }
    }
    bool ok = true;
    for (const auto& line : lines) {
        if (!SendOrPrintCommand(line, out)) {
            ok = false;
            break;
        }
    }
    if (out) {
        errno = 0;
        if (std::fclose(out) != 0 && ok) {
            lastFileError_ = ErrorDescription(errno);
            ok = false;
        }
    }
    return ok;
}

bool frmDeviceWindow::WriteGeneralSettings(const std::optional<std::string>& file) {
    return WriteLines(file, GeneralSettingsLines());
}

bool frmDeviceWindow::WriteIRCodes(const std::optional<std::string>& file) {
    std::vector<std::string> lines;
    for (const auto& column : irColumns_)
        for (std::size_t i = 0; i < column.group.size(); ++i)
            lines.push_back(HexPad(static_cast<std::int16_t>(column.writeBase + static_cast<int>(i)), 2) +
                            HexPad(static_cast<std::int16_t>(ListNumber(column.group[i]) - 1), 2) +
                            HexPad(static_cast<std::int16_t>(ListNumber(column.key[i]) - 1), 2));
    return WriteLines(file, lines);
}

bool frmDeviceWindow::WriteX10CodesWith(const std::optional<std::string>& file, clsDeviceProtocol& protocol) {
    std::vector<std::string> lines;
    for (const auto& reg : x10Registers_)
        for (std::size_t i = 0; i < reg.column->house.size(); ++i)
            lines.push_back(HexPad(static_cast<std::int16_t>(reg.writeBase + static_cast<int>(i)), 2) +
                            protocol.BuildX10String(reg.column->house[i]->currentText().toStdString(),
                                                    reg.column->unit[i]->currentText().toStdString(),
                                                    reg.function));
    return WriteLines(file, lines);
}

bool frmDeviceWindow::WriteSettingsToDevice() {
    if (!CheckDuplicateIRCodes()) return false;
    if (!CheckDuplicateX10Codes()) return false;
    SetBusy(true);
    auto fail = [this](const char* text) {
        ShowMessage("Error Writing Settings", text, MsgIcon::Critical);
        SetBusy(false);
        return false;
    };
    if (!WriteGeneralSettings()) return fail("An error occured writing settings to the device!");
    if (!WriteIRCodes()) return fail("An error occured writing IR settings to the device!");
    if (!WriteX10Codes()) return fail("An error occured writing X-10 settings to the device!");
    SetBusy(false);
    return true;
}

bool frmDeviceWindow::SaveSettingsFile() {
    if (!CheckDuplicateIRCodes()) return false;
    if (!CheckDuplicateX10Codes()) return false;
    CommonDialog1->SetFileName("");
    CommonDialog1->SetFilter(kFileFilter);
    CommonDialog1->ShowSave();
    const std::string name = CommonDialog1->FileName();
    if (name.empty()) return false;
    if (FileExists(name)) {
        if (ShowMessage("Replace file?", "Replace " + name + "?", MsgIcon::Question, MsgButtons::YesNo,
                        MsgResult::No) != MsgResult::Yes)
            return false;
    }
    auto report = [this, &name](const char* what) {
        ShowMessage("Error Writing Settings",
                    std::string("An error occured writing ") + what + "to file (" + name +
                        ")!\r\nError: " + lastFileError_,
                    MsgIcon::Critical);
        return false;
    };
    // The writers append: an old file left in place would keep its lines in front of the new ones.
    errno = 0;
    if (!DeleteFile(name, false)) {
        lastFileError_ = ErrorDescription(errno);
        return report("settings ");
    }
    SetBusy(true);
    SetStatusText("Saving to file, please wait...");
    auto fail = [this, &report](const char* what) {
        report(what);
        SetBusy(false);
        return false;
    };
    if (!WriteGeneralSettings(name)) return fail("settings ");
    if (!WriteIRCodes(name)) return fail("IR settings ");
    if (!WriteX10Codes(name)) return fail("X-10 settings ");
    SetBusy(false);
    return true;
}

// ---------------------------------------------------------------------------
// Duplicate-code checks

void frmDeviceWindow::ClearMarks(const std::vector<QComboBox*>& lists) {
    for (auto* list : lists) SetListColors(list, false);
}

bool frmDeviceWindow::CheckDuplicateIRCodes() { return RunCheck(true); }

bool frmDeviceWindow::CheckDuplicateX10Codes() { return RunCheck(false); }

bool frmDeviceWindow::RunCheck(bool irCheck) {
    const auto n = static_cast<std::size_t>(tables_.entryCount);
    bool refused = false;
    bool asked = false;
    auto note = [&](std::size_t i, std::size_t j) {
        if (refuseEntry0_ && (i == 0 || j == 0))
            refused = true;
        else
            asked = true;
    };
    auto mark = [](QComboBox* first, QComboBox* second) {
        SetListColors(first, true);
        SetListColors(second, true);
    };
    auto same = [](QComboBox* a1, QComboBox* a2, QComboBox* b1, QComboBox* b2) {
        return a1->currentText() == b1->currentText() && a2->currentText() == b2->currentText();
    };

    if (irCheck) {
        for (const auto& column : irColumns_) {
            ClearMarks(column.group);
            ClearMarks(column.key);
        }
        const IRCodeColumn& a = irColumns_[static_cast<std::size_t>(irRoleA_)];
        const IRCodeColumn& b = irColumns_[static_cast<std::size_t>(irRoleB_)];
        // Each role is taken as the reference once; the other role is compared
        // at every index, the own role at every other index.
        for (const auto* ref : {&a, &b}) {
            const IRCodeColumn* other = ref == &a ? &b : &a;
            for (std::size_t i = 0; i < n; ++i) {
                for (std::size_t j = 0; j < n; ++j) {
                    if (j != i && same(ref->group[j], ref->key[j], ref->group[i], ref->key[i])) {
                        mark(ref->group[j], ref->key[j]);
                        note(i, j);
                    }
                }
                for (std::size_t j = 0; j < n; ++j) {
                    if (same(other->group[j], other->key[j], ref->group[i], ref->key[i])) {
                        mark(other->group[j], other->key[j]);
                        note(i, j);
                    }
                }
            }
        }
    } else {
        for (const auto& column : x10Columns_) {
            ClearMarks(column.house);
            ClearMarks(column.unit);
        }
        const X10AddressColumn& ref = x10Columns_[static_cast<std::size_t>(x10CheckRef_)];
        const X10AddressColumn& other = x10Columns_[static_cast<std::size_t>(x10CheckOther_)];
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (j != i && same(other.house[j], other.unit[j], ref.house[i], ref.unit[i])) {
                    mark(other.house[j], other.unit[j]);
                    mark(ref.house[i], ref.unit[i]);
                    note(i, j);
                }
    }

    if (refused) {
        ShowMessage(
            "Duplicate Codes",
            "You have used the code assigned to an \rAll On/All Off function for another function.\r"
            "The duplicate codes are highlighted in red. Please\rcorrect the problem before attempting "
            "to save the\rsettings.",
            MsgIcon::Critical);
        tabMain->setCurrentIndex(irCheck ? 0 : 1);
        return false;
    }
    if (asked) {
        const std::string first = irCheck ? "You have used the same IR code for multiple relays"
                                          : "You have used the same X-10 code for multiple relays";
        return ShowMessage("Duplicate Codes",
                           first +
                               "\rDuplicates are highlighted in red. If you would like \rto keep these "
                               "selections, press OK. If you would like\rto correct them, press Cancel.",
                           MsgIcon::Exclamation, MsgButtons::OkCancel, MsgResult::Cancel) == MsgResult::Ok;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Control handlers

void frmDeviceWindow::CodeList_Click() {
    if (!mLoading) SetModified(true);
}

void frmDeviceWindow::chkDiagnosticMode_Click() { mDiagnosticMode = CheckValue(chkDiagnosticMode) == 1; }

void frmDeviceWindow::chkEnableIR_Click() {
    if (mLoading) return;
    const int v = CheckValue(chkEnableIR);
    if (v == 1 && mCmdQueue) mCmdQueue->Push(tables_.enableIROn);
    if (v == 0 && mCmdQueue) mCmdQueue->Push(tables_.enableIROff);
    SetModified(true);
}

void frmDeviceWindow::chkEnableX10_Click() {
    if (mLoading) return;
    const int v = CheckValue(chkEnableX10);
    if (v == 1 && mCmdQueue) mCmdQueue->Push(tables_.enableX10On);
    if (v == 0 && mCmdQueue) mCmdQueue->Push(tables_.enableX10Off);
    SetModified(true);
}

}  // namespace tavo
