#pragma once
// Ctrl-C, SIGTERM, or SIGHUP when the terminal goes, ends a program of the
// suite at once, but not with its ports in exclusive mode, which would keep
// every user but root off them: every port it holds is let go of as closing it
// would (SerialControl), and then its status line is erased (StatusLine). The
// program still dies of the signal, so that its parent sees how it ended.

namespace tavo {

// Called first thing in main. A signal that the program was started ignoring
// (as a shell without job control starts a command run with &) stays ignored.
void LetGoOnEndSignals();

}  // namespace tavo
