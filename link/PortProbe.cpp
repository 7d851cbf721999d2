#include "PortProbe.h"

#include <cerrno>
#include <cstdint>
#include <limits>

#include "PortMap.h"
#include "clsComPort.h"
#include "modCommon.h"

namespace tavo {

namespace {

PortProbeResult Probe(clsComPort& port, const std::string& name, const PortProbePolicy& policy) {
    PortProbeResult result;
    const std::string end(policy.lineEnd);
    const int n = PortNumberOf(name);
    if (n < 0 || n > std::numeric_limits<std::int16_t>::max()) {
        // The map only gives COM<n>; a name without a usable number cannot be opened.
        port.LogMessage("Error opening serial port " + name + ":" + end);
        return result;
    }
    result.number = n;
    const std::string label = policy.portAsListed ? name : "COM" + std::to_string(n);
    port.SetComPort(static_cast<std::int16_t>(n));
    port.SetConnectOptions(9600, "N", 8, 1);
    if (!port.OpenPort()) {
        if (port.LastOpenError() == EBUSY) {
            result.outcome = PortProbeResult::Outcome::InUse;
            if (policy.traceInUse) port.LogMessage(PortInUseText(label));
        }
        port.LogMessage("Error opening serial port " + label + ":" + end);
        return result;
    }
    if (!port.CanSeeDevice()) {
        result.outcome = PortProbeResult::Outcome::NoDevice;
        port.LogMessage("Device not recognized on serial port " + label + ":" + end);
        return result;
    }
    port.LogMessage("Device found on serial port COM" + std::to_string(n) + ":");
    const std::string type = policy.checkAgainBeforeIdentify
                                 ? IdentifyDevice(port)
                                 : DeviceTypeOfReply(port.SendCmdStrResponce(kIdentifyCommand));
    if (type.empty() || (policy.accepts && !policy.accepts(type))) {
        result.outcome = PortProbeResult::Outcome::NoReply;
        port.LogMessage("No response from device on serial port " + label + ":" + end);
        return result;
    }
    result.outcome = PortProbeResult::Outcome::Identified;
    result.type = type;
    port.LogMessage("Device on serial port " + label + ": appears to be an " + type + "." + end);
    return result;
}

}  // namespace

PortProbeResult ProbePort(clsComPort& port, const std::string& name, const PortProbePolicy& policy) {
    PortProbeResult result = Probe(port, name, policy);
    port.ClosePort();
    return result;
}

std::string PortInUseText(const std::string& portName) {
    return portName + " is in use by another program; the device list may be incomplete.";
}

}  // namespace tavo
