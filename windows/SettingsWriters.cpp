// Writing a window's settings, as the write command words that set them, to
// the device or to a settings file: the general settings, the IR codes, then
// the X-10 codes.

#include <QCheckBox>
#include <QComboBox>

#include "codes/DeviceModel.h"
#include "codes/clsDeviceProtocol.h"
#include "link/MessageBox.h"
#include "link/OutputFile.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

int ListNumber(const QComboBox* list) { return list->currentText().toInt(); }

}  // namespace

bool frmDeviceWindow::SendOrPrintCommand(const std::string& command, OutputFile* fileNumber) {
    if (!fileNumber) return mComPort && mComPort->SendCmdString(command, true);
    return fileNumber->WriteLine(command);
}

// Hands every line on, to the device or into the open settings file.
bool frmDeviceWindow::WriteLines(OutputFile* file, const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        if (!SendOrPrintCommand(line, file)) return false;
    return true;
}

std::vector<std::string> frmDeviceWindow::GeneralSettingsLines() const {
    return Model().generalSettingsLines({CheckValue(chkEnableIR), CheckValue(chkEnableX10), RoutingTable()});
}

bool frmDeviceWindow::WriteGeneralSettings(OutputFile* file) {
    return WriteLines(file, GeneralSettingsLines());
}

bool frmDeviceWindow::WriteIRCodes(OutputFile* file) {
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

bool frmDeviceWindow::WriteX10CodesWith(OutputFile* file, clsDeviceProtocol& protocol) {
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
    // The file is built beside its place and takes it only when complete, so a
    // failure (a full disk, say) leaves the earlier file as it was.
    OutputFile file;
    auto fail = [this, &name, &file](const char* what) {
        file.Discard();
        ShowMessage("Error Writing Settings",
                    std::string("An error occured writing ") + what + "to file (" + name +
                        ")!\r\nError: " + file.ErrorText(),
                    MsgIcon::Critical);
        SetBusy(false);
        return false;
    };
    SetBusy(true);
    SetStatusText("Saving to file, please wait...");
    if (!file.Open(name, OutputFile::Mode::Replace)) return fail("settings ");
    if (!WriteGeneralSettings(&file)) return fail("settings ");
    if (!WriteIRCodes(&file)) return fail("IR settings ");
    if (!WriteX10Codes(&file)) return fail("X-10 settings ");
    if (!file.Close()) return fail("settings ");
    SetBusy(false);
    return true;
}

}  // namespace tavo
