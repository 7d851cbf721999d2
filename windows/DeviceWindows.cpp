#include "windows/DeviceWindows.h"

#include <memory>

#include "config/modTAVOCfg.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo {

void ShowDeviceWindow(std::int32_t deviceType) {
    std::unique_ptr<frmDeviceWindow> window;
    if (deviceType == 0)
        window = std::make_unique<frmQUELB>();
    else if (deviceType == 1)
        window = std::make_unique<frmZIM8x8>();
    else {
        // No window serves this model: the program ends.
        modTAVOCfg::gReselectDevice = false;
        return;
    }
    window->Form_Load();
    if (window->DeviceUsable())
        window->exec();
    else
        window->Form_Activate();  // hides it again at once: back to the chooser
    window->Form_Unload();
}

}  // namespace tavo
