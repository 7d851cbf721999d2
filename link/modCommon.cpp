#include "modCommon.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "link/InputFile.h"
#include "link/MessageBox.h"
#include "link/ProgramInfo.h"
#include "link/clsComPort.h"

namespace tavo {

std::string HexPad(std::int16_t v, std::int16_t width) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(static_cast<std::uint16_t>(v)));
    std::string text(digits);
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

bool FileExists(const std::string& path) {
    // Nothing is read: a pipe keeps its content for the reader that follows,
    // which refuses it in turn when it stays silent.
    return CanOpenForReading(path);
}

bool DeleteFile(const std::string& path, bool prompt) {
    // Anything but a folder at path is deleted, also a file that cannot be read
    // or a dangling link: either would otherwise stay while we reported it gone.
    struct stat st {};
    bool present = !path.empty() && ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    if (!present) return true;
    if (prompt) {
        MsgResult answer = ShowMessage(ProgramTitle(), "Delete file (" + path + ")?", MsgIcon::Question,
                                       MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes) return false;
    }
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    if (prompt) {
        ShowMessage("File In Use", "Cannot delete file, please try again later.", MsgIcon::Exclamation,
                    MsgButtons::Ok, MsgResult::Ok);
    }
    return false;
}

std::string DeviceTypeOfReply(const std::string& reply) {
    if (reply.empty()) return {};
    return reply.size() >= 4 && reply.compare(2, 2, "00") == 0 ? "QUELB" : "ZIM-8x8";
}

std::string IdentifyDevice(clsComPort& port) {
    if (!port.IsPortOpen()) return {};
    if (!port.CanSeeDevice()) return {};
    return DeviceTypeOfReply(port.SendCmdStrResponce(kIdentifyCommand));
}

std::string TrimBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string TrimUpper(std::string_view text) { return UpperCase(TrimBlanks(text)); }

}  // namespace tavo
