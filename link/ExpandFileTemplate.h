#pragma once
// File-name templates: a path holding "[devicename]" and "[port]", turned into
// the file name of one device on one port.

#include <string>

namespace tavo {

// Trims template, device name and port name of blanks; when any of them is then
// empty the result is empty. Otherwise the file-name part after the last "/" is
// lower-cased (the folder part keeps its case, since Linux folders tell case
// apart; the tokens match in any case), every "[devicename]" is replaced by the
// name, and then every "[port]" of that result by the port, left to right; the
// name and port keep their case. A "[port]" that the device name brings in is
// therefore replaced as well, while a port name is never searched again.
std::string ExpandFileTemplate(const std::string& fileTemplate, const std::string& deviceName,
                               const std::string& portName);

}  // namespace tavo
