#pragma once
// The device configuration windows as the start-up loop sees them.

#include <cstdint>

namespace tavo {

// Shows the configuration window of the selected device modally (frmQUELB for
// device type 0, frmZIM8x8 for type 1) and unloads it when its modal show
// returns. The window leaves modTAVOCfg::gReselectDevice set to go back to the
// chooser, clear to end the program.
void ShowDeviceWindow(std::int32_t deviceType);

}  // namespace tavo
