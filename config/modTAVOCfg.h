#pragma once
// Program-wide state of the configuration program: the configured devices,
// the devices the chooser found, the selection, and the file switches. The
// start procedure owns it; the chooser and the device windows read it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/ExpandFileTemplate.h"

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
// 32 bits: a long device port file lists more entries than 16 bits can index.
extern std::int32_t gSelectedDevice;
extern bool gDemoMode;
extern bool gReselectDevice;

// Puts every global back to its start value (program start, and tests).
void ResetState();

// The program's title (captions, the about box, boxes titled with the program)
// and its version.
inline constexpr const char* kProgramTitle = "TAVO Device Configuration";
struct ProgramVersion {
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
};
inline constexpr ProgramVersion kProgramVersion{1, 0, 0};

// The file-name templates of one device on one port.
using tavo::ExpandFileTemplate;

// 0 for "QUELB", 1 for "ZIM-8x8", -1 for any other name (case told apart).
std::int32_t DeviceTypeOfName(const std::string& name);

// Index of the first configured device named exactly name; -1 when none is.
int FindConfiguredDevice(const std::string& name);

// A listed device: a copy of the configured device on the given port, with its
// three file names expanded from the templates, Valid set.
DeviceInstance MakeDeviceInstance(const DeviceConfig& config, const std::string& port,
                                  std::int16_t portNumber);

// The files the device's window writes (its debug, feedback and CInfo files,
// as far as their switches are on) checked against every other file of the
// program (the configuration file, the device port file, the initialization
// file of the device and of every configured device, commandFile, the command
// file about to run, and the -d log) and against each other: the message for
// the first that is the same file as another, or "" when each is a file of its own.
std::string DeviceFileCollision(const DeviceInstance& device, const std::string& commandFile = {});

// Shows the window of a device type modally and returns when it is unloaded.
// The windows sit above this module: the program's entry hands it in.
using DeviceWindowFn = std::function<void(std::int32_t deviceType)>;

// Steps of the start procedure before the chooser: start values, command line,
// configuration file, configured devices. False when a message ended the program.
bool ReadStartup(const std::string& commandLine);

// The start procedure: ReadStartup, then the loop between the device chooser
// and the chosen device's window, until the user ends it. The command line is
// the program's arguments joined by blanks; showDeviceWindow shows the chosen
// device's window. Returns the exit status: 0, or 1 when a start-up error
// ended the program.
int Main(const std::string& commandLine, const DeviceWindowFn& showDeviceWindow);

}  // namespace modTAVOCfg
}  // namespace tavo
