// The device's reply words applied to a window's controls: the general
// registers through the model's description, the IR and X-10 code registers
// through the model's protocol object.

#include <QCheckBox>
#include <QComboBox>

#include "codes/DeviceModel.h"
#include "codes/clsDeviceProtocol.h"
#include "link/HexText.h"
#include "link/UiHooks.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

void frmDeviceWindow::ApplyReplies(const ReplySet& replies, clsDeviceProtocol& protocol) {
    mLoading = true;
    for (const auto& stored : replies) {
        const std::string& entry = stored.item;
        const std::string code = entry.substr(0, 2);
        if (!ApplyGeneralReply(entry) && !ApplyCodeReply(code, entry, protocol)) LogUnknownReply(entry);
        YieldToUi();
    }
    mLoading = false;
}

bool frmDeviceWindow::ApplyGeneralReply(const std::string& entry) {
    const GeneralReply reply = Model().readGeneralReply(entry);
    switch (reply.kind) {
        case GeneralReply::Kind::None:
            return false;
        case GeneralReply::Kind::Unreadable:
            // Logged as unknown; the controls keep what they showed.
            LogUnknownReply(entry);
            return true;
        case GeneralReply::Kind::Read:
            break;
    }
    QCheckBox* const boxes[4] = {chkEnableIR, chkMonitorIR, chkEnableX10, chkMonitorX10};
    for (std::size_t k = 0; k < 4; ++k)
        if (reply.flags[k]) SetCheckValue(boxes[k], *reply.flags[k]);
    ApplyGeneralState(reply);
    return true;
}

// The entry of a code-list register whose reply codes start at first (the
// write code + 80), -1 when code lies outside that range, entryCount when it
// lies inside as text but is no hexadecimal number.
int frmDeviceWindow::EntryOfReply(const std::string& code, int first) const {
    const int n = Model().entryCount;
    // Ranges are compared as text, as the reply codes are.
    if (code < HexPad(static_cast<std::int16_t>(first), 2) ||
        code > HexPad(static_cast<std::int16_t>(first + n - 1), 2))
        return -1;
    const auto v = HexValue(code);
    return v && *v >= first && *v < first + n ? *v - first : n;
}

bool frmDeviceWindow::ApplyCodeReply(const std::string& code, const std::string& entry,
                                     clsDeviceProtocol& protocol) {
    const int n = Model().entryCount;
    auto select = [](QComboBox* list, int index) {
        if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
    };
    for (std::size_t c = 0; c < irColumns.size(); ++c) {
        const IRCodeColumn& column = irColumns[c];
        const int i = EntryOfReply(code, Model().irWriteBases[c] + 0x80);
        if (i < 0) continue;
        std::int16_t group = 0;
        std::int16_t key = 0;
        if (i >= n || !protocol.DecodeIRCommand(entry, group, key)) return false;
        select(column.group[static_cast<std::size_t>(i)], group - 1);
        select(column.key[static_cast<std::size_t>(i)], key - 1);
        return true;
    }
    for (const X10RegisterRange& range : Model().x10Registers) {
        const int i = EntryOfReply(code, range.writeBase + 0x80);
        if (i < 0) continue;
        if (!range.appliedFromReplies) return true;
        std::string house, unit, func;
        if (i >= n || !protocol.DecodeX10Command(entry, house, unit, func)) return false;
        const X10AddressColumn& column = x10Columns[static_cast<std::size_t>(range.column)];
        if (house.size() == 1) select(column.house[static_cast<std::size_t>(i)], house[0] - 'A');
        if (!unit.empty())
            select(column.unit[static_cast<std::size_t>(i)], QString::fromStdString(unit).toInt() - 1);
        return true;
    }
    return false;
}

void frmDeviceWindow::LogUnknownReply(const std::string& entry) {
    LogIfDebugging("Unknown response from device: (" + entry + ")");
}

}  // namespace tavo
