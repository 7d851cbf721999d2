// The device windows' state: busy, monitoring and modified, the caption, the
// mouse pointer, the status bar and the monitor list.

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>

#include "config/QtMousePointer.h"
#include "link/UiHooks.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

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
    SetMonitoring(mMonitoringIR, flag, "Monitoring IR", fraIRSettings, panTabPage[1]);
}

void frmDeviceWindow::SetMonitoringX10(bool flag) {
    SetMonitoring(mMonitoringX10, flag, "Monitoring X-10", fraX10Settings, panTabPage[0]);
}

// While one monitor runs, its own settings, the other settings page, the
// remote page and the File menu are locked.
void frmDeviceWindow::SetMonitoring(bool& monitoring, bool flag, const char* text, QWidget* settings,
                                    QWidget* otherPage) {
    if (flag == monitoring) return;
    statusPanel2->setText(flag ? text : "");
    settings->setEnabled(!flag);
    otherPage->setEnabled(!flag);
    panTabPage[2]->setEnabled(!flag);
    mnuFile->setEnabled(!flag);
    monitoring = flag;
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

}  // namespace tavo
