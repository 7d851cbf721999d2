#pragma once
// The query utility tavoqry: reads every device listed in the device port file
// through its initialization file, and writes a feedback file and a CInfo
// report for each.

#include <string>

namespace tavo::modTAVOhwp {

// Runs the utility on a command line (the arguments joined by blanks). Returns
// the process exit status: 0 after a run, non-zero when a message ended it.
int Main(const std::string& commandLine);

}  // namespace tavo::modTAVOhwp
