#include "config/QtHosts.h"

#include <QCoreApplication>

#include "config/QtMessageBox.h"
#include "config/QtMousePointer.h"
#include "link/MessageBox.h"
#include "link/UiHooks.h"

namespace tavo {

namespace {
QtMessageBox gMessageBox;
QtMousePointerHost gPointerHost;
}  // namespace

void InstallQtHosts() {
    SetMessageBoxHost(&gMessageBox);
    SetYieldHook([] { QCoreApplication::processEvents(); });
    SetMousePointerHost(&gPointerHost);
}

void RemoveQtHosts() {
    SetMousePointerHost(nullptr);
    SetYieldHook(nullptr);
    SetMessageBoxHost(nullptr);
}

}  // namespace tavo
