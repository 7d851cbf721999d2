#include "query/modTAVOhwp.h"

#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "codes/clsCInfoFile.h"
#include "link/CommandFileRunner.h"
#include "link/ExpandFileTemplate.h"
#include "link/FileRoles.h"
#include "link/InputFile.h"
#include "link/MessageBox.h"
#include "link/OutputFile.h"
#include "link/PortMap.h"
#include "link/ProfileReader.h"
#include "link/ProgramInfo.h"
#include "link/StatusLine.h"
#include "link/TraceFile.h"
#include "link/clsCmdLineParams.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"

namespace tavo::modTAVOhwp {

namespace {

// The reason given for a device whose line failed: unplugged, most likely.
constexpr char kHungUp[] = "the line hung up";

struct Settings {
    std::string configFile = InProgramFolder("tavodevices.cfg");
    std::string devicePortFile = InProgramFolder("tavo.txt");
    std::string feedbackTemplate = InProgramFolder("feedback_[devicename]_[port].txt");
    std::string reportTemplate = InProgramFolder("cinfo_[devicename]_[port].txt");
    std::string debugFile = InProgramFolder("tavoqry.txt");
    bool debug = false;
    // The configuration file, read once: a pipe cannot give it a second time.
    // Without a command line it is read at the first InitCmds lookup.
    std::optional<ProfileReader> config;
};

// Why a port did not open: when the map folder itself cannot be read, that
// folder and the reason, else the reason the open gave.
std::string OpenFailure(int error) {
    std::vector<PortMapEntry> ports;
    std::string why;
    return ListPortMap(ports, &why) == PortMapStatus::SourceUnreadable ? why : FileErrorText(error);
}

// The port number of a port name: its text from the fourth character as a
// 16-bit whole number; -1 when it is not one (a blank after the comma, say).
int PortNumber(const std::string& portName) {
    int n = PortNumberOf(portName);
    return n > std::numeric_limits<std::int16_t>::max() ? -1 : n;
}

class Query {
  public:
    explicit Query(Settings settings) : s_(std::move(settings)), port_(EchoRule::KeepStale) {}

    // Runs every device line; 0, or 1 when a file could not be read or written
    // whole, else kDeviceNotRead when a listed device was not read.
    int Run(InputFile& devicePorts) {
        std::vector<std::string> lines;
        for (std::string line; devicePorts.ReadLine(line);)
            if (!(line = TrimBlanks(line)).empty()) lines.push_back(std::move(line));
        if (devicePorts.Failed())
            return EndWithMessage("File Error", "Unable to read the device port file (" + s_.devicePortFile +
                                                    ")!\r\n\r\n" + devicePorts.ErrorText());
        // Every file this run reads, so that no output of it can take one's place.
        files_.Add({"configuration file", s_.configFile});
        files_.Add({"device port file", s_.devicePortFile});
        for (const std::string& line : lines)
            if (auto comma = line.find(','); comma != std::string::npos)
                files_.Add({"initialization file", InitFileOf(line.substr(0, comma)), line.substr(0, comma)});
        if (s_.debug) {
            const FileRole trace{"debug file", s_.debugFile};
            if (const std::string same = files_.Collision({trace}); !same.empty())
                return EndWithMessage("File Error", same);
            files_.Add(trace);
        }

        bool freshTrace = true;
        for (const std::string& line : lines) {
            DeviceLine(line, freshTrace);
            freshTrace = false;
        }
        return failed_ ? kEndedByMessage : notRead_ ? kDeviceNotRead : 0;
    }

  private:
    // Every box of this program has the stop icon and an OK button.
    void Box(const std::string& title, const std::string& text) {
        status_.Clear();
        ShowMessage(title, text, MsgIcon::Critical);
    }

    void Log(const std::string& text) {
        if (s_.debug) port_.LogMessage(text);
    }

    // Ends one device's part of the trace; each device line opens and closes it.
    // False when the line went down while the port was open.
    bool EndDevice(bool closePort) {
        status_.Clear();
        if (s_.debug) {
            port_.StopDebug();
            // A trace that failed is given up: what it would tell is shown instead.
            if (!TraceWritten(port_, s_.debugFile)) {
                s_.debug = false;
                failed_ = true;
            }
        }
        return !closePort || port_.ClosePort();
    }

    // Without this line a run that missed a device would look like one that read
    // them all: it is said whatever the trace, and the run does not end as a success.
    void NotRead(const std::string& deviceName, const std::string& portName, const std::string& why) {
        notRead_ = true;
        Box("Error",
            "The device (" + deviceName + ") on serial port (" + portName + ") was not read: " + why);
    }

    // A file left incomplete: shown whatever the trace (which may sit on the
    // same full disk), and the run does not end as a success.
    void FileFailure(const std::string& text, const std::string& reason) {
        failed_ = true;
        Box("File Error", text + "\r\n\r\n" + reason);
    }

    // A file problem ends this device's run: the trace tells it with -d, a box without.
    void SkipDevice(const std::string& text) {
        failed_ = true;
        if (s_.debug)
            Log(text);
        else
            Box("File Error", text);
        EndDevice(true);
    }

    std::string InitFileOf(const std::string& deviceName) {
        if (!s_.config) s_.config = ProfileReader::FromFile(s_.configFile);
        return s_.config->GetString(deviceName, "InitCmds", InProgramFolder(deviceName + "_InitCmds.txt"));
    }

    void DeviceLine(const std::string& line, bool freshTrace) {
        auto comma = line.find(',');
        if (comma == std::string::npos) {
            if (s_.debug)
                Box("File Error", "The device port file (" + s_.devicePortFile +
                                      ") is incorrectly formatted! Please run tavohwp.exe.");
            return;
        }
        // A trace that cannot be opened is said once; the run then shows its
        // messages as it does without -d, instead of logging them to nowhere.
        if (s_.debug && !StartTrace(port_, s_.debugFile, freshTrace)) {
            s_.debug = false;
            failed_ = true;
        }

        const std::string deviceName = line.substr(0, comma);
        const std::string portName = line.substr(comma + 1);
        const std::string feedbackFile = ExpandFileTemplate(s_.feedbackTemplate, deviceName, portName);
        report_.SetFormatType(deviceName == "QUELB" ? clsCInfoFile::kQUELBFormat
                                                    : clsCInfoFile::kZIM8x8Format);
        const std::string reportFile = ExpandFileTemplate(s_.reportTemplate, deviceName, portName);
        report_.SetFilename(reportFile);

        Log("Device: " + deviceName + " on serial port " + portName);
        Log("Feedback file: " + feedbackFile);

        // Neither file is written when either would take the place of another file of the run.
        const std::vector<FileRole> outputs{{"feedback file", feedbackFile, deviceName},
                                            {"CInfo file", reportFile, deviceName}};
        if (const std::string same = files_.Collision(outputs); !same.empty()) {
            Log(same);
            FileFailure(same, "The device was skipped.");
            EndDevice(false);
            return;
        }

        const int number = PortNumber(portName);
        if (number < 0) {
            // No port can stand behind such a name; say so and go on with the next device.
            Log("Invalid serial port name (" + portName + ").\r\n");
            EndDevice(false);
            NotRead(deviceName, portName, "invalid serial port name");
            return;
        }
        // A device that echoes but never answers costs 3 s a command: on a
        // terminal, show that the query is at work and how far it has come.
        const std::string reading = "Reading " + deviceName + " on " + portName;
        status_.Show(reading + "...");
        port_.SetComPort(static_cast<std::int16_t>(number));
        port_.SetConnectOptions(9600, "N", 8, 1);
        if (!port_.OpenPort()) {
            Log("Error opening serial port " + portName + ":\r\n");
            EndDevice(false);
            NotRead(deviceName, portName, OpenFailure(port_.LastOpenError()));
            return;
        }
        if (!port_.CanSeeDevice()) {
            Log("Device not recognized on serial port " + portName + ":\r\n");
            NotRead(deviceName, portName, EndDevice(true) ? "no device answered" : kHungUp);
            return;
        }
        Log("A device was found.");

        const std::string initFile = InitFileOf(deviceName);
        InputFile commands(initFile);
        if (!commands.IsOpen()) {
            SkipDevice("Initialization file was not found for device (" + deviceName + ")\r\n\r\n" +
                       commands.ErrorText());
            return;
        }
        Log("Processing initialization file: " + initFile);

        OutputFile feedback;
        if (!feedback.Open(feedbackFile, OutputFile::Mode::Truncate)) {
            // Nothing can record this device's answers: leave it alone rather than ask it.
            FileFailure(
                "Unable to create the feedback file (" + feedbackFile + ") for device (" + deviceName + ")",
                feedback.ErrorText());
            EndDevice(true);
            return;
        }
        const auto progress = [&](std::size_t command, std::size_t total) {
            status_.Show(reading + " (command " + std::to_string(command) + " of " + std::to_string(total) +
                         ")...");
        };
        CommandFileRunner runner(&port_, {CommandFileRunner::ReplyLines::Every, portName, s_.debug, progress},
                                 {[this](const std::string& word) { report_.AddCommand(word, true); },
                                  [this] { report_.AddCommand(clsCInfoFile::kNoResponse, true); }});
        const bool read = runner.Run(commands, &feedback);
        status_.Clear();
        const std::string forDevice = ") for device (" + deviceName + ")";
        if (!feedback.Close())
            FileFailure("Unable to write the feedback file (" + feedbackFile + forDevice,
                        feedback.ErrorText());
        if (!read)
            FileFailure("Unable to read the initialization file (" + initFile + forDevice,
                        commands.ErrorText());
        if (!report_.OutputData()) failed_ = true;  // the report shows its own box
        if (!EndDevice(true))
            NotRead(deviceName, portName, kHungUp);
        else if (runner.ReadsSent() > 0 && runner.ReadsAnswered() == 0)
            // A line that only echoes (a loop-back plug) passes the presence test.
            NotRead(deviceName, portName, "no read command was answered");
    }

    Settings s_;
    FileRoles files_;  // the run's inputs and its trace
    clsComPort port_;
    clsCInfoFile report_;
    StatusLine status_{STDERR_FILENO};
    bool failed_ = false;
    bool notRead_ = false;
};

}  // namespace

int Main(const std::string& commandLine) {
    // A file-size limit then fails the write, which is reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    Settings s;
    if (!commandLine.empty()) {
        clsCmdLineParams params;
        if (!params.ParseParameters(commandLine))
            return EndWithMessage("Error", "Unable to parse application parameters!");
        if (!params.GetFlagValue("c").empty()) s.configFile = params.GetFlagValue("c");
        std::string why;
        s.config = ProfileReader::Load(s.configFile, {}, &why);
        if (!s.config)
            return EndWithMessage("File Error", "Configuration file not specified or found!\r\n\r\n" + why);

        const ProfileReader& config = *s.config;
        s.devicePortFile = config.GetString("General", "DevicePortFile", s.devicePortFile);
        s.feedbackTemplate = config.GetString("General", "FeedbackFile", s.feedbackTemplate);
        s.reportTemplate = config.GetString("General", "CInfoFile", s.reportTemplate);
        s.debugFile = config.GetString("General", "DebugFile", s.debugFile);

        for (auto [flag, target] : {std::pair{"p", &s.devicePortFile}, std::pair{"f", &s.feedbackTemplate},
                                    std::pair{"i", &s.reportTemplate}}) {
            if (!params.DoesFlagExist(flag)) continue;
            const std::string value = params.GetFlagValue(flag);
            if (value.empty())
                return EndWithMessage("Syntax Error", std::string("The -") + flag +
                                                          " parameter requires a file name argument!");
            *target = value;
        }
        if (params.DoesFlagExist("d")) {
            s.debug = true;
            if (!params.GetFlagValue("d").empty()) s.debugFile = params.GetFlagValue("d");
        }
    }

    InputFile devicePorts(s.devicePortFile);
    if (!devicePorts.IsOpen())
        return EndWithMessage("File Error", "The device port file (" + s.devicePortFile +
                                                ") was not found! Please run tavohwp.exe first.\r\n\r\n" +
                                                devicePorts.ErrorText());
    return Query(s).Run(devicePorts);
}

}  // namespace tavo::modTAVOhwp
