#pragma once
// Probing one serial port for a device, as the probe program and the
// configuration program's scan both do: open the port at 9600,N,8,1, see
// whether a device echoes the frame start, ask it who it is with "810000",
// and tell each step in the debug trace (lines that clsComPort writes only
// while its trace is on). The two programs differ in a few details, which
// their policies carry.

#include <functional>
#include <string>
#include <string_view>

namespace tavo {

class clsComPort;

struct PortProbePolicy {
    // The trace names the port as the port list gives it, or as "COM" + its number.
    bool portAsListed = false;
    // Ends the trace lines of a port that is done with (all but "Device found").
    std::string_view lineEnd;
    // Identification checks the device's presence again first (IdentifyDevice).
    bool checkAgainBeforeIdentify = false;
    // A port in use by another program gets a trace line of its own.
    bool traceInUse = false;
    // Whether an identified type counts; one that does not is traced as no
    // response. Empty: every type counts.
    std::function<bool(const std::string& type)> accepts;
};

struct PortProbeResult {
    enum class Outcome {
        NotOpened,   // no port number in the name, or the port did not open
        InUse,       // the port did not open: another program holds it
        NoDevice,    // nothing echoed the frame start
        NoReply,     // no reply to the identify command, or a type not accepted
        Identified,  // type holds the device type word
    };
    Outcome outcome = Outcome::NotOpened;
    int number = -1;   // the port number of the name (-1 when it has none)
    std::string type;  // "QUELB" or "ZIM-8x8" when identified
};

// Probes the port called name (a "COM" name of the port list) with port, and
// closes it again.
PortProbeResult ProbePort(clsComPort& port, const std::string& name, const PortProbePolicy& policy);

// "COM3 is in use by another program; the device list may be incomplete."
std::string PortInUseText(const std::string& portName);

}  // namespace tavo
