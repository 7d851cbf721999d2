// Drives every decoder and builder of the code tables with arbitrary words and
// checks what the callers rely on: nothing but empty text or well-formed
// codes comes back, and what is built decodes to what went in. The same words
// go through the readers of what a device sends unasked or in reply to the
// windows: monitor messages and general register replies.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "codes/MonitorMessages.h"
#include "codes/QUELBModel.h"
#include "codes/ZIM8x8Model.h"
#include "codes/clsIRData.h"
#include "codes/clsQUELBProtocol.h"
#include "codes/clsX10Data.h"
#include "codes/clsZIM8x8Protocol.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool IsUpperHex(std::string_view s) {
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

void FuzzProtocol(tavo::clsDeviceProtocol& p, const std::vector<std::string>& f) {
    std::int16_t group = -5, key = -5;
    std::string name = "unset";
    if (p.DecodeIRCommand(f[0], group, key, &name)) {
        Check(group >= 1 && group <= 256 && key >= 1 && key <= 256);
        Check(name.rfind("IR ", 0) == 0);
    } else {
        Check(group == -5 && key == -5 && name == "unset");
    }
    std::string house = "h", unit = "u", func = "f";
    name = "unset";
    if (p.DecodeX10Command(f[0], house, unit, func, &name)) {
        Check(name.rfind("X-10 ", 0) == 0);
        Check(house.size() <= 1 && unit.size() <= 2);
    } else {
        Check(house == "h" && unit == "u" && func == "f" && name == "unset");
    }

    std::string built = p.BuildX10String(f[1], f[2], f[3]);
    if (!built.empty()) {
        Check(built.size() == 4 && IsUpperHex(built) && built[0] == built[2]);
        std::string word = "A6" + built;  // a reply word of the X-10 range of both models
        Check(p.DecodeX10Command(word, house, unit, func));
        Check(p.BuildX10String(house, unit, func) == built);
    }
    (void)p.GetHouseCode(f[1]);
    (void)p.GetUnitCode(f[2]);
    (void)p.GetFunctionStr(f[3]);
}

bool IsNumberIn(const std::string& s, int low, int high) {
    if (s.empty() || s.size() > 3) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    const int v = std::stoi(s);
    return v >= low && v <= high;
}

void FuzzMonitor(const std::string& message) {
    std::string group = "g", key = "k";
    if (tavo::DecodeIRMonitor(message, group, key))
        Check(IsNumberIn(group, 1, 256) && IsNumberIn(key, 1, 256));
    else
        Check(group == "g" && key == "k");
    for (std::size_t length : {std::size_t{6}, std::size_t{12}, message.size()}) {
        std::string house = "h", unit = "u", func = "f";
        if (tavo::DecodeX10Monitor(length, message, house, unit, &func))
            Check(house.size() == 1 && house[0] >= 'A' && house[0] <= 'P' && IsNumberIn(unit, 1, 16) &&
                  !func.empty());
        else
            Check(house == "h" && unit == "u" && func == "f");
        const tavo::X10MonitorText text = tavo::X10MonitorDisplay(length, message);
        Check(text.house.size() <= 1 && text.unit.size() <= 2);
    }
}

// A general register reply and the general settings lines of one model; the
// lines are always six upper-case hexadecimal digits, whatever the boxes and
// the routing table hold.
void FuzzGeneral(const tavo::DeviceModel& model, const std::string& word, const std::string& bytes) {
    const tavo::GeneralReply reply = model.readGeneralReply(word);
    for (const auto& flag : reply.flags) Check(!flag || *flag == 0 || *flag == 1);
    for (const auto& input : reply.routing) Check(!input || (*input >= -1 && *input <= 14));
    Check(!reply.relays || *reply.relays <= 0xFFF);
    if (reply.kind != tavo::GeneralReply::Kind::Read) Check(!reply.relays);

    std::int16_t routing[8] = {};
    for (std::size_t o = 0; o < 8 && 2 * o + 1 < bytes.size(); ++o)
        routing[o] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * o]) << 8 |
                                               static_cast<unsigned char>(bytes[2 * o + 1]));
    const int ir = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 3;
    const int x10 = bytes.size() < 2 ? 0 : static_cast<unsigned char>(bytes[1]) % 3;
    for (const std::string& line : model.generalSettingsLines({ir, x10, routing}))
        Check(line.size() == 6 && IsUpperHex(line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Fields are separated by '|'; missing fields are empty.
    std::vector<std::string> f(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '|' && f.size() < 6)
            f.emplace_back();
        else
            f.back() += static_cast<char>(data[i]);
    }
    f.resize(6);

    tavo::clsQUELBProtocol relay;
    tavo::clsZIM8x8Protocol matrix;
    FuzzProtocol(relay, f);
    FuzzProtocol(matrix, f);

    FuzzMonitor(f[0]);
    FuzzGeneral(tavo::kQUELBModel, f[0], f[5]);
    FuzzGeneral(tavo::kZIM8x8Model, f[0], f[5]);

    tavo::clsX10Data x10;
    (void)x10.GetHouseCode(f[0]);
    (void)x10.GetUnitCode(f[0]);
    (void)x10.GetFunctionStr(f[0]);

    tavo::clsIRData ir;
    std::string tmpl = ir.GetCommandStr(f[0]);
    Check(tmpl.empty() || tmpl.find("[REPLACE]") != std::string::npos);
    std::string name = "unset";
    std::int16_t group = -5, key = -5;
    if (ir.DecodeHexString(f[0], f[4], name, group, key)) {
        Check(group >= 1 && group <= 256 && key >= 1 && key <= 256);
    } else {
        Check(name == "unset" && group == -5 && key == -5);
    }
    // Group and key from the fuzz bytes, over the whole 16-bit range.
    std::int16_t g = static_cast<std::int16_t>(
        f[5].size() > 1 ? (static_cast<unsigned char>(f[5][0]) << 8 | static_cast<unsigned char>(f[5][1]))
                        : 1);
    std::int16_t k = static_cast<std::int16_t>(
        f[5].size() > 3 ? (static_cast<unsigned char>(f[5][2]) << 8 | static_cast<unsigned char>(f[5][3]))
                        : 1);
    std::string code = ir.BuildString(f[0], g, k);
    if (!code.empty()) {
        Check(code.size() == 6 && IsUpperHex(code));
        Check(ir.DecodeHexString(code, "RELAY", name, group, key) && group == g && key == k);
    }
    return 0;
}
