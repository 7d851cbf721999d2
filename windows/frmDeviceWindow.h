#pragma once
// The frame that the two device configuration windows share (frmQUELB for the
// relay controller, frmZIM8x8 for the matrix switch). A model's window adds
// its captions, the layout of its code lists, its model state and its remote
// tab; what the device itself is (register map, command words, demo replies)
// comes from its description in codes/.
//
// The frame's procedures are kept in files by what they do:
//   frmDeviceWindow.cpp        load, first read, close and unload
//   DeviceWindowHandlers.cpp   menus, tab strip and settings controls
//   DeviceWindowState.cpp      busy, monitoring and modified state, pointer, status bar, monitor list
//   DeviceWindowLayout.cpp     building the controls
//   DeviceWindowReplies.cpp    applying the device's replies to the controls
//   SettingsWriters.cpp        writing settings to the device or a settings file
//   CommandFileRun.cpp         running a command file
//   DuplicateCodeMarks.cpp     the duplicate-code checks on the code lists (rules in DuplicateCodes)
//
// The controls belong to the window and its collaborators (the monitor, the
// remote tabs); from outside they are found by their object names, which are
// their control names (DeviceWindowLayout.h).

#include <QDialog>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/KeyedCollection.h"
#include "windows/CommonDialog.h"
#include "windows/DeviceWindowLayout.h"
#include "windows/DeviceWindowTables.h"

namespace tavo {

class clsCmdQueue;
class clsComPort;
class clsDeviceMonitor;
class clsDeviceProtocol;
class OutputFile;
struct DeviceInstance;
struct DeviceModel;
struct GeneralReply;

using ReplySet = KeyedCollection<std::string>;

class frmDeviceWindow : public QDialog, protected DeviceWindowControls {
    Q_OBJECT

  public:
    ~frmDeviceWindow() override;

    const DeviceModel& Model() const { return *tables_.model; }

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
    bool WriteGeneralSettings(OutputFile* file = nullptr);
    bool WriteIRCodes(OutputFile* file = nullptr);
    virtual bool WriteX10Codes(OutputFile* file = nullptr) = 0;
    bool SendOrPrintCommand(const std::string& command, OutputFile* fileNumber = nullptr);
    bool CheckDuplicateIRCodes();
    bool CheckDuplicateX10Codes();

    // --- Control handlers ---
    void chkDiagnosticMode_Click();
    void chkEnableIR_Click();
    void chkEnableX10_Click();
    void CodeList_Click();  // every code list

    // The IR and X-10 monitor (owned by the window).
    clsDeviceMonitor& Monitor() const { return *monitor_; }

  protected:
    // Builds the frame; the model's constructor lays out its code lists with
    // BuildCodePages and builds its remote tab.
    frmDeviceWindow(const DeviceWindowTables& tables, QWidget* parent);

    void BuildCodePages(const std::vector<std::string>& rowCaptions,
                        const std::vector<CodeColumnLayout>& irDisplay,
                        const std::vector<CodeColumnLayout>& x10Display, const std::string& x10RowMark);

    // --- The model's parts ---
    virtual std::string NotFoundMessage() const = 0;
    // The model's own part of a general register reply (relay states, routing).
    virtual void ApplyGeneralState(const GeneralReply& reply) = 0;
    // The routing table that the general settings are written with (matrix only).
    virtual std::span<const std::int16_t> RoutingTable() const { return {}; }
    // After the replies are applied at the first read (matrix: shows input 1's routing).
    virtual void AfterFirstReadApplied() {}
    // First step of the close request (matrix: cancels a pending remote selection).
    virtual void BeforeCloseRequest() {}

    // The shared reply application and X-10 writer, with the model's protocol object.
    void ApplyReplies(const ReplySet& replies, clsDeviceProtocol& protocol);
    bool WriteX10CodesWith(OutputFile* file, clsDeviceProtocol& protocol);
    void LogUnknownReply(const std::string& entry);
    void LogIfDebugging(const std::string& text);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

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
    static constexpr const char* kCommunicating = "Communicating with device, please wait...";
    static constexpr const char* kFileFilter = "Text Files (*.txt) | *.txt";

    // How a command file run ended: not run (nothing was sent), stopped by a
    // close, at a write the device did not take (settings only), or at its end.
    enum class RunEnd { NotRun, Stopped, WriteFailed, AtEnd };
    // settings: a file loaded to be sent, checked before anything goes.
    RunEnd RunCommandFile(const std::string& file, ReplySet& replies, bool settings);
    // Form_Activate; false when its read was stopped by a close or left reads unanswered.
    bool Activate();

    void ConnectControls();
    void SetMonitoring(bool& monitoring, bool flag, const char* text, QWidget* settings, QWidget* otherPage);
    void EnableBoxClicked(const QCheckBox* box, const char* onWord, const char* offWord);
    void HideForStartUpLoop(bool reselect);
    void StopTrace();
    void SendMonitorOffs();
    bool ApplyGeneralReply(const std::string& entry);
    // Applies a reply of the IR and X-10 code registers; false when its code is
    // none of them or the reply cannot be decoded.
    bool ApplyCodeReply(const std::string& code, const std::string& entry, clsDeviceProtocol& protocol);
    int EntryOfReply(const std::string& code, int first) const;
    std::vector<std::string> GeneralSettingsLines() const;
    bool WriteLines(OutputFile* file, const std::vector<std::string>& lines);

    const DeviceWindowTables& tables_;
    std::unique_ptr<ICommonDialog> CommonDialog1;
    clsDeviceMonitor* monitor_ = nullptr;
    int currentTab_ = 0;
    bool closeConfirmed_ = false;  // the close request has run and let the window go
    bool queryingUnload_ = false;  // a close request is running
    bool unloaded_ = false;
    bool activationQueued_ = false;
};

}  // namespace tavo
