#pragma once
// Message boxes go through this interface: the windowed program shows real
// boxes, the console programs print them to standard error, and tests answer
// them with a scripted recorder.

#include <string>

namespace tavo {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    std::string title;
    std::string text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;
};

class IMessageBox {
  public:
    virtual ~IMessageBox() = default;
    virtual MsgResult Show(const MessageBoxRequest& request) = 0;
};

// Prints "Title: text" to standard error and takes the default button.
class ConsoleMessageBox : public IMessageBox {
  public:
    MsgResult Show(const MessageBoxRequest& request) override;
};

// Installs the process-wide message box; nullptr restores the console one.
void SetMessageBoxHost(IMessageBox* host);
IMessageBox& MessageBoxHost();

// Exit status of a program that a message box ended, so a script can tell.
constexpr int kEndedByMessage = 1;

// Shows a critical box that ends the program; returns kEndedByMessage for main() to give back.
int EndWithMessage(const std::string& title, const std::string& text);

MsgResult ShowMessage(const std::string& title, const std::string& text, MsgIcon icon = MsgIcon::None,
                      MsgButtons buttons = MsgButtons::Ok, MsgResult defaultButton = MsgResult::Ok);

}  // namespace tavo
