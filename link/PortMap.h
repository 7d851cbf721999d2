#pragma once
// The port map: which device node stands behind each port name "COM<n>".
//
// The map is a folder whose entries named COM<n> are symbolic links to device
// nodes. The folder is $TAVO_PORTS when set, else ~/.config/tavo/ports, else
// /etc/tavo/ports. Without any of them the ports come from sysfs: each ttyS<k>
// with a real UART is COM<k+1>, then each ttyUSB* and then each ttyACM*, in the
// order of their numbers (ttyUSB2 before ttyUSB10), takes the next free number.
// A port that carries the system console is left out.

#include <cstddef>
#include <string>
#include <vector>

namespace tavo {

struct PortMapEntry {
    int number = 0;      // the n of COM<n>
    std::string name;    // "COM<n>", as the map names it
    std::string target;  // device node path (may not exist)
};

enum class PortMapStatus {
    Ok,
    SourceUnreadable,  // the map folder (or sysfs) cannot be read
    EntryUnreadable,   // an entry exists but its link cannot be read
    EntryTooLong,      // a name or target does not fit the 260-byte buffers
};

// Names and targets longer than this (without the terminating zero) are refused.
constexpr std::size_t kPortMapMaxText = 259;

// The map folder in use, or an empty string when ports come from sysfs.
std::string PortMapFolder();

// Lists the ports in ascending number. On failure, out holds what was read
// before the failing entry, and why (when given) the path that failed and the
// system's reason ("/path: No such file or directory").
PortMapStatus ListPortMap(std::vector<PortMapEntry>& out, std::string* why = nullptr);

// The ports of a sysfs tty class folder (normally /sys/class/tty), leaving out
// the ports that carry the system console.
PortMapStatus ListPortsFromSysfs(const std::string& sysTty, std::vector<PortMapEntry>& out,
                                 std::string* why = nullptr);

// Why the map cannot be listed now, as ListPortMap says it; empty when it can.
std::string PortMapProblem();

// Device node behind COM<number>, or an empty string when the map has no such port.
std::string PortDevicePath(int number);

// The number in a port name "COM<n>": the text after its first three characters
// as a whole number; -1 when that text is not a number.
int PortNumberOf(const std::string& portName);

}  // namespace tavo
