#include "probe/modTAVOhwp.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "link/DevicePortFileWriter.h"
#include "link/FileRoles.h"
#include "link/MessageBox.h"
#include "link/PortProbe.h"
#include "link/ProgramInfo.h"
#include "link/StatusLine.h"
#include "link/TraceFile.h"
#include "link/clsCmdLineParams.h"
#include "link/clsComPort.h"
#include "portlist/PortListLoader.h"

namespace tavo::modTAVOhwp {

namespace {

// The probe's trace names ports "COM" + number, closes the lines of each port
// with an empty line, and writes every device that answers.
const PortProbePolicy kProbePolicy{.portAsListed = false,
                                   .lineEnd = "\r\n",
                                   .checkAgainBeforeIdentify = false,
                                   .traceInUse = true,
                                   .accepts = {}};

}  // namespace

int Main(const std::string& commandLine) {
    // A file-size limit then fails the write, which is reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // No window here, so no wait cursor: a status line on a terminal stands in for it.
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

    // The log must not take the list's place, nor the list the log's.
    if (debug) {
        const std::vector<FileRole> outputs{{"device port file", outputFile}, {"debug file", logFile}};
        if (const std::string same = FileRoles().Collision(outputs); !same.empty())
            return EndWithMessage("File Error", same);
    }

    std::vector<std::string> ports;
    if (PortListLoader::ProgramLibrary().GetComPortSlots(ports) < 0)
        return EndWithMessage("Error", PortListFailureText());

    // The earlier list stays until the new one stands whole.
    DevicePortFileWriter list;
    if (!list.Open(outputFile))
        return EndWithMessage("File Error", "Unable to open the device port file (" + outputFile +
                                                ") for writing!\r\n\r\n" + list.ErrorText());

    clsComPort port(EchoRule::KeepStale);
    // A log that cannot be opened is said at once, and the run does not end as a success.
    const bool traceOpened = !debug || StartTrace(port, logFile, true);
    debug = debug && traceOpened;

    StatusLine status(STDERR_FILENO);
    const auto total =
        std::to_string(std::count_if(ports.begin(), ports.end(), [](const auto& n) { return !n.empty(); }));
    int scanned = 0;
    for (const auto& name : ports) {
        if (!name.empty()) {
            status.Show("Scanning " + name + " (" + std::to_string(++scanned) + " of " + total + ")...");
            const PortProbeResult probed = ProbePort(port, name, kProbePolicy);
            if (probed.outcome == PortProbeResult::Outcome::Identified) list.Add(probed.type, name);
            // Without a trace the user still learns that the list may lack a device.
            if (probed.outcome == PortProbeResult::Outcome::InUse && !debug) {
                status.Clear();
                ShowMessage("Warning", PortInUseText("COM" + std::to_string(probed.number)),
                            MsgIcon::Exclamation);
            }
        }
        port.ClosePort();
    }
    status.Clear();
    const bool written = list.Finish();

    port.StopDebug();
    port.ClosePort();
    const bool traced = !debug || TraceWritten(port, logFile);
    // A device port file that lost lines must not pass for a good one.
    if (!written)
        return EndWithMessage("File Error", "Unable to write the device port file (" + outputFile +
                                                ")!\r\n\r\n" + list.ErrorText());
    return traceOpened && traced ? 0 : kEndedByMessage;
}

}  // namespace tavo::modTAVOhwp
