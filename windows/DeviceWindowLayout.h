#pragma once
// The controls of the frame that both device windows share, and how they are
// laid out: the menus, the three pages with their frames and check boxes, the
// status bar, the monitor timers and the IR and X-10 code lists. Every control
// carries its control name as its object name ("chkEnableIR"; an element of a
// control array as "cboIRGroupOn(3)"), by which it can be found.

#include <QString>
#include <array>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
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

template <typename T>
using ControlArray = std::vector<T*>;

// The object name of element index of a control array.
QString ArrayElementName(const char* array, int index);

// One IR code per entry: a group list and a key list.
struct IRCodeColumn {
    ControlArray<QComboBox> group;
    ControlArray<QComboBox> key;
};

// One X-10 address per entry: a house list and a unit list.
struct X10AddressColumn {
    ControlArray<QComboBox> house;
    ControlArray<QComboBox> unit;
};

struct DeviceWindowControls {
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

    // The code lists of the first two tabs, entryCount lists in each array.
    std::vector<IRCodeColumn> irColumns;
    std::vector<X10AddressColumn> x10Columns;
};

// How one code column appears on its page: the column (by index), its heading
// and the control names of its two arrays.
struct CodeColumnLayout {
    int column;
    const char* heading;
    const char* firstName;   // group list or house list
    const char* secondName;  // key list or unit list
};

// Builds the frame on window: menus (File > Exit captioned exitCaption),
// pages, status bar, monitor timers, and two IR columns and x10ColumnCount
// X-10 columns of entryCount empty code lists each.
void BuildFrame(QDialog& window, DeviceWindowControls& c, const char* exitCaption, int entryCount,
                int x10ColumnCount);

// Lays out the code-list pages: one row per caption, the columns in display
// order, and x10RowMark (when not empty) after each X-10 row.
void BuildCodePages(DeviceWindowControls& c, const std::vector<std::string>& rowCaptions,
                    const std::vector<CodeColumnLayout>& irDisplay,
                    const std::vector<CodeColumnLayout>& x10Display, const std::string& x10RowMark);

// A code list in its normal colours, or marked white on red (a duplicate code).
void SetCodeListMarked(QComboBox* list, bool marked);

// Fills every code list ("1".."256" for IR, "A".."P" houses, "1".."16" units)
// and selects its first item, letting the user interface run in between.
void FillCodeLists(DeviceWindowControls& c);

}  // namespace tavo
