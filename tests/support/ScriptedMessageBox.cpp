#include "tests/support/ScriptedMessageBox.h"

namespace tavo::test {

ScriptedMessageBox::ScriptedMessageBox() { SetMessageBoxHost(this); }

ScriptedMessageBox::~ScriptedMessageBox() { SetMessageBoxHost(nullptr); }

MsgResult ScriptedMessageBox::Show(const MessageBoxRequest& request) {
    shown_.push_back(request);
    if (onShow) onShow();
    if (answers_.empty()) return request.defaultButton;
    MsgResult r = answers_.front();
    answers_.pop_front();
    return r;
}

}  // namespace tavo::test
