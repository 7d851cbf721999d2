// screenshots: renders the configuration program's windows in demo mode on the
// offscreen platform and writes them as PNG files, so the pictures of the
// README are made again by one command whenever the windows change:
//
//     cmake --build build --target pictures      (writes docs/*.png)
//
// A development aid, not one of the suite's programs. Demo mode comes from a
// device port file that lists nothing, so no serial port is touched.

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "button/Quorvel.h"
#include "config/QtHosts.h"
#include "config/frmSelectDevice.h"
#include "config/modTAVOCfg.h"
#include "windows/frmDeviceWindow.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace {

using namespace tavo;

bool Save(QWidget& window, const QString& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    if (window.grab().save(path)) return true;
    std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

// The window of the selected device, read from the demo reply set, one picture a tab.
template <typename Window>
bool SaveDeviceWindow(int instance, const QString& folder, const QString& stem) {
    modTAVOCfg::gSelectedDevice = instance;
    Window window;
    window.Form_Load();
    window.show();
    window.Form_Activate();
    auto* tabs = window.template findChild<QTabWidget*>("tabMain");
    bool ok = tabs != nullptr;
    for (int tab = 0; ok && tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        if (tab == 2) {
            // A few presses on the remote, so that the monitor list shows what was sent.
            const QList<Quorvel*> buttons = window.template findChildren<Quorvel*>();
            for (int i = 0; i < buttons.size() && i < 4; ++i) emit buttons[i]->Click();
        }
        ok = Save(window, folder, stem + "-tab" + QString::number(tab + 1));
    }
    window.hide();
    window.Form_Unload();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots CONFIGURATION-FILE OUTPUT-FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    QApplication::setApplicationName(modTAVOCfg::kProgramTitle);
    InstallQtHosts();
    if (!modTAVOCfg::ReadStartup(std::string("-c ") + argv[1])) return 1;
    modTAVOCfg::gDevicePortFile = (folder + "/.no-devices.txt").toStdString();
    {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> list(
            std::fopen(modTAVOCfg::gDevicePortFile.c_str(), "w"), &std::fclose);
        if (list) std::fputs("; no device: demo mode\r\n", list.get());
    }
    frmSelectDevice chooser;
    chooser.Form_Load();
    std::remove(modTAVOCfg::gDevicePortFile.c_str());
    chooser.show();
    bool ok = Save(chooser, folder, "chooser");
    chooser.hide();
    ok = ok && SaveDeviceWindow<frmQUELB>(0, folder, "quelb");
    ok = ok && SaveDeviceWindow<frmZIM8x8>(1, folder, "zim8x8");
    RemoveQtHosts();
    return ok ? 0 : 1;
}
