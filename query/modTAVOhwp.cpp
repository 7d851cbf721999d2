#include "query/modTAVOhwp.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>

#include "codes/clsCInfoFile.h"
#include "link/ExpandFileTemplate.h"
#include "link/MessageBox.h"
#include "link/PortMap.h"
#include "link/ProfileReader.h"
#include "link/ProgramInfo.h"
#include "link/clsCmdLineParams.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"

namespace tavo::modTAVOhwp {

namespace {

// Every box of this program has the stop icon and an OK button.
void Box(const std::string& title, const std::string& text) { ShowMessage(title, text, MsgIcon::Critical); }

struct Settings {
    std::string configFile = InProgramFolder("tavodevices.cfg");
    std::string devicePortFile = InProgramFolder("tavo.txt");
    std::string feedbackTemplate = InProgramFolder("feedback_[devicename]_[port].txt");
    std::string reportTemplate = InProgramFolder("cinfo_[devicename]_[port].txt");
    std::string debugFile = InProgramFolder("tavoqry.txt");
    bool debug = false;
};

// A file this program reads: it must be a regular file, since opening a named
// pipe would wait for a writer that may never come.
bool IsInputFile(const std::string& path) {
    std::error_code ec;
    return FileExists(path) && std::filesystem::is_regular_file(path, ec);
}

// Reads one line without its line end (LF or CR LF); false at the end of the file.
bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// The port number of a port name: its text from the fourth character as a
// 16-bit whole number; -1 when it is not one (a blank after the comma, say).
int PortNumber(const std::string& portName) {
    int n = PortNumberOf(portName);
    return n > std::numeric_limits<std::int16_t>::max() ? -1 : n;
}

class Query {
public:
    explicit Query(const Settings& settings) : s_(settings), port_(EchoRule::KeepStale) {}

    void Run(std::istream& devicePorts) {
        bool freshTrace = true;
        std::string line;
        while (ReadLine(devicePorts, line)) {
            line = TrimBlanks(line);
            if (line.empty()) continue;
            DeviceLine(line, freshTrace);
            freshTrace = false;
        }
    }

private:
    void Log(const std::string& text) {
        if (s_.debug) port_.LogMessage(text);
    }
    // Ends one device's part of the trace; each device line opens and closes it.
    void EndDevice(bool closePort) {
        if (s_.debug) port_.StopDebug();
        if (closePort) port_.ClosePort();
    }

    // A file problem ends this device's run: the trace tells it with -d, a box without.
    void SkipDevice(const std::string& text) {
        if (s_.debug)
            Log(text);
        else
            Box("File Error", text);
        EndDevice(true);
    }

    void DeviceLine(const std::string& line, bool freshTrace) {
        auto comma = line.find(',');
        if (comma == std::string::npos) {
            if (s_.debug)
                Box("File Error", "The device port file (" + s_.devicePortFile +
                                      ") is incorrectly formatted! Please run tavohwp.exe.");
            return;
        }
        if (s_.debug) port_.StartDebug(s_.debugFile, freshTrace);

        const std::string deviceName = line.substr(0, comma);
        const std::string portName = line.substr(comma + 1);
        const std::string feedbackFile = ExpandFileTemplate(s_.feedbackTemplate, deviceName, portName);
        report_.SetFormatType(deviceName == "QUELB" ? clsCInfoFile::kQUELBFormat : clsCInfoFile::kZIM8x8Format);
        report_.SetFilename(ExpandFileTemplate(s_.reportTemplate, deviceName, portName));

        Log("Device: " + deviceName + " on serial port " + portName);
        Log("Feedback file: " + feedbackFile);

        const int number = PortNumber(portName);
        if (number < 0) {
            // No port can stand behind such a name; say so and go on with the next device.
            Log("Invalid serial port name (" + portName + ").\r\n");
            EndDevice(false);
            return;
        }
        port_.SetComPort(static_cast<std::int16_t>(number));
        port_.SetConnectOptions(9600, "N", 8, 1);
        if (!port_.OpenPort()) {
            Log("Error opening serial port " + portName + ":\r\n");
            EndDevice(false);
            return;
        }
        if (!port_.CanSeeDevice()) {
            Log("Device not recognized on serial port " + portName + ":\r\n");
            EndDevice(true);
            return;
        }
        Log("A device was found.");

        const std::string initFile = GetPrivateProfileString(
            deviceName, "InitCmds", InProgramFolder(deviceName + "_InitCmds.txt"), s_.configFile);
        if (!IsInputFile(initFile)) {
            SkipDevice("Initialization file was not found for device (" + deviceName + ")");
            return;
        }
        Log("Processing initialization file: " + initFile);

        std::ifstream commands(initFile, std::ios::binary);
        std::ofstream feedback(feedbackFile, std::ios::binary | std::ios::trunc);
        if (!feedback) {
            // Nothing can record this device's answers: leave it alone rather than ask it.
            SkipDevice("Unable to create the feedback file (" + feedbackFile + ") for device (" + deviceName + ")");
            return;
        }
        std::string command;
        while (ReadLine(commands, command)) {
            command = TrimBlanks(command);
            if (command.empty()) continue;
            const std::string reply = port_.SendCmdStrResponce(command);
            if (!reply.empty()) {
                const std::string word = reply.substr(0, 6);
                feedback << word << "\r\n";
                report_.AddCommand(word, true);
            } else {
                feedback << command << "  No response from device.\r\n";
                Log("No response from device on serial port " + portName + ":\r\n");
                report_.AddCommand(clsCInfoFile::kNoResponse, true);
            }
        }
        feedback.close();
        report_.OutputData();
        EndDevice(true);
    }

    const Settings& s_;
    clsComPort port_;
    clsCInfoFile report_;
};

}  // namespace

int Main(const std::string& commandLine) {
    Settings s;
    if (!commandLine.empty()) {
        clsCmdLineParams params;
        if (!params.ParseParameters(commandLine)) return EndWithMessage("Error", "Unable to parse application parameters!");
        if (!params.GetFlagValue("c").empty()) s.configFile = params.GetFlagValue("c");
        if (!FileExists(s.configFile)) return EndWithMessage("File Error", "Configuration file not specified or found!");

        const ProfileReader config = ProfileReader::FromFile(s.configFile);
        s.devicePortFile = config.GetString("General", "DevicePortFile", s.devicePortFile);
        s.feedbackTemplate = config.GetString("General", "FeedbackFile", s.feedbackTemplate);
        s.reportTemplate = config.GetString("General", "CInfoFile", s.reportTemplate);
        s.debugFile = config.GetString("General", "DebugFile", s.debugFile);

        for (auto [flag, target] : {std::pair{"p", &s.devicePortFile}, std::pair{"f", &s.feedbackTemplate},
                                    std::pair{"i", &s.reportTemplate}}) {
            if (!params.DoesFlagExist(flag)) continue;
            const std::string value = params.GetFlagValue(flag);
            if (value.empty())
                return EndWithMessage("Syntax Error",
                            std::string("The -") + flag + " parameter requires a file name argument!");
            *target = value;
        }
        if (params.DoesFlagExist("d")) {
            s.debug = true;
            if (!params.GetFlagValue("d").empty()) s.debugFile = params.GetFlagValue("d");
        }
    }

    if (!IsInputFile(s.devicePortFile))
        return EndWithMessage("File Error", "The device port file (" + s.devicePortFile +
                                      ") was not found! Please run tavohwp.exe first.");
    std::ifstream devicePorts(s.devicePortFile, std::ios::binary);
    Query(s).Run(devicePorts);
    return 0;
}

}  // namespace tavo::modTAVOhwp
