#pragma once
// Records every message box and answers from a script, so tests can play the
// user. Installs itself as the process-wide box for its lifetime.

#include <deque>
#include <functional>
#include <vector>

#include "link/MessageBox.h"

namespace tavo::test {

class ScriptedMessageBox : public IMessageBox {
  public:
    ScriptedMessageBox();
    ~ScriptedMessageBox() override;

    // Queues the answers to the next boxes; without one, the default button is taken.
    void Answer(MsgResult result) { answers_.push_back(result); }

    MsgResult Show(const MessageBoxRequest& request) override;

    const std::vector<MessageBoxRequest>& Shown() const { return shown_; }

    // Runs as each box is shown, so that a test can see what stands behind it.
    std::function<void()> onShow;

  private:
    std::deque<MsgResult> answers_;
    std::vector<MessageBoxRequest> shown_;
};

}  // namespace tavo::test
