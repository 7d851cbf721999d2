#include "MessageBox.h"

#include <cstdio>

namespace tavo {

namespace {
ConsoleMessageBox gConsoleBox;
IMessageBox* gHost = nullptr;
}  // namespace

MsgResult ConsoleMessageBox::Show(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
    std::fflush(stderr);
    return request.defaultButton;
}

void SetMessageBoxHost(IMessageBox* host) { gHost = host; }

IMessageBox& MessageBoxHost() { return gHost ? *gHost : gConsoleBox; }

MsgResult ShowMessage(const std::string& title, const std::string& text, MsgIcon icon, MsgButtons buttons,
                      MsgResult defaultButton) {
    return MessageBoxHost().Show(MessageBoxRequest{title, text, icon, buttons, defaultButton});
}

int EndWithMessage(const std::string& title, const std::string& text) {
    ShowMessage(title, text, MsgIcon::Critical);
    return kEndedByMessage;
}

}  // namespace tavo
