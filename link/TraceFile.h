#pragma once
// A debug trace written by a clsComPort: the -d trace of the programs and the
// device windows' debug file. A trace that cannot be opened or written is told
// in a File Error box (standard error in the console programs), since the
// trace itself cannot tell it.

#include <string>

namespace tavo {

class clsComPort;

// Starts the trace into file (truncated or appended to). False, after saying
// so, when it cannot be opened: the program then runs as without -d.
bool StartTrace(clsComPort& port, const std::string& file, bool truncate);

// After StopDebug: true when the trace was written whole; else false, after
// saying so with the reason.
bool TraceWritten(const clsComPort& port, const std::string& file);

}  // namespace tavo
