#pragma once
// The device probe program: finds the devices on the configured serial ports,
// identifies each, and writes the device port file.

#include <string>

namespace tavo::modTAVOhwp {

// Runs the whole probe for the given command line (the arguments joined by
// blanks). Returns the program's exit status: 0 after a normal run, non-zero
// when a message box ended it.
int Main(const std::string& commandLine);

}  // namespace tavo::modTAVOhwp
