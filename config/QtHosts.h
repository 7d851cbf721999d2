#pragma once
// The windowed program's answers to the shared services' hooks: message boxes
// as QMessageBox, serial waits that let pending Qt events run, and the mouse
// pointer of the active window.

namespace tavo {

// Installs the three hosts for the whole process (after QApplication exists).
void InstallQtHosts();
// Puts the console defaults back (before QApplication ends).
void RemoveQtHosts();

}  // namespace tavo
