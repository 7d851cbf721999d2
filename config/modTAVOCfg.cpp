#include "config/modTAVOCfg.h"

#include <QCoreApplication>
#include <optional>

#include "config/frmSelectDevice.h"
#include "link/FileRoles.h"
#include "link/MessageBox.h"
#include "link/ProfileReader.h"
#include "link/ProgramInfo.h"
#include "link/clsCmdLineParams.h"
#include "link/modCommon.h"

namespace tavo::modTAVOCfg {

namespace {

// Configuration values are used trimmed, as written, with no folder added.
std::string ReadConfigString(const ProfileReader& profile, const char* section, const std::string& key,
                             const std::string& def) {
    return TrimBlanks(profile.GetString(section, key, def));
}

bool Fail(const std::string& title, const std::string& text) {
    ShowMessage(title, text, MsgIcon::Critical);
    return false;
}

// The entry the chooser left selected, when it still names a listed device.
// The close box keeps an earlier selection, which a scan since may have
// taken away; such a stale index chooses nothing.
const DeviceInstance* SelectedInstance() {
    if (gSelectedDevice < 0 || static_cast<std::size_t>(gSelectedDevice) >= gDeviceInstances.size())
        return nullptr;
    const DeviceInstance& entry = gDeviceInstances[static_cast<std::size_t>(gSelectedDevice)];
    return entry.Valid ? &entry : nullptr;
}

// The files the program reads: the configuration file, then those given, then
// the initialization file of every configured device.
FileRoles ReadFiles(const std::vector<FileRole>& given) {
    FileRoles files;
    files.Add({"configuration file", gConfigFile});
    for (const FileRole& file : given) files.Add(file);
    for (const DeviceConfig& device : gDevices)
        files.Add({"initialization file", device.InitCmdsFile, device.Name});
    return files;
}

}  // namespace

std::int32_t DeviceTypeOfName(const std::string& name) {
    if (name == "QUELB") return 0;
    if (name == "ZIM-8x8") return 1;
    return -1;
}

int FindConfiguredDevice(const std::string& name) {
    for (std::size_t i = 0; i < gDevices.size(); ++i)
        if (gDevices[i].Name == name) return static_cast<int>(i);
    return -1;
}

DeviceInstance MakeDeviceInstance(const DeviceConfig& config, const std::string& port,
                                  std::int16_t portNumber) {
    DeviceInstance entry;
    entry.Config = config;
    entry.Port = port;
    entry.PortNumber = portNumber;
    entry.FeedbackFile = ExpandFileTemplate(gFeedbackFileTemplate, config.Name, port);
    entry.CInfoFile = ExpandFileTemplate(gCInfoFileTemplate, config.Name, port);
    entry.DebugFile = ExpandFileTemplate(gDebugFileTemplate, config.Name, port);
    entry.Valid = true;
    return entry;
}

std::string DeviceFileCollision(const DeviceInstance& device, const std::string& commandFile) {
    const std::string& name = device.Config.Name;
    std::vector<FileRole> outputs;
    if (gDebugFileEnabled) outputs.push_back({"debug file", device.DebugFile, name});
    if (gFeedbackFileEnabled) outputs.push_back({"feedback file", device.FeedbackFile, name});
    if (gCInfoFileEnabled) outputs.push_back({"CInfo file", device.CInfoFile, name});
    if (outputs.empty()) return {};
    FileRoles files = ReadFiles(
        {{"device port file", gDevicePortFile}, {"initialization file", device.Config.InitCmdsFile, name}});
    if (!commandFile.empty()) files.Add({"command file", commandFile});
    if (gDebugMode) files.Add({"debug file", gAppLogFile});
    return files.Collision(outputs);
}

bool ReadStartup(const std::string& commandLine) {
    ResetState();

    if (!commandLine.empty()) {
        clsCmdLineParams params;
        if (!params.ParseParameters(commandLine))
            return Fail("Error", "Unable to parse application parameters!");
        if (params.DoesFlagExist("c")) {
            std::string file = params.GetFlagValue("c");
            if (file.empty()) return Fail("Syntax Error", "The -c parameter requires a file name argument!");
            gConfigFile = file;
        }
        if (params.DoesFlagExist("d")) {
            std::string file = params.GetFlagValue("d");
            if (!file.empty()) gAppLogFile = file;
            gDebugMode = true;
        }
    }

    // Read once, so that a pipe serves too; what cannot be read counts as missing.
    std::string why;
    const std::optional<ProfileReader> loaded = ProfileReader::Load(gConfigFile, {}, &why);
    if (!loaded)
        return Fail("File Error", "Configuration file was not specified and/or found!\r\n\r\n" + why + " (" +
                                      gConfigFile + ")");
    const ProfileReader& profile = *loaded;
    // The boxes about the file's content name it, as the one about a missing file does.
    const auto inFile = [](const std::string& text) { return text + "\r\n\r\n(" + gConfigFile + ")"; };
    gDevicePortFile = ReadConfigString(profile, "General", "DevicePortFile", gDevicePortFile);
    gFeedbackFileTemplate = ReadConfigString(profile, "General", "DeviceFeedbackFile", gFeedbackFileTemplate);
    gCInfoFileTemplate = ReadConfigString(profile, "General", "DeviceCInfoFile", gCInfoFileTemplate);
    gDebugFileTemplate = ReadConfigString(profile, "General", "DeviceDebugFile", gDebugFileTemplate);

    // A negative count names no device either.
    const int count = profile.GetInt("Devices", "Count", 0);
    if (count <= 0) return Fail("File Error", inFile("No devices defined in configuration file!"));

    // Grown one name at a time: a huge Count must not size the table before a
    // name is missing.
    gDevices.clear();
    for (int i = 0; i < count; ++i) {
        DeviceConfig device;
        device.Name = ReadConfigString(profile, "Devices", "Name" + std::to_string(i + 1), "");
        if (device.Name.empty())
            return Fail("File Error", inFile("Invalid device specified in configuration file!"));
        device.DeviceType = DeviceTypeOfName(device.Name);
        device.InitCmdsFile =
            ReadConfigString(profile, device.Name.c_str(), "InitCmds", device.Name + "_InitCmds.txt");
        gDevices.push_back(std::move(device));
    }

    // A scan writes the device port file and, with -d, its trace: neither may
    // take the place of a file the program reads, nor of the other.
    std::vector<FileRole> outputs{{"device port file", gDevicePortFile}};
    if (gDebugMode) outputs.push_back({"debug file", gAppLogFile});
    if (const std::string same = ReadFiles({}).Collision(outputs); !same.empty())
        return Fail("File Error", same);
    return true;
}

int Main(const std::string& commandLine, const DeviceWindowFn& showDeviceWindow) {
    SetProgramTitle(kProgramTitle);
    if (!ReadStartup(commandLine)) return kEndedByMessage;

    frmSelectDevice chooser;
    chooser.Form_Load();
    gReselectDevice = true;

    while (gReselectDevice) {
        chooser.exec();
        if (!gReselectDevice) break;
        const DeviceInstance* selected = SelectedInstance();
        if (selected == nullptr) break;
        QCoreApplication::processEvents();

        const std::int32_t type = selected->Config.DeviceType;
        if (type == 0 || type == 1) {
            showDeviceWindow(type);
        } else {
            ShowMessage("Error", "Unknown device selection!", MsgIcon::Critical);
        }
    }
    return 0;
}

}  // namespace tavo::modTAVOCfg
