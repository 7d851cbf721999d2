#pragma once
// The -d trace of the console programs, written by their clsComPort. A trace
// that cannot be opened or written is said on standard error (a File Error
// box), since the trace cannot tell it.

#include <string>

namespace tavo {

class clsComPort;

// Starts the trace into file (truncated or appended to). False, after saying
// so, when it cannot be opened: the program then runs as without -d.
bool StartConsoleTrace(clsComPort& port, const std::string& file, bool truncate);

// After StopDebug: true when the trace was written whole; else false, after
// saying so with the reason.
bool ConsoleTraceWritten(const clsComPort& port, const std::string& file);

}  // namespace tavo
