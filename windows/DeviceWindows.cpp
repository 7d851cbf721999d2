#include "windows/DeviceWindows.h"

#include "config/modTAVOCfg.h"

namespace tavo {

// Stand-in until the device windows exist: ends the program.
void ShowDeviceWindow(std::int32_t) { modTAVOCfg::gReselectDevice = false; }

}  // namespace tavo
