#pragma once
// File-name templates: a path holding "[devicename]" and "[port]", turned into
// the file name of one device on one port.

#include <string>

namespace tavo {

// Trims template, device name and port name of blanks; when any of them is then
// empty the result is empty. Otherwise each "[devicename]" and "[port]" (in any
// case) is replaced, left to right, by the name and the port as given (their
// case kept, the inserted text not searched again), and the rest of the
// file-name part after the last "/" is lower-cased. The folder part keeps its
// case, since Linux folders tell case apart.
std::string ExpandFileTemplate(const std::string& fileTemplate, const std::string& deviceName,
                               const std::string& portName);

}  // namespace tavo
