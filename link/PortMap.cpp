#include "PortMap.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

#include "InputFile.h"

namespace tavo {

namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Sets why (when asked for) to the path and the system's reason for error, and gives status.
PortMapStatus Failed(PortMapStatus status, const std::string& path, int error, std::string* why) {
    if (why) *why = path + ": " + FileErrorText(error);
    return status;
}

// Reads a folder's entry names; false when it cannot be opened.
bool ReadFolder(const std::string& path, std::vector<std::string>& names, std::string* why) {
    DIR* dir = ::opendir(path.c_str());
    if (!dir) {
        Failed(PortMapStatus::SourceUnreadable, path, errno, why);
        return false;
    }
    while (dirent* e = ::readdir(dir)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(std::move(n));
    }
    ::closedir(dir);
    return true;
}

// Whole-number suffix of text after prefix; -1 when absent or not all digits.
int NumberAfter(const std::string& text, std::size_t prefixLength) {
    if (text.size() <= prefixLength) return -1;
    const char* first = text.data() + prefixLength;
    const char* last = text.data() + text.size();
    int value = -1;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || value < 0) return -1;
    return value;
}

PortMapStatus ListFromFolder(const std::string& folder, std::vector<PortMapEntry>& out, std::string* why) {
    std::vector<std::string> names;
    if (!ReadFolder(folder, names, why)) return PortMapStatus::SourceUnreadable;
    std::vector<PortMapEntry> found;
    for (const auto& name : names) {
        if (name.rfind("COM", 0) != 0) continue;
        int number = NumberAfter(name, 3);
        if (number < 0) continue;
        found.push_back(PortMapEntry{number, name, {}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    for (auto& entry : found) {
        std::string path = folder + "/" + entry.name;
        if (entry.name.size() > kPortMapMaxText)
            return Failed(PortMapStatus::EntryTooLong, path, ENAMETOOLONG, why);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return Failed(PortMapStatus::EntryUnreadable, path, errno, why);
        if (S_ISLNK(st.st_mode)) {
            std::string target(4096, '\0');
            ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
            if (n < 0) return Failed(PortMapStatus::EntryUnreadable, path, errno, why);
            target.resize(static_cast<std::size_t>(n));
            // A relative link is relative to the map folder, as the file system resolves it.
            entry.target = target.empty() || target[0] == '/' ? target : folder + "/" + target;
            if (target.size() > kPortMapMaxText)
                return Failed(PortMapStatus::EntryTooLong, path, ENAMETOOLONG, why);
        } else {
            entry.target = path;
        }
        out.push_back(entry);
    }
    return PortMapStatus::Ok;
}

std::string ReadFirstLine(const std::string& path) {
    InputFile in(path);
    std::string line;
    in.ReadLine(line);
    return line;
}

}  // namespace

PortMapStatus ListPortsFromSysfs(const std::string& sysTty, std::vector<PortMapEntry>& out,
                                 std::string* why) {
    std::vector<std::string> names;
    if (!ReadFolder(sysTty, names, why)) return PortMapStatus::SourceUnreadable;

    // A port that carries the system console is not free for a device.
    std::set<std::string> consoles;
    {
        std::istringstream active(ReadFirstLine(sysTty + "/console/active"));
        for (std::string c; active >> c;) consoles.insert(c);
    }

    std::vector<PortMapEntry> found;
    std::set<int> used;
    for (const auto& name : names) {
        if (name.rfind("ttyS", 0) != 0 || consoles.count(name)) continue;
        int k = NumberAfter(name, 4);
        if (k < 0) continue;
        // Only ports with a UART behind them: the "type" of an empty slot is 0.
        std::string type = ReadFirstLine(sysTty + "/" + name + "/type");
        if (type.empty() || type == "0") continue;
        found.push_back(PortMapEntry{k + 1, "COM" + std::to_string(k + 1), "/dev/" + name});
        used.insert(k + 1);
    }
    int next = 1;
    for (const std::string_view prefix : {"ttyUSB", "ttyACM"}) {
        // In the order of their numbers, so that ttyUSB2 comes before ttyUSB10.
        std::vector<std::pair<int, std::string>> numbered;
        for (const auto& name : names) {
            if (name.rfind(prefix, 0) != 0 || consoles.count(name)) continue;
            if (int k = NumberAfter(name, prefix.size()); k >= 0) numbered.emplace_back(k, name);
        }
        std::sort(numbered.begin(), numbered.end());
        for (const auto& [k, name] : numbered) {
            while (used.count(next)) ++next;
            found.push_back(PortMapEntry{next, "COM" + std::to_string(next), "/dev/" + name});
            used.insert(next);
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    out.insert(out.end(), found.begin(), found.end());
    return PortMapStatus::Ok;
}

std::string PortMapFolder() {
    if (const char* env = std::getenv("TAVO_PORTS"); env && *env) return env;
    if (const char* home = std::getenv("HOME"); home && *home) {
        std::string user = std::string(home) + "/.config/tavo/ports";
        if (IsFolder(user)) return user;
    }
    if (IsFolder("/etc/tavo/ports")) return "/etc/tavo/ports";
    return {};
}

PortMapStatus ListPortMap(std::vector<PortMapEntry>& out, std::string* why) {
    std::string folder = PortMapFolder();
    return folder.empty() ? ListPortsFromSysfs("/sys/class/tty", out, why) : ListFromFolder(folder, out, why);
}

std::string PortMapProblem() {
    std::vector<PortMapEntry> ports;
    std::string why;
    ListPortMap(ports, &why);
    return why;
}

std::string PortDevicePath(int number) {
    std::vector<PortMapEntry> ports;
    ListPortMap(ports);  // a later unreadable entry does not hide the ones before it
    for (const auto& p : ports)
        if (p.number == number) return p.target;
    return {};
}

int PortNumberOf(const std::string& portName) { return NumberAfter(portName, 3); }

}  // namespace tavo
