#include "windows/DeviceWindowLayout.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "link/UiHooks.h"

namespace tavo {

namespace {

template <typename T>
T* Named(T* control, const char* name) {
    control->setObjectName(name);
    return control;
}

void BuildMenus(QDialog& window, DeviceWindowControls& c, const char* exitCaption) {
    c.menuBar = Named(new QMenuBar(&window), "menuBar");
    c.mnuFile = Named(c.menuBar->addMenu("&File"), "mnuFile");
    c.mnuFileLoad = Named(c.mnuFile->addAction("&Load Configuration File..."), "mnuFileLoad");
    c.mnuFileLoad->setShortcut(QKeySequence("Ctrl+L"));
    c.mnuFileSaveAs = Named(c.mnuFile->addAction("&Save Configuration As..."), "mnuFileSaveAs");
    c.mnuFileSaveAs->setShortcut(QKeySequence("Ctrl+S"));
    c.mnuFileSep1 = Named(c.mnuFile->addSeparator(), "mnuFileSep1");
    c.mnuFileApply = Named(c.mnuFile->addAction("&Apply Settings to Device"), "mnuFileApply");
    c.mnuFileSep2 = Named(c.mnuFile->addSeparator(), "mnuFileSep2");
    c.mnuFileSelectDevice = Named(c.mnuFile->addAction("Select New &Device"), "mnuFileSelectDevice");
    c.mnuFileExit = Named(c.mnuFile->addAction(exitCaption), "mnuFileExit");
    c.mnuFileExit->setShortcut(QKeySequence("Ctrl+X"));
    c.mnuHelp = Named(c.menuBar->addMenu("&Help"), "mnuHelp");
    c.mnuHelpAbout = Named(c.mnuHelp->addAction("&About TAVOCFG..."), "mnuHelpAbout");
}

constexpr const char* kIRInstructions =
    "For each of the device's IR functions, you are able to assign an IR group code and key code of your "
    "choice. Simply click on the arrow to the right of each box below to display a list of valid selections.";
constexpr const char* kX10Instructions =
    "For each of the device's X-10 functions, you are able to assign the X-10 house code and unit code of "
    "your choice. Simply click on the arrow to the right of each box below to display a list of valid "
    "selections.";

QLabel* Instructions(const QString& name, const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

// Where the controls of one settings page go.
struct SettingsPageSlots {
    QGroupBox*& settings;
    QCheckBox*& enable;
    QLabel*& instructions;
    QGroupBox*& monitor;
    QCheckBox*& monitorBox;
};

struct MonitorValue {
    const char* caption;
    const char* name;
    QLabel** label;
};

// A settings page of kind "IR" or "X10": the settings frame with its enable
// box and instructions (the code lists come later), over the monitor frame
// with its check box and, for each value, a caption and a value label.
void SettingsPage(QFrame* page, const QString& kind, const SettingsPageSlots& out, const char* enableText,
                  const char* instructions, const char* monitorText,
                  std::initializer_list<MonitorValue> values) {
    out.settings = new QGroupBox(page);
    out.settings->setObjectName("fra" + kind + "Settings");
    out.enable = new QCheckBox(enableText, out.settings);
    out.enable->setObjectName("chkEnable" + kind);
    out.instructions = Instructions("lbl" + kind + "Instructions", instructions, out.settings);
    out.monitor = new QGroupBox(page);
    out.monitor->setObjectName("fra" + kind + "Monitor");
    out.monitorBox = new QCheckBox(monitorText, out.monitor);
    out.monitorBox->setObjectName("chkMonitor" + kind);
    auto* row = new QHBoxLayout(out.monitor);
    row->addWidget(out.monitorBox);
    for (const MonitorValue& value : values) {
        row->addWidget(new QLabel(value.caption, out.monitor));
        *value.label = Named(new QLabel(out.monitor), value.name);
        row->addWidget(*value.label);
    }
    row->addStretch(1);
    auto* column = new QVBoxLayout(page);
    column->addWidget(out.settings, 1);
    column->addWidget(out.monitor);
}

void BuildPages(DeviceWindowControls& c) {
    static const char* const kCaptions[3] = {"IR Settings", "X-10 Settings", "Control/Monitor"};
    for (int t = 0; t < 3; ++t) {
        c.panTabPage[static_cast<std::size_t>(t)] = new QFrame;
        c.panTabPage[static_cast<std::size_t>(t)]->setObjectName(ArrayElementName("panTabPage", t));
        c.tabMain->addTab(c.panTabPage[static_cast<std::size_t>(t)], kCaptions[t]);
    }

    // Page 0: IR settings and the IR monitor; page 1: X-10 settings and the X-10 monitor.
    SettingsPage(c.panTabPage[0], "IR",
                 {c.fraIRSettings, c.chkEnableIR, c.lblIRInstructions, c.fraIRMonitor, c.chkMonitorIR},
                 "Enable IR Control", kIRInstructions, "Monitor IR Signals",
                 {{"Group:", "lblMonitorIRGroup", &c.lblMonitorIRGroup},
                  {"Key:", "lblMonitorIRKey", &c.lblMonitorIRKey}});
    SettingsPage(c.panTabPage[1], "X10",
                 {c.fraX10Settings, c.chkEnableX10, c.lblX10Instructions, c.fraX10Monitor, c.chkMonitorX10},
                 "Enable X-10 Control", kX10Instructions, "Monitor X-10 Signals",
                 {{"Function:", "lblMonitorX10Func", &c.lblMonitorX10Func},
                  {"House:", "lblMonitorX10House", &c.lblMonitorX10House},
                  {"Unit:", "lblMonitorX10Unit", &c.lblMonitorX10Unit}});

    // Page 2: manual control and the communication monitor.
    QFrame* page = c.panTabPage[2];
    c.fraRTControl = Named(new QGroupBox("Manual Control", page), "fraRTControl");
    c.picRemote = Named(new QFrame(c.fraRTControl), "picRemote");
    c.picQUELB = Named(new QFrame(c.fraRTControl), "picQUELB");
    c.picQUELB->setFrameShape(QFrame::Panel);
    c.lblRTInstructions = Instructions(
        "lblRTInstructions",
        "You can manually control the switcher by clicking upon the desired function below.", c.fraRTControl);
    auto* control = new QVBoxLayout(c.fraRTControl);
    control->addWidget(c.lblRTInstructions);
    control->addWidget(c.picQUELB);
    control->addWidget(c.picRemote, 1);
    c.fraRTMonitor = Named(new QGroupBox(page), "fraRTMonitor");
    c.chkDiagnosticMode = Named(new QCheckBox("&Monitor Communication", c.fraRTMonitor), "chkDiagnosticMode");
    c.chkDiagnosticMode->setChecked(true);
    c.lstMonitor = Named(new QListWidget(c.fraRTMonitor), "lstMonitor");
    // Wide enough for the longest line either window adds, so that a line reads
    // whole without scrolling.
    const QRect longest = c.lstMonitor->fontMetrics().boundingRect(
        QRect(), Qt::TextExpandTabs, "Sending:\t030088D7\tINPUT #8 ROUTED TO #8 OUTPUT");
    c.lstMonitor->setMinimumWidth(longest.width() + 4 * c.lstMonitor->frameWidth() +
                                  c.lstMonitor->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    auto* monitor = new QVBoxLayout(c.fraRTMonitor);
    monitor->addWidget(c.chkDiagnosticMode);
    monitor->addWidget(c.lstMonitor, 1);
    auto* page2 = new QHBoxLayout(page);
    page2->addWidget(c.fraRTControl, 1);
    page2->addWidget(c.fraRTMonitor, 1);
}

QTimer* MonitorTimer(QDialog& window, const char* name) {
    auto* timer = Named(new QTimer(&window), name);
    timer->setInterval(100);
    return timer;
}

// Puts the lists of one column at grid column col and col + 1, rows 4 onwards, under their heading.
void PlaceColumn(QGridLayout* grid, QWidget* page, int col, const CodeColumnLayout& layout, const char* first,
                 const char* second, const ControlArray<QComboBox>& firstLists,
                 const ControlArray<QComboBox>& secondLists) {
    grid->addWidget(new QLabel(layout.heading, page), 2, col, 1, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(first, page), 3, col);
    grid->addWidget(new QLabel(second, page), 3, col + 1);
    for (std::size_t i = 0; i < firstLists.size(); ++i) {
        const int entry = static_cast<int>(i);
        firstLists[i]->setObjectName(ArrayElementName(layout.firstName, entry));
        secondLists[i]->setObjectName(ArrayElementName(layout.secondName, entry));
        grid->addWidget(firstLists[i], 4 + entry, col);
        grid->addWidget(secondLists[i], 4 + entry, col + 1);
    }
}

}  // namespace

QString ArrayElementName(const char* array, int index) {
    return QString::fromLatin1(array) + "(" + QString::number(index) + ")";
}

void SetCodeListMarked(QComboBox* list, bool marked) {
    // Colours as the windows name them (0x00BBGGRR; the top bit names a system colour).
    list->setProperty("ForeColor", static_cast<uint>(marked ? 0xFFFFFF : 0x80000008));
    list->setProperty("BackColor", static_cast<uint>(marked ? 0x0000FF : 0x80000005));
    if (marked)
        list->setStyleSheet("QComboBox { color: #FFFFFF; background-color: #FF0000; }");
    else
        list->setStyleSheet(QString());
}

void BuildFrame(QDialog& window, DeviceWindowControls& c, const char* exitCaption, int entryCount,
                int x10ColumnCount) {
    auto* top = new QVBoxLayout(&window);
    BuildMenus(window, c, exitCaption);
    top->setMenuBar(c.menuBar);

    c.tabMain = Named(new QTabWidget(&window), "tabMain");
    top->addWidget(c.tabMain, 1);
    BuildPages(c);

    c.statusBar = Named(new QStatusBar(&window), "statusBar");
    c.statusBar->setSizeGripEnabled(false);
    c.statusPanel1 = Named(new QLabel(c.statusBar), "statusPanel1");
    c.statusPanel2 = Named(new QLabel(c.statusBar), "statusPanel2");
    for (QLabel* panel : {c.statusPanel1, c.statusPanel2}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
    }
    c.statusBar->addWidget(c.statusPanel1, 4);
    c.statusBar->addWidget(c.statusPanel2, 1);
    top->addWidget(c.statusBar);

    c.tmrMonitorIR = MonitorTimer(window, "tmrMonitorIR");
    c.tmrMonitorX10 = MonitorTimer(window, "tmrMonitorX10");

    // The code lists exist from the start; the load fills them.
    auto makeLists = [&window, entryCount](ControlArray<QComboBox>& lists) {
        for (int i = 0; i < entryCount; ++i) {
            auto* list = new QComboBox(&window);
            SetCodeListMarked(list, false);
            lists.push_back(list);
        }
    };
    c.irColumns.resize(2);
    for (auto& column : c.irColumns) {
        makeLists(column.group);
        makeLists(column.key);
    }
    c.x10Columns.resize(static_cast<std::size_t>(x10ColumnCount));
    for (auto& column : c.x10Columns) {
        makeLists(column.house);
        makeLists(column.unit);
    }
}

namespace {

QGridLayout* CodeGrid(QWidget* frame, QWidget* enableBox, QWidget* instructions) {
    auto* page = new QVBoxLayout(frame);
    page->addWidget(enableBox);
    page->addWidget(instructions);
    auto* grid = new QGridLayout;
    page->addLayout(grid, 1);
    return grid;
}

}  // namespace

void BuildCodePages(DeviceWindowControls& c, const std::vector<std::string>& rowCaptions,
                    const std::vector<CodeColumnLayout>& irDisplay,
                    const std::vector<CodeColumnLayout>& x10Display, const std::string& x10RowMark) {
    // The check box and the wrapped instructions stand above the grid of lists,
    // where the box layout gives the instructions the height of all their lines.
    auto* ir = CodeGrid(c.fraIRSettings, c.chkEnableIR, c.lblIRInstructions);
    int col = 1;
    for (const CodeColumnLayout& layout : irDisplay) {
        const IRCodeColumn& column = c.irColumns[static_cast<std::size_t>(layout.column)];
        PlaceColumn(ir, c.fraIRSettings, col, layout, "Group", "Key", column.group, column.key);
        col += 2;
    }
    auto* x10 = CodeGrid(c.fraX10Settings, c.chkEnableX10, c.lblX10Instructions);
    col = 1;
    for (const CodeColumnLayout& layout : x10Display) {
        const X10AddressColumn& column = c.x10Columns[static_cast<std::size_t>(layout.column)];
        PlaceColumn(x10, c.fraX10Settings, col, layout, "House", "Unit", column.house, column.unit);
        col += 2;
    }
    for (std::size_t i = 0; i < rowCaptions.size(); ++i) {
        const auto caption = QString::fromStdString(rowCaptions[i]);
        const int row = 4 + static_cast<int>(i);
        ir->addWidget(new QLabel(caption, c.fraIRSettings), row, 0);
        x10->addWidget(new QLabel(caption, c.fraX10Settings), row, 0);
        if (!x10RowMark.empty())
            x10->addWidget(new QLabel(QString::fromStdString(x10RowMark), c.fraX10Settings), row, col);
    }
}

void FillCodeLists(DeviceWindowControls& c) {
    const std::size_t entries = c.irColumns.empty() ? 0 : c.irColumns[0].group.size();
    for (std::size_t i = 0; i < entries; ++i) {
        std::vector<QComboBox*> lists;
        for (auto& column : c.irColumns) {
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
        for (auto& column : c.x10Columns)
            for (char letter = 'A'; letter <= 'P'; ++letter) column.house[i]->addItem(QString(QChar(letter)));
        YieldToUi();
        for (auto& column : c.x10Columns)
            for (int unit = 1; unit <= 16; ++unit) column.unit[i]->addItem(QString::number(unit));
        YieldToUi();
        for (auto& column : c.x10Columns) {
            column.house[i]->setCurrentIndex(0);
            column.unit[i]->setCurrentIndex(0);
        }
    }
}

}  // namespace tavo
