#include "config/modTAVOCfg.h"
#include "link/ProgramInfo.h"

namespace tavo::modTAVOCfg {

std::string gConfigFile;
std::string gAppLogFile;
bool gDebugMode = false;
std::string gDevicePortFile;
std::string gFeedbackFileTemplate;
std::string gCInfoFileTemplate;
std::string gDebugFileTemplate;
bool gFeedbackFileEnabled = false;
bool gCInfoFileEnabled = false;
bool gDebugFileEnabled = false;
std::vector<DeviceConfig> gDevices;
std::vector<DeviceInstance> gDeviceInstances;
std::int32_t gSelectedDevice = -1;
bool gDemoMode = false;
bool gReselectDevice = false;

void ResetState() {
    gDemoMode = false;
    gConfigFile = InProgramFolder("tavodevices.cfg");
    gAppLogFile = InProgramFolder("tavocfg.txt");
    gDebugMode = false;
    gDevicePortFile = InProgramFolder("tavo.txt");
    gFeedbackFileTemplate = InProgramFolder("feedback_[devicename]_[port].txt");
    gFeedbackFileEnabled = false;
    gCInfoFileTemplate = InProgramFolder("cinfo_[devicename]_[port].txt");
    gCInfoFileEnabled = false;
    gDebugFileTemplate = InProgramFolder("debug_[devicename]_[port].txt");
    gDebugFileEnabled = false;
    gSelectedDevice = -1;
    gDevices.clear();
    gDeviceInstances.clear();
    gReselectDevice = false;
}

}  // namespace tavo::modTAVOCfg
