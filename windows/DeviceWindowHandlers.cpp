// What the device windows do when the user works their menus, tab strip and
// settings controls.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QMenu>
#include <QTabWidget>

#include "codes/DeviceModel.h"
#include "config/frmAbout.h"
#include "link/clsCmdQueue.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

void frmDeviceWindow::ConnectControls() {
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

    connect(tabMain, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = currentTab_;
        currentTab_ = index;
        tabMain_Click(static_cast<std::int16_t>(previous));
    });
    connect(chkDiagnosticMode, &QCheckBox::stateChanged, this, [this] { chkDiagnosticMode_Click(); });
    connect(chkEnableIR, &QCheckBox::stateChanged, this, [this] { chkEnableIR_Click(); });
    connect(chkEnableX10, &QCheckBox::stateChanged, this, [this] { chkEnableX10_Click(); });

    auto connectLists = [this](const ControlArray<QComboBox>& lists) {
        for (QComboBox* list : lists)
            connect(list, &QComboBox::currentIndexChanged, this, [this] { CodeList_Click(); });
    };
    for (const auto& column : irColumns) {
        connectLists(column.group);
        connectLists(column.key);
    }
    for (const auto& column : x10Columns) {
        connectLists(column.house);
        connectLists(column.unit);
    }
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
    const RunEnd sent = RunCommandFile(name, discarded, true);
    // The device is read again only when the whole file went to it.
    bool read = false;
    if (sent == RunEnd::AtEnd) {
        mSettingsRead = false;
        read = Activate();
    }
    mLoading = true;
    SendMonitorOffs();
    mLoading = false;
    // The window matches the device only when the file went whole and the device
    // was read back whole; else Apply and the close question still stand. A file
    // that was not sent at all leaves the window as it was.
    if (sent != RunEnd::NotRun) SetModified(!read);
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
// Control handlers

void frmDeviceWindow::CodeList_Click() {
    if (!mLoading) SetModified(true);
}

void frmDeviceWindow::chkDiagnosticMode_Click() { mDiagnosticMode = CheckValue(chkDiagnosticMode) == 1; }

void frmDeviceWindow::chkEnableIR_Click() {
    EnableBoxClicked(chkEnableIR, Model().enableIROn, Model().enableIROff);
}

void frmDeviceWindow::chkEnableX10_Click() {
    EnableBoxClicked(chkEnableX10, Model().enableX10On, Model().enableX10Off);
}

// A grey box queues nothing but still marks the window modified.
void frmDeviceWindow::EnableBoxClicked(const QCheckBox* box, const char* onWord, const char* offWord) {
    if (mLoading) return;
    const int v = CheckValue(box);
    if (v == 1 && mCmdQueue) mCmdQueue->Push(onWord);
    if (v == 0 && mCmdQueue) mCmdQueue->Push(offWord);
    SetModified(true);
}

}  // namespace tavo
