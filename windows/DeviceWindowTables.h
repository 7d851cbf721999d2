#pragma once
// What tells the two device windows apart: texts, command words, list sizes
// and the demo reply set. Everything else of a window is shared.

#include <span>

namespace tavo {

struct DeviceWindowTables {
    // Window captions by demo mode and modified flag, each one whole text.
    const char* captionPlain;
    const char* captionModified;
    const char* captionDemo;
    const char* captionDemoModified;
    const char* exitCaption;  // File > Exit

    int entryCount;      // rows of the code lists (10 relay, 8 matrix)
    int x10ColumnCount;  // X-10 address columns (1 relay, 2 matrix)

    // Monitor mode command words (write commands, no reply).
    const char* irMonitorOn;
    const char* irMonitorOff;
    const char* x10MonitorOn;
    const char* x10MonitorOff;
    int x10MessageLength;  // X-10 monitor message length: 12 relay, 6 matrix

    // Words the enable check boxes push onto the command queue.
    const char* enableIROn;
    const char* enableIROff;
    const char* enableX10On;
    const char* enableX10Off;

    std::span<const char* const> demoReplies;  // in reply-set order
    bool loadingClearedAtLoad;                 // matrix: end of load; relay: end of the first read
};

}  // namespace tavo
