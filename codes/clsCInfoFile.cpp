#include "codes/clsCInfoFile.h"

#include <optional>

#include "codes/clsQUELBProtocol.h"
#include "codes/clsZIM8x8Protocol.h"
#include "link/HexText.h"
#include "link/MessageBox.h"
#include "link/OutputFile.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

constexpr std::string_view kEol = "\r\n";

// Reply codes of the IR and X-10 registers of one layout; an empty line follows
// the line of each range's last code.
struct CodeRanges {
    std::string_view irFirst, irLast, x10First, x10Last;
};

// Binary (character code) order, as the codes are compared.
bool InRange(const std::string& code, std::string_view first, std::string_view last) {
    return code.compare(first) >= 0 && code.compare(last) <= 0;
}

bool EndsWithNoResponse(const std::string& entry) {
    return entry.size() >= 4 && entry.compare(entry.size() - 4, 4, clsCInfoFile::kNoResponse) == 0;
}

void AppendLine(std::string& out, std::string_view text) {
    out += '\t';
    out += text;
    out += kEol;
}

void AppendUnknown(std::string& out) { AppendLine(out, "UNKNOWN COMMAND"); }

// IR ENABLE, IR MONITOR, X-10 ENABLE, X-10 MONITOR, then an empty line.
void AppendFlags(std::string& out, const bool (&flags)[4]) {
    static constexpr std::string_view kNames[] = {"IR ENABLE", "IR MONITOR", "X-10 ENABLE", "X-10 MONITOR"};
    for (int i = 0; i < 4; ++i) {
        std::string line = "(";
        line += flags[i] ? 'Y' : 'N';
        line += ")  ";
        line += kNames[i];
        AppendLine(out, line);
    }
    out += kEol;
}

// False when the word cannot be decoded; nothing is appended then.
bool AppendIRLine(std::string& out, clsDeviceProtocol& protocol, const std::string& entry) {
    std::int16_t group = 0;
    std::int16_t key = 0;
    std::string name;
    if (!protocol.DecodeIRCommand(entry, group, key, &name)) return false;
    // Short keys get a second tab so the names line up.
    AppendLine(out, "GROUP = " + std::to_string(group) + "\tKEY = " + std::to_string(key) +
                        (key < 10 ? "\t\t" : "\t") + name);
    return true;
}

bool AppendX10Line(std::string& out, clsDeviceProtocol& protocol, const std::string& entry) {
    std::string house, unit, func, name;
    if (!protocol.DecodeX10Command(entry, house, unit, func, &name)) return false;
    AppendLine(out, "HOUSE = " + house + "\tUNIT = " + unit + "\tFUNCTION = " + func + "\t\t" + name);
    return true;
}

// Appends the block of a device register that is neither IR nor X-10; false
// when the layout has no such register.
using DeviceBlockFn = bool (*)(std::string& out, const std::string& code, const std::string& entry);

// The walk both layouts share. Entries are reply words of six characters; any
// other length cannot be read and shows as an unknown command.
template <typename Protocol>
std::string BuildReport(const KeyedCollection<std::string>& entries, const CodeRanges& ranges,
                        DeviceBlockFn deviceBlock) {
    std::string out;
    std::optional<Protocol> protocol;  // made at the first IR or X-10 entry
    for (const auto& e : entries) {
        const std::string& entry = e.item;
        const std::string code = entry.substr(0, 2);
        out += entry;
        if (EndsWithNoResponse(entry)) {
            AppendLine(out, "NO RESPONSE FROM DEVICE");
            continue;
        }
        if (entry.size() != 6) {
            AppendUnknown(out);
            continue;
        }
        const bool isIR = InRange(code, ranges.irFirst, ranges.irLast);
        const bool isX10 = InRange(code, ranges.x10First, ranges.x10Last);
        if (isIR || isX10) {
            if (!protocol) protocol.emplace();
            bool written = isIR ? AppendIRLine(out, *protocol, entry) : AppendX10Line(out, *protocol, entry);
            if (!written)
                AppendUnknown(out);
            else if (code == ranges.irLast || code == ranges.x10Last)
                out += kEol;
        } else if (!deviceBlock(out, code, entry)) {
            AppendUnknown(out);
        }
    }
    return out;
}

bool QUELBDeviceBlock(std::string& out, const std::string& code, const std::string& entry) {
    if (code == "80") {
        std::optional<int> v = HexValue(std::string_view(entry).substr(5, 1));
        if (!v) {
            AppendUnknown(out);
            return true;
        }
        const bool flags[4] = {(*v & 8) != 0, (*v & 4) != 0, (*v & 2) != 0, (*v & 1) != 0};
        AppendFlags(out, flags);
        return true;
    }
    if (code == "84") {
        std::optional<int> v = HexValue(std::string_view(entry).substr(3, 3));
        if (!v) {
            AppendUnknown(out);
            return true;
        }
        auto state = [&](int bit) {
            return (*v >> bit & 1) ? std::string("(ON)   ") : std::string("(OFF)  ");
        };
        AppendLine(out, state(8) + "B RELAY");
        for (int relay = 1; relay <= 8; ++relay)
            AppendLine(out, state(relay - 1) + "#" + std::to_string(relay) + " RELAY");
        out += kEol;
        return true;
    }
    return false;
}

bool ZIM8x8DeviceBlock(std::string& out, const std::string& code, const std::string& entry) {
    // Routing: characters 3 to 6 are the inputs of outputs 1-4 ("81") or 5-8 ("82").
    if (code == "81" || code == "82") {
        const int firstOutput = code == "81" ? 1 : 5;
        for (std::size_t i = 0; i < 4; ++i) {
            AppendLine(out, std::string("INPUT #") + entry[2 + i] + " ROUTED TO #" +
                                std::to_string(firstOutput + static_cast<int>(i)) + " OUTPUT");
        }
        if (code == "82") out += kEol;
        return true;
    }
    if (code == "8C") {
        const bool flags[4] = {entry[2] != '0', entry[3] != '0', entry[4] != '0', entry[5] != '0'};
        AppendFlags(out, flags);
        return true;
    }
    return false;
}

constexpr CodeRanges kQUELBRanges{"90", "A3", "A4", "B7"};
constexpr CodeRanges kZIM8x8Ranges{"90", "9F", "A0", "AF"};

}  // namespace

void clsCInfoFile::Reset() { replies_.Clear(); }

void clsCInfoFile::SetFormatType(std::int32_t ft) {
    formatType_ = ft;
    Reset();
}

void clsCInfoFile::SetFilename(std::string_view sFilename) { fileName_ = TrimBlanks(sFilename); }

bool clsCInfoFile::AddCommand(std::string_view sCmd, bool fSorted) {
    // Keys are upper-cased so that the binary order and the collection's
    // case-blind key match agree; a word is stored as given.
    const std::string key = UpperCase(sCmd.substr(0, 2));
    const std::string word(sCmd);

    // One entry per code in either mode: a later word replaces the stored one in place.
    for (std::size_t i = 0; i < replies_.Count(); ++i) {
        if (replies_.KeyAt(i) == key) {
            replies_.At(i) = word;
            return true;
        }
    }

    std::size_t at = replies_.Count();
    if (fSorted) {
        for (std::size_t i = 0; i < replies_.Count(); ++i) {
            if (replies_.KeyAt(i) > key) {
                at = i;
                break;
            }
        }
    }
    if (at == replies_.Count()) {
        replies_.Add(word, key);
        return true;
    }

    KeyedCollection<std::string> rebuilt;
    for (std::size_t i = 0; i < replies_.Count(); ++i) {
        if (i == at) rebuilt.Add(word, key);
        rebuilt.Add(replies_.At(i), replies_.KeyAt(i));
    }
    replies_ = std::move(rebuilt);
    return true;
}

bool clsCInfoFile::AddCommands(const KeyedCollection<std::string>& replies, bool fSorted) {
    for (const auto& e : replies) AddCommand(e.item, fSorted);
    return true;
}

bool clsCInfoFile::OutputData(std::string_view sFile) {
    const std::string file = TrimBlanks(sFile);
    if (fileName_.empty() && file.empty()) return false;
    if (!file.empty()) fileName_ = file;

    errorDescription_.clear();
    bool written;
    if (formatType_ == kQUELBFormat)
        written = WriteQUELBReport();
    else if (formatType_ == kZIM8x8Format)
        written = WriteZIM8x8Report();
    else
        return false;
    if (written) return true;

    const std::string text =
        errorDescription_.empty()
            ? std::string("An unknown error occured attempting to write the CInfo file!")
            : "An error occured attemping to write the CInfo file!\r\n\r\nThe error object contains:\r\n" +
                  errorDescription_;
    ShowMessage("Error", text, MsgIcon::Critical);
    return false;
}

bool clsCInfoFile::OpenOutputFile(OutputFile& file) {
    // A folder, a named pipe or a device is no report file; the error stays recorded.
    if (file.Open(fileName_, OutputFile::Mode::Truncate)) return true;
    errorDescription_ = file.ErrorText();
    return false;
}

bool clsCInfoFile::FinishOutputFile(OutputFile& file, const std::string& text) {
    file.Write(text);
    if (file.Close()) return true;
    errorDescription_ = file.ErrorText();
    return false;
}

bool clsCInfoFile::WriteQUELBReport() {
    OutputFile file;
    if (!OpenOutputFile(file)) return false;
    return FinishOutputFile(file, BuildReport<clsQUELBProtocol>(replies_, kQUELBRanges, QUELBDeviceBlock));
}

bool clsCInfoFile::WriteZIM8x8Report() {
    OutputFile file;
    if (!OpenOutputFile(file)) return false;
    return FinishOutputFile(file, BuildReport<clsZIM8x8Protocol>(replies_, kZIM8x8Ranges, ZIM8x8DeviceBlock));
}

}  // namespace tavo
