#pragma once
// Shared set-up of the device window tests: program state for one selected
// device, a scripted file dialog, events processed inside waits.

#include <QComboBox>
#include <QCoreApplication>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "config/modTAVOCfg.h"
#include "link/UiHooks.h"
#include "windows/CommonDialog.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {

// Answers file dialogs from a script and records what the window asked.
struct DialogScript {
    std::deque<std::string> answers;  // file names; "" cancels
    std::vector<std::string> filters;
    std::vector<std::string> kinds;  // "open" or "save"
};

class ScriptedDialog : public ICommonDialog {
  public:
    explicit ScriptedDialog(DialogScript& script) : script_(script) {}
    std::string FileName() const override { return fileName_; }
    void SetFileName(const std::string& name) override { fileName_ = name; }
    std::string Filter() const override { return filter_; }
    void SetFilter(const std::string& filter) override { filter_ = filter; }
    void ShowOpen() override { Show("open"); }
    void ShowSave() override { Show("save"); }

  private:
    void Show(const char* kind) {
        script_.kinds.push_back(kind);
        script_.filters.push_back(filter_);
        fileName_ = script_.answers.empty() ? std::string() : script_.answers.front();
        if (!script_.answers.empty()) script_.answers.pop_front();
    }
    DialogScript& script_;
    std::string fileName_;
    std::string filter_;
};

// Program state with one device selected; restores everything at the end.
class ProgramState {
  public:
    ProgramState(std::int32_t deviceType, bool demo) {
        modTAVOCfg::ResetState();
        DeviceInstance device;
        device.Config.DeviceType = deviceType;
        device.Config.Name = deviceType == 0 ? "QUELB" : "ZIM-8x8";
        device.Port = demo ? "COM0" : "COM1";
        device.PortNumber = demo ? 0 : 1;
        device.Valid = true;
        modTAVOCfg::gDeviceInstances.push_back(device);
        modTAVOCfg::gSelectedDevice = 0;
        modTAVOCfg::gDemoMode = demo;
        SetYieldHook([] { QCoreApplication::processEvents(); });
        SetCommonDialogFactory([this](QWidget*) { return std::make_unique<ScriptedDialog>(dialogs); });
    }
    ~ProgramState() {
        SetCommonDialogFactory({});
        SetYieldHook({});
        modTAVOCfg::ResetState();
    }
    DeviceInstance& Device() { return modTAVOCfg::gDeviceInstances[0]; }

    DialogScript dialogs;
};

// Gives every code of a window a code of its own (group, key or house indexes
// 10 and up are left free for the tests to use).
inline void DistinctCodes(frmQUELB& w) {
    for (int i = 0; i < 10; ++i) {
        const auto k = static_cast<std::size_t>(i);
        w.cboIRGroupOn[k]->setCurrentIndex(20 + i);
        w.cboIRKeyOn[k]->setCurrentIndex(0);
        w.cboIRGroupOff[k]->setCurrentIndex(40 + i);
        w.cboIRKeyOff[k]->setCurrentIndex(0);
        w.cboX10House[k]->setCurrentIndex(i);
        w.cboX10Unit[k]->setCurrentIndex(0);
    }
}

inline void DistinctCodes(frmZIM8x8& w) {
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        w.cboIRGroupIN[k]->setCurrentIndex(20 + i);
        w.cboIRKeyIN[k]->setCurrentIndex(0);
        w.cboIRGroupOUT[k]->setCurrentIndex(40 + i);
        w.cboIRKeyOUT[k]->setCurrentIndex(0);
        w.cboX10HouseOUT[k]->setCurrentIndex(i);
        w.cboX10UnitOUT[k]->setCurrentIndex(0);
        w.cboX10HouseIN[k]->setCurrentIndex(i);
        w.cboX10UnitIN[k]->setCurrentIndex(1);
    }
}

}  // namespace tavo::test
