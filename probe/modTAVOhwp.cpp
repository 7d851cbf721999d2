#include "probe/modTAVOhwp.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "link/MessageBox.h"
#include "link/PortMap.h"
#include "link/ProgramInfo.h"
#include "link/clsCmdLineParams.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "portlist/PortListLoader.h"

namespace tavo::modTAVOhwp {

namespace {

// Identifies the device on one configured port and writes its line when it answers.
// True when a device answered the identify command.
bool ProbePort(clsComPort& port, const std::string& name, std::ofstream& out) {
    int n = PortNumberOf(name);
    if (n < 0 || n > std::numeric_limits<std::int16_t>::max()) {
        // The map only gives COM<n>; a name without a usable number cannot be opened.
        port.LogMessage("Error opening serial port " + name + ":\r\n");
        return false;
    }
    const std::string com = "COM" + std::to_string(n);
    port.SetComPort(static_cast<std::int16_t>(n));
    port.SetConnectOptions(9600, "N", 8, 1);
    if (!port.OpenPort()) {
        port.LogMessage("Error opening serial port " + com + ":\r\n");
        return false;
    }
    if (!port.CanSeeDevice()) {
        port.LogMessage("Device not recognized on serial port " + com + ":\r\n");
        return false;
    }
    port.LogMessage("Device found on serial port " + com + ":");
    const std::string type = DeviceTypeOfReply(port.SendCmdStrResponce(kIdentifyCommand));
    if (type.empty()) {
        port.LogMessage("No response from device on serial port " + com + ":\r\n");
        return false;
    }
    out << type << "," << name << "\r\n";
    port.LogMessage("Device on serial port " + com + ": appears to be an " + type + ".\r\n");
    return true;
}

}  // namespace

int Main(const std::string& commandLine) {
    // No window here, so there is no wait cursor to show or restore.
    SetProgramTitle("TAVO Device Probe");
    std::string outputFile = InProgramFolder("tavo.txt");
    std::string logFile = InProgramFolder("tavohwp.txt");
    bool debug = false;

    if (!commandLine.empty()) {
        clsCmdLineParams params;
        if (!params.ParseParameters(commandLine))
            return EndWithMessage("Error", "Unable to parse application parameters!");
        if (params.DoesFlagExist("o") && !params.GetFlagValue("o").empty())
            outputFile = params.GetFlagValue("o");
        if (params.DoesFlagExist("d")) {
            debug = true;
            if (!params.GetFlagValue("d").empty()) logFile = params.GetFlagValue("d");
        }
    }

    std::vector<std::string> ports;
    if (PortListLoader::ProgramLibrary().GetComPortSlots(ports) < 0)
        return EndWithMessage("Error", "Unable to query registry for configured serial ports!");

    std::ofstream out(outputFile, std::ios::binary | std::ios::trunc);
    if (!out)
        return EndWithMessage("File Error", "Unable to open the device port file (" + outputFile + ") for writing!");

    clsComPort port(EchoRule::KeepStale);
    if (debug) port.StartDebug(logFile, true);

    bool found = false;
    for (const auto& name : ports) {
        if (!name.empty() && ProbePort(port, name, out)) found = true;
        port.ClosePort();
    }

    out.close();
    const bool written = !out.fail();
    // Only a plain file is removed: "-o/dev/null" must not cost the system its device node.
    std::error_code ec;
    if (!found && std::filesystem::is_regular_file(outputFile, ec)) DeleteFile(outputFile, false);

    port.StopDebug();
    port.ClosePort();
    // A device port file that lost lines must not pass for a good one.
    if (found && !written)
        return EndWithMessage("File Error", "Unable to write the device port file (" + outputFile + ")!");
    return 0;
}

}  // namespace tavo::modTAVOhwp
