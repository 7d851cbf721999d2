#pragma once
// The device chooser: lists the devices of the device port file (or those a
// port scan finds), enters demo mode when there is nothing to list, carries the
// three file switches of the device windows, and records the user's choice in
// modTAVOCfg::gSelectedDevice. It is loaded once and only ever hidden, so its
// list, selection and check boxes survive from one showing to the next.

#include <QDialog>
#include <QString>
#include <cstdint>

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;

namespace tavo {

class frmSelectDevice : public QDialog {
    Q_OBJECT

  public:
    explicit frmSelectDevice(QWidget* parent = nullptr);

    // The load step, run once before the first showing: lists the device port
    // file's devices, or scans when there is no such file.
    void Form_Load();

    // The port scan: finds the configured devices on the serial ports, rewrites
    // the device port file and lists them (demo mode when none is found).
    void cmdScan_Click();
    void cmdOkay_Click();
    void cmdCancel_Click();
    void chkDebugFile_Click();
    void chkFeedbackFile_Click();
    void chkInfoFile_Click();

    // Decides demo mode, fills the demo list, selects the first entry and
    // makes the window ready.
    void InitDeviceList();
    void SetStatusText(const QString& text);
    QString StatusText() const;

    QGroupBox* fraDevice;
    QLabel* lblSelectDevice;
    QComboBox* cboDevice;
    QPushButton* cmdScan;
    QGroupBox* fraDebugFlags;
    QCheckBox* chkInfoFile;
    QCheckBox* chkFeedbackFile;
    QCheckBox* chkDebugFile;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;
    QLabel* picLogo;
    QStatusBar* statusBar;

  protected:
    // The close box (and Cancel): hide, never unload.
    void closeEvent(QCloseEvent* event) override;
    // Esc presses Cancel.
    void reject() override;

  private:
    enum class PortFileResult { Read, CannotOpen, InvalidDevice };

    PortFileResult ReadDevicePortFile();
    void FillDeviceList();
    void RunScan();
    void SetMousePointer(std::int16_t pointer);

    QLabel* statusPanel1_;
    bool scanning_ = false;
};

}  // namespace tavo
