#include "codes/clsDeviceProtocol.h"

#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

std::string X10NameOf(std::string_view irName) {
    constexpr std::string_view kIR = "IR ";
    if (irName.substr(0, kIR.size()) == kIR) return "X-10 " + std::string(irName.substr(kIR.size()));
    return std::string(irName);
}

}  // namespace

clsDeviceProtocol::clsDeviceProtocol(std::span<const ProtocolCodeRow> rows) {
    for (const ProtocolCodeRow& row : rows) irNames_.Add(row.irName, row.irCode);
    for (const ProtocolCodeRow& row : rows) x10Names_.Add(X10NameOf(row.irName), row.x10Code);
}

clsDeviceProtocol::~clsDeviceProtocol() = default;

clsX10Data& clsDeviceProtocol::X10Data() {
    if (!x10Data_) x10Data_ = std::make_unique<clsX10Data>();
    return *x10Data_;
}

std::string clsDeviceProtocol::GetHouseCode(std::string_view hexCode) {
    return X10Data().GetHouseCode(hexCode);
}

std::string clsDeviceProtocol::GetUnitCode(std::string_view hexCode) {
    return X10Data().GetUnitCode(hexCode);
}

std::string clsDeviceProtocol::GetFunctionStr(std::string_view hexCode) {
    return X10Data().GetFunctionStr(hexCode);
}

std::string clsDeviceProtocol::BuildX10String(std::string_view house, std::string_view unit,
                                              std::string_view func) {
    return X10Data().BuildString(house, unit, func);
}

bool clsDeviceProtocol::DecodeIRCommand(std::string_view sCmd, std::int16_t& group, std::int16_t& Key,
                                        std::string* cmdStr) {
    std::string word = TrimUpper(sCmd);
    if (word.size() != 6) return false;
    const std::string* name = irNames_.Find(word.substr(0, 2));
    std::optional<int> g = HexValue(std::string_view(word).substr(2, 2));
    std::optional<int> k = HexValue(std::string_view(word).substr(4, 2));
    if (!name || !g || !k) return false;

    if (cmdStr) *cmdStr = *name;
    group = static_cast<std::int16_t>(*g + 1);
    Key = static_cast<std::int16_t>(*k + 1);
    return true;
}

bool clsDeviceProtocol::DecodeX10Command(std::string_view sCmd, std::string& house, std::string& unit,
                                         std::string& func, std::string* cmdStr) {
    std::string word = TrimUpper(sCmd);
    if (word.size() != 6) return false;
    const std::string* name = x10Names_.Find(word.substr(0, 2));
    if (!name) return false;

    if (cmdStr) *cmdStr = *name;
    // The repeated house digit (character 5) is never read.
    clsX10Data& x10 = X10Data();
    house = x10.GetHouseCode(word);
    unit = x10.GetUnitCode(word);
    func = x10.GetFunctionStr(word);
    return true;
}

}  // namespace tavo
