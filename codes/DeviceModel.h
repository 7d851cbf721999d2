#pragma once
// What the configuration windows and the report need to know of one device
// model: the names of its code registers, where its IR and X-10 codes live,
// the command words of its monitor modes and enable flags, the length of its
// X-10 monitor message, how its general registers read and are written, and
// the reply set of its demo mode. Each model is described in one file
// (QUELBModel.cpp, ZIM8x8Model.cpp); the windows add only captions and layout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// One row of a model's code tables: an IR reply code with its name, and the
// X-10 reply code of the same function. The X-10 name is the IR name with its
// leading "IR " replaced by "X-10 ".
struct ProtocolCodeRow {
    const char* irCode;
    const char* irName;
    const char* x10Code;
};

// One range of X-10 registers, one register per entry. Its replies come back
// under writeBase + 80 (hexadecimal) onwards.
struct X10RegisterRange {
    int writeBase;
    int column;               // the address column it holds (0 or 1)
    const char* function;     // written with every address: "ON" or "OFF"
    bool appliedFromReplies;  // false: its replies repeat another range's addresses
};

// The flags of the general registers, in the order in which replies and
// GeneralReply::flags carry them.
enum GeneralFlag : std::size_t { kEnableIRFlag, kMonitorIRFlag, kEnableX10Flag, kMonitorX10Flag };

// What one reply word says about the general registers.
struct GeneralReply {
    enum class Kind {
        None,        // not a reply of a general register
        Unreadable,  // a general register's reply without the digits it must carry
        Read,
    };
    Kind kind = Kind::None;
    std::array<std::optional<int>, 4> flags{};    // 0 or 1 for each flag the reply carries
    std::optional<unsigned> relays;               // relay controller: bit i relay i + 1, bit 8 the A/B relay
    std::array<std::optional<int>, 8> routing{};  // matrix switch: 0-based input of each output it carries
};

// What the general settings lines are written from.
struct GeneralSettings {
    int enableIR = 0;  // check-box values: 0 clear, 1 ticked, 2 grey
    int enableX10 = 0;
    std::span<const std::int16_t> routing;  // matrix switch: 0-based input of each output
};

struct DeviceModel {
    std::span<const ProtocolCodeRow> codeRows;

    // Rows of the code lists: every entry has two IR codes, one per IR column,
    // written to irWriteBases[column] + entry.
    int entryCount;
    std::array<int, 2> irWriteBases;
    // X-10 addresses: x10ColumnCount columns of entryCount addresses, written
    // to the register ranges below in their order.
    int x10ColumnCount;
    std::span<const X10RegisterRange> x10Registers;

    // Monitor mode command words (write commands, no reply) and the length of an X-10 monitor message.
    const char* irMonitorOn;
    const char* irMonitorOff;
    const char* x10MonitorOn;
    const char* x10MonitorOff;
    std::size_t x10MonitorLength;

    // Words that switch IR and X-10 control on and off.
    const char* enableIROn;
    const char* enableIROff;
    const char* enableX10On;
    const char* enableX10Off;

    // Duplicate codes: a code that entry 0 shares with another function is
    // refused rather than asked about; the X-10 addresses of column
    // x10CheckColumns[0] are compared with those of x10CheckColumns[1] at every
    // other entry.
    bool entry0Refused;
    std::array<int, 2> x10CheckColumns;

    // The general registers: one reply word read, and the lines that write them.
    GeneralReply (*readGeneralReply)(std::string_view word);
    std::vector<std::string> (*generalSettingsLines)(const GeneralSettings& settings);

    // The replies of demo mode, in reply-set order.
    std::span<const char* const> demoReplies;
};

}  // namespace tavo
