#pragma once
// Message boxes of the windowed program: a modal QMessageBox over the active
// window with the request's title, text, icon, buttons and default button.

#include "link/MessageBox.h"

namespace tavo {

class QtMessageBox : public IMessageBox {
  public:
    // Closing the box without a button (close box, Esc) answers Cancel where
    // the box has one, No for Yes/No, and OK for a box with only OK.
    MsgResult Show(const MessageBoxRequest& request) override;
};

}  // namespace tavo
