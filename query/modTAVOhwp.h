#pragma once
// The query utility tavoqry: reads every device listed in the device port file
// through its initialization file, and writes a feedback file and a CInfo
// report for each.

#include <string>

namespace tavo::modTAVOhwp {

// Exit status of a run that went through but left a listed device unread.
constexpr int kDeviceNotRead = 2;

// Runs the utility on a command line (the arguments joined by blanks). Returns
// the process exit status: 0 after a run that read every device, 1 when a
// message ended it or a file could not be read or written whole, else
// kDeviceNotRead.
int Main(const std::string& commandLine);

}  // namespace tavo::modTAVOhwp
