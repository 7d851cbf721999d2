// The duplicate-code checks on a window's code lists: the codes the lists
// show go through the rules of DuplicateCodes, the lists in a duplicate are
// marked white on red, and the user is told (and perhaps asked).

#include <QComboBox>
#include <QTabWidget>

#include "codes/DeviceModel.h"
#include "link/MessageBox.h"
#include "windows/DuplicateCodes.h"
#include "windows/frmDeviceWindow.h"

namespace tavo {

namespace {

// The two arrays of one code column: group and key lists, or house and unit lists.
using ListColumn = std::pair<const ControlArray<QComboBox>*, const ControlArray<QComboBox>*>;

// The codes the columns show; every list back in its normal colours.
std::vector<CodeColumn> ShownCodes(const std::vector<ListColumn>& columns) {
    std::vector<CodeColumn> codes;
    for (const auto& [first, second] : columns) {
        CodeColumn& shown = codes.emplace_back();
        for (std::size_t i = 0; i < first->size(); ++i) {
            SetCodeListMarked((*first)[i], false);
            SetCodeListMarked((*second)[i], false);
            shown.emplace_back((*first)[i]->currentText().toStdString(),
                               (*second)[i]->currentText().toStdString());
        }
    }
    return codes;
}

void MarkFound(const std::vector<ListColumn>& columns, const DuplicateFindings& findings) {
    for (const CodePosition& p : findings.marked) {
        const auto& [first, second] = columns[static_cast<std::size_t>(p.column)];
        SetCodeListMarked((*first)[static_cast<std::size_t>(p.entry)], true);
        SetCodeListMarked((*second)[static_cast<std::size_t>(p.entry)], true);
    }
}

// Shows the outcome of a check; true when the write may go on.
bool Report(DuplicateOutcome outcome, bool irCheck, QTabWidget* tabMain) {
    if (outcome == DuplicateOutcome::Refused) {
        ShowMessage(
            "Duplicate Codes",
            "You have used the code assigned to an \rAll On/All Off function for another function.\r"
            "The duplicate codes are highlighted in red. Please\rcorrect the problem before attempting "
            "to save the\rsettings.",
            MsgIcon::Critical);
        tabMain->setCurrentIndex(irCheck ? 0 : 1);
        return false;
    }
    if (outcome == DuplicateOutcome::Asked) {
        const std::string first = irCheck ? "You have used the same IR code for multiple relays"
                                          : "You have used the same X-10 code for multiple relays";
        return ShowMessage("Duplicate Codes",
                           first +
                               "\rDuplicates are highlighted in red. If you would like \rto keep these "
                               "selections, press OK. If you would like\rto correct them, press Cancel.",
                           MsgIcon::Exclamation, MsgButtons::OkCancel, MsgResult::Cancel) == MsgResult::Ok;
    }
    return true;
}

}  // namespace

bool frmDeviceWindow::CheckDuplicateIRCodes() {
    std::vector<ListColumn> lists;
    for (const IRCodeColumn& column : irColumns) lists.emplace_back(&column.group, &column.key);
    const std::vector<CodeColumn> codes = ShownCodes(lists);
    const DuplicateFindings findings = FindDuplicateIRCodes({codes[0], codes[1]}, Model().entry0Refused);
    MarkFound(lists, findings);
    return Report(findings.outcome, true, tabMain);
}

bool frmDeviceWindow::CheckDuplicateX10Codes() {
    std::vector<ListColumn> lists;
    for (const X10AddressColumn& column : x10Columns) lists.emplace_back(&column.house, &column.unit);
    const DuplicateFindings findings =
        FindDuplicateX10Codes(ShownCodes(lists), Model().x10CheckColumns, Model().entry0Refused);
    MarkFound(lists, findings);
    return Report(findings.outcome, false, tabMain);
}

}  // namespace tavo
