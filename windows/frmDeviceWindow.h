#pragma once
// The frame that the two device configuration windows share (frmQUELB for the
// relay controller, frmZIM8x8 for the matrix switch): pages and controls,
// window state, load, first read, close and unload, menus and tab strip, the
// command-file run, reply application, writing settings, duplicate-code checks
// and the control handlers. A model's window adds only its tables, its general
// registers and its remote tab.
//
// Controls and state flags are public and carry the names the windows have
// always used, so the remote-tab and monitor parts and the tests reach them
// directly. State flags are written only by the procedures that own them.

#include <QDialog>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/HexText.h"
#include "link/KeyedCollection.h"
#include "windows/CommonDialog.h"
#include "windows/DeviceWindowTables.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace tavo {

class clsCmdQueue;
class clsComPort;
class clsDeviceMonitor;
class clsDeviceProtocol;
struct DeviceInstance;

using ReplySet = KeyedCollection<std::string>;
template <typename T>
using ControlArray = std::vector<T*>;

// One IR code per entry: a group list and a key list, written to registers
// writeBase + i and read back under reply codes writeBase + 0x80 + i.
struct IRCodeColumn {
    ControlArray<QComboBox> group;
    ControlArray<QComboBox> key;
    int writeBase = 0;
};

// One X-10 address per entry: a house list and a unit list.
struct X10AddressColumn {
    ControlArray<QComboBox> house;
    ControlArray<QComboBox> unit;
};

// One X-10 register range: the address column it holds, the function written
// with it, and whether its replies set the lists.
struct X10Register {
    const X10AddressColumn* column;
    int writeBase;
    const char* function;  // "ON" or "OFF"
    bool appliedFromReplies;
};

class frmDeviceWindow : public QDialog {
    Q_OBJECT

  public:
    ~frmDeviceWindow() override;

    const DeviceWindowTables& Tables() const { return tables_; }

    // --- Lifecycle (the start-up loop and the tests drive these) ---
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(bool& Cancel);
    void Form_Unload();

    // --- Window state (read directly; written through the procedures below) ---
    clsComPort* ComPort() const { return mComPort.get(); }
    clsCmdQueue* CmdQueue() const { return mCmdQueue.get(); }
    bool DeviceUsable() const { return mDeviceUsable; }
    bool Loading() const { return mLoading; }
    bool SettingsRead() const { return mSettingsRead; }
    bool Busy() const { return mBusy; }
    bool DiagnosticMode() const { return mDiagnosticMode; }
    bool Modified() const { return mModified; }
    bool MonitoringIR() const { return mMonitoringIR; }
    bool MonitoringX10() const { return mMonitoringX10; }
    // The selected device instance and demo mode of the program-wide state.
    static const DeviceInstance& SelectedDevice();
    static bool DemoMode();

    // --- State procedures ---
    void SetBusy(bool flag);
    void AddMonitorLine(const std::string& text);
    void SetMonitoringIR(bool flag);
    void SetMonitoringX10(bool flag);
    void SetModified(bool flag);
    // Pointer of the application's active window; returns the one it had, -1 without one.
    std::int16_t SetMousePointer(std::int16_t pointer);
    void SetStatusText(const std::string& text);
    std::string StatusText(int panel) const;  // panel 1 or 2

    // Check-box values as the windows count them: 0 clear, 1 ticked, 2 grey.
    static int CheckValue(const QCheckBox* box);
    static void SetCheckValue(QCheckBox* box, int value);

    // --- Menus and tab strip ---
    void mnuFile_Click();
    void mnuFileLoad_Click();
    void mnuFileSaveAs_Click();
    void mnuFileApply_Click();
    void mnuFileSelectDevice_Click();
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    void tabMain_Click(std::int16_t PreviousTab);

    // --- Device work ---
    bool ProcessCommandFile(const std::string& file, ReplySet& replies);
    virtual void ApplyDeviceReplies(const ReplySet& replies) = 0;
    bool WriteSettingsToDevice();
    bool SaveSettingsFile();
    bool WriteGeneralSettings(const std::optional<std::string>& file = std::nullopt);
    bool WriteIRCodes(const std::optional<std::string>& file = std::nullopt);
    virtual bool WriteX10Codes(const std::optional<std::string>& file = std::nullopt) = 0;
    bool SendOrPrintCommand(const std::string& command, std::FILE* fileNumber = nullptr);
    bool CheckDuplicateIRCodes();
    bool CheckDuplicateX10Codes();

    // --- Control handlers ---
    void chkDiagnosticMode_Click();
    void chkEnableIR_Click();
    void chkEnableX10_Click();
    void CodeList_Click();  // every code list

    // The file dialog (tests replace it).
    void SetCommonDialog(std::unique_ptr<ICommonDialog> dialog) { CommonDialog1 = std::move(dialog); }

    // --- Controls ---
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileLoad = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileSep1 = nullptr;
    QAction* mnuFileApply = nullptr;
    QAction* mnuFileSep2 = nullptr;
    QAction* mnuFileSelectDevice = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;

    QStatusBar* statusBar = nullptr;
    QLabel* statusPanel1 = nullptr;  // status text
    QLabel* statusPanel2 = nullptr;  // monitoring state
    std::unique_ptr<ICommonDialog> CommonDialog1;

    QTimer* tmrMonitorIR = nullptr;   // 100 ms, starts disabled
    QTimer* tmrMonitorX10 = nullptr;  // 100 ms, starts disabled

    QTabWidget* tabMain = nullptr;
    std::array<QFrame*, 3> panTabPage{};

    // Tab 0 "IR Settings"
    QGroupBox* fraIRSettings = nullptr;
    QCheckBox* chkEnableIR = nullptr;
    QLabel* lblIRInstructions = nullptr;
    QGroupBox* fraIRMonitor = nullptr;
    QCheckBox* chkMonitorIR = nullptr;
    QLabel* lblMonitorIRGroup = nullptr;
    QLabel* lblMonitorIRKey = nullptr;

    // Tab 1 "X-10 Settings"
    QGroupBox* fraX10Settings = nullptr;
    QCheckBox* chkEnableX10 = nullptr;
    QLabel* lblX10Instructions = nullptr;
    QGroupBox* fraX10Monitor = nullptr;
    QCheckBox* chkMonitorX10 = nullptr;
    QLabel* lblMonitorX10Func = nullptr;
    QLabel* lblMonitorX10House = nullptr;
    QLabel* lblMonitorX10Unit = nullptr;

    // Tab 2 "Control/Monitor"
    QGroupBox* fraRTControl = nullptr;
    QFrame* picRemote = nullptr;  // the remote buttons
    QFrame* picQUELB = nullptr;   // the front-panel picture with its LEDs
    QLabel* lblRTInstructions = nullptr;
    QGroupBox* fraRTMonitor = nullptr;
    QCheckBox* chkDiagnosticMode = nullptr;
    QListWidget* lstMonitor = nullptr;

    // The IR and X-10 monitor (owned by the window).
    clsDeviceMonitor* monitor = nullptr;

  protected:
    // Builds the controls; the model's constructor adds its code lists with
    // AddIRColumns/AddX10Columns and then calls FinishControls.
    frmDeviceWindow(const DeviceWindowTables& tables, QWidget* parent);

    // Code-list columns, in writing order; the duplicate check's roles A and B.
    std::vector<IRCodeColumn> irColumns_;
    std::vector<X10AddressColumn> x10Columns_;
    std::vector<X10Register> x10Registers_;
    int irRoleA_ = 0;
    int irRoleB_ = 1;
    bool refuseEntry0_ = false;  // relay: a duplicate of "All Relays" is refused
    // X-10 check: addresses of x10CheckRef_ compared with those of x10CheckOther_.
    int x10CheckRef_ = 0;
    int x10CheckOther_ = 0;

    // Lays out the code-list pages: row captions and column headings.
    // Each display entry names a column (by index) and its heading, in display order.
    void BuildCodePages(const std::vector<std::string>& rowCaptions,
                        const std::vector<std::pair<int, std::string>>& irDisplay,
                        const std::vector<std::pair<int, std::string>>& x10Display,
                        const std::string& x10RowMark);

    // Model parts of the lifecycle and the writers.
    virtual std::vector<std::string> GeneralSettingsLines() const = 0;
    // Applies a reply of the model's general registers; false when code is none of them.
    virtual bool ApplyGeneralReply(const std::string& code, const std::string& entry) = 0;
    virtual std::string NotFoundMessage() const = 0;
    // After the replies are applied at the first read (matrix: shows input 1's routing).
    virtual void AfterFirstReadApplied() {}
    // First step of the close request (matrix: cancels a pending remote selection).
    virtual void BeforeCloseRequest() {}

    // The shared reply application, with the model's protocol object.
    void ApplyReplies(const ReplySet& replies, clsDeviceProtocol& protocol);
    void LogUnknownReply(const std::string& entry);
    bool WriteX10CodesWith(const std::optional<std::string>& file, clsDeviceProtocol& protocol);
    void LogIfDebugging(const std::string& text);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void BuildMenus();
    void BuildPages();
    void FillCodeLists();
    void UpdateFileMenuRule();
    bool RunCheck(bool irCheck);
    void ClearMarks(const std::vector<QComboBox*>& lists);
    void HideForStartUpLoop(bool reselect);
    void SendMonitorOffs();
    int EntryOfReply(const std::string& code, int first) const;
    // Applies a reply of the IR and X-10 code registers; false when code is none
    // of them or the reply cannot be decoded.
    bool ApplyCodeReply(const std::string& code, const std::string& entry, clsDeviceProtocol& protocol);
    bool WriteLines(const std::optional<std::string>& file, const std::vector<std::string>& lines);

    const DeviceWindowTables& tables_;

  protected:
    // Window-level state.
    std::unique_ptr<clsComPort> mComPort;
    std::unique_ptr<clsCmdQueue> mCmdQueue;
    bool mDeviceUsable = true;
    bool mLoading = true;
    bool mSettingsRead = false;
    bool mBusy = false;
    bool mDiagnosticMode = true;
    bool mModified = false;
    bool mMonitoringIR = false;
    bool mMonitoringX10 = false;
    std::string mSavedStatusText;
    std::int16_t mSavedMousePointer = 0;

  private:
    int currentTab_ = 0;
    bool closeConfirmed_ = false;  // the close request has run and let the window go
    bool queryingUnload_ = false;  // a close request is running
    bool unloaded_ = false;
    bool activationQueued_ = false;
    std::string lastFileError_;  // description of the file error that stopped a writer
};

}  // namespace tavo
