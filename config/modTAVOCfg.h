#pragma once
// Program-wide state of the configuration program: the configured devices,
// the devices the chooser found, the selection, and the file switches. The
// start procedure owns it; the chooser and the device windows read it.

#include <cstdint>
#include <string>
#include <vector>

namespace tavo {

// One configured device of the configuration file.
struct DeviceConfig {
    std::int32_t DeviceType = -1;  // 0 "QUELB", 1 "ZIM-8x8", -1 any other name
    std::string Name;
    std::string InitCmdsFile;
};

// One device found on a port (or listed in demo mode on "COM0").
struct DeviceInstance {
    DeviceConfig Config;
    std::string Port;
    std::int16_t PortNumber = 0;
    std::string FeedbackFile;
    std::string CInfoFile;
    std::string DebugFile;
    bool Valid = false;
};

namespace modTAVOCfg {

extern std::string gConfigFile;
extern std::string gAppLogFile;
extern bool gDebugMode;
extern std::string gDevicePortFile;
extern std::string gFeedbackFileTemplate;
extern std::string gCInfoFileTemplate;
extern std::string gDebugFileTemplate;
extern bool gFeedbackFileEnabled;
extern bool gCInfoFileEnabled;
extern bool gDebugFileEnabled;
extern std::vector<DeviceConfig> gDevices;
extern std::vector<DeviceInstance> gDeviceInstances;
extern std::int16_t gSelectedDevice;
extern bool gDemoMode;
extern bool gReselectDevice;

// Puts every global back to its start value (program start, and tests).
void ResetState();

}  // namespace modTAVOCfg
}  // namespace tavo
