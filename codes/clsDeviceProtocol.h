#pragma once
// What the two device models' protocol classes share: two name tables keyed
// by reply code (IR codes and X-10 codes), IR and X-10 reply decoding, and the
// X-10 tables, created at the first X-10 operation. Each model supplies only
// its rows, from its description (DeviceModel).

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "codes/DeviceModel.h"
#include "codes/clsX10Data.h"
#include "link/KeyedCollection.h"

namespace tavo {

class clsDeviceProtocol {
  public:
    clsDeviceProtocol(const clsDeviceProtocol&) = delete;
    clsDeviceProtocol& operator=(const clsDeviceProtocol&) = delete;

    std::string GetHouseCode(std::string_view hexCode);
    std::string GetUnitCode(std::string_view hexCode);
    std::string GetFunctionStr(std::string_view hexCode);
    // The X-10 code string of a house letter, unit number and function name, or "".
    std::string BuildX10String(std::string_view house, std::string_view unit, std::string_view func);

    // Decodes a six-character IR reply word. False, with no output written, when
    // the word is not six characters, its code has no IR name, or its group and
    // key digits are not hexadecimal.
    bool DecodeIRCommand(std::string_view sCmd, std::int16_t& group, std::int16_t& Key,
                         std::string* cmdStr = nullptr);
    // Decodes a six-character X-10 reply word. False, with no output written, when
    // the word is not six characters or its code has no X-10 name; a house, unit
    // or function digit without a table entry comes back as "".
    bool DecodeX10Command(std::string_view sCmd, std::string& house, std::string& unit, std::string& func,
                          std::string* cmdStr = nullptr);

    // Whether an X-10 operation has run yet (the X-10 tables exist).
    bool HasX10Data() const { return x10Data_ != nullptr; }

  protected:
    explicit clsDeviceProtocol(std::span<const ProtocolCodeRow> rows);
    ~clsDeviceProtocol();

  private:
    clsX10Data& X10Data();

    KeyedCollection<std::string> irNames_;
    KeyedCollection<std::string> x10Names_;
    std::unique_ptr<clsX10Data> x10Data_;
};

}  // namespace tavo
