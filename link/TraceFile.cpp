#include "TraceFile.h"

#include "MessageBox.h"
#include "clsComPort.h"

namespace tavo {

bool StartTrace(clsComPort& port, const std::string& file, bool truncate) {
    port.StartDebug(file, truncate);
    if (port.IsDebugging()) return true;
    ShowMessage(
        "File Error",
        "Unable to open the debug file (" + file + ") for writing!\r\n\r\n" + port.DebugLog().FileError(),
        MsgIcon::Critical);
    return false;
}

bool TraceWritten(const clsComPort& port, const std::string& file) {
    const std::string& error = port.DebugLog().FileError();
    if (error.empty()) return true;
    ShowMessage("File Error", "Unable to write the debug file (" + file + ")!\r\n\r\n" + error,
                MsgIcon::Critical);
    return false;
}

}  // namespace tavo
