// Writing a window's settings, as the write command words that set them, to
// the device or to a settings file: the general settings, the IR codes, then
// the X-10 codes.

#include <QCheckBox>
#include <QComboBox>
#include <cerrno>
#include <cstring>

#include "codes/DeviceModel.h"
#include "codes/clsDeviceProtocol.h"
#include "link/MessageBox.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

int ListNumber(const QComboBox* list) { return list->currentText().toInt(); }

std::string ErrorDescription(int err) { return err ? std::strerror(err) : "Unknown error"; }

}  // namespace

bool frmDeviceWindow::SendOrPrintCommand(const std::string& command, std::FILE* fileNumber) {
    if (!fileNumber) return mComPort && mComPort->SendCmdString(command, true);
    errno = 0;
    if (std::fputs((command + "\r\n").c_str(), fileNumber) < 0 || std::ferror(fileNumber)) {
        lastFileError_ = ErrorDescription(errno);
        return false;
    }
    return true;
}

// Opens file for appending, hands every line on, and closes it again.
bool frmDeviceWindow::WriteLines(const std::optional<std::string>& file,
                                 const std::vector<std::string>& lines) {
    std::FILE* out = nullptr;
    if (file) {
        errno = 0;
        out = std::fopen(file->c_str(), "ab");
        if (!out) {
            lastFileError_ = ErrorDescription(errno);
            return false;
        }
    }
    bool ok = true;
    for (const auto& line : lines) {
        if (!SendOrPrintCommand(line, out)) {
            ok = false;
            break;
        }
    }
    if (out) {
        errno = 0;
        if (std::fclose(out) != 0 && ok) {
            lastFileError_ = ErrorDescription(errno);
            ok = false;
        }
    }
    return ok;
}

std::vector<std::string> frmDeviceWindow::GeneralSettingsLines() const {
    return Model().generalSettingsLines({CheckValue(chkEnableIR), CheckValue(chkEnableX10), RoutingTable()});
}

bool frmDeviceWindow::WriteGeneralSettings(const std::optional<std::string>& file) {
    return WriteLines(file, GeneralSettingsLines());
}

bool frmDeviceWindow::WriteIRCodes(const std::optional<std::string>& file) {
    std::vector<std::string> lines;
    for (std::size_t c = 0; c < irColumns.size(); ++c) {
        const IRCodeColumn& column = irColumns[c];
        for (std::size_t i = 0; i < column.group.size(); ++i)
            lines.push_back(
                HexPad(static_cast<std::int16_t>(Model().irWriteBases[c] + static_cast<int>(i)), 2) +
                HexPad(static_cast<std::int16_t>(ListNumber(column.group[i]) - 1), 2) +
                HexPad(static_cast<std::int16_t>(ListNumber(column.key[i]) - 1), 2));
    }
    return WriteLines(file, lines);
}

bool frmDeviceWindow::WriteX10CodesWith(const std::optional<std::string>& file, clsDeviceProtocol& protocol) {
    std::vector<std::string> lines;
    for (const X10RegisterRange& range : Model().x10Registers) {
        const X10AddressColumn& column = x10Columns[static_cast<std::size_t>(range.column)];
        for (std::size_t i = 0; i < column.house.size(); ++i)
            lines.push_back(HexPad(static_cast<std::int16_t>(range.writeBase + static_cast<int>(i)), 2) +
                            protocol.BuildX10String(column.house[i]->currentText().toStdString(),
                                                    column.unit[i]->currentText().toStdString(),
                                                    range.function));
    }
    return WriteLines(file, lines);
}

bool frmDeviceWindow::WriteSettingsToDevice() {
    if (!CheckDuplicateIRCodes()) return false;
    if (!CheckDuplicateX10Codes()) return false;
    SetBusy(true);
    auto fail = [this](const char* text) {
        ShowMessage("Error Writing Settings", text, MsgIcon::Critical);
        SetBusy(false);
        return false;
    };
    if (!WriteGeneralSettings()) return fail("An error occured writing settings to the device!");
    if (!WriteIRCodes()) return fail("An error occured writing IR settings to the device!");
    if (!WriteX10Codes()) return fail("An error occured writing X-10 settings to the device!");
    SetBusy(false);
    return true;
}

bool frmDeviceWindow::SaveSettingsFile() {
    if (!CheckDuplicateIRCodes()) return false;
    if (!CheckDuplicateX10Codes()) return false;
    CommonDialog1->SetFileName("");
    CommonDialog1->SetFilter(kFileFilter);
    CommonDialog1->ShowSave();
    const std::string name = CommonDialog1->FileName();
    if (name.empty()) return false;
    if (FileExists(name)) {
        if (ShowMessage("Replace file?", "Replace " + name + "?", MsgIcon::Question, MsgButtons::YesNo,
                        MsgResult::No) != MsgResult::Yes)
            return false;
    }
    auto report = [this, &name](const char* what) {
        ShowMessage("Error Writing Settings",
                    std::string("An error occured writing ") + what + "to file (" + name +
                        ")!\r\nError: " + lastFileError_,
                    MsgIcon::Critical);
        return false;
    };
    // The writers append: an old file left in place would keep its lines in front of the new ones.
    errno = 0;
    if (!DeleteFile(name, false)) {
        lastFileError_ = ErrorDescription(errno);
        return report("settings ");
    }
    SetBusy(true);
    SetStatusText("Saving to file, please wait...");
    auto fail = [this, &report](const char* what) {
        report(what);
        SetBusy(false);
        return false;
    };
    if (!WriteGeneralSettings(name)) return fail("settings ");
    if (!WriteIRCodes(name)) return fail("IR settings ");
    if (!WriteX10Codes(name)) return fail("X-10 settings ");
    SetBusy(false);
    return true;
}

}  // namespace tavo
