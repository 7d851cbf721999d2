#include "clsCmdQueue.h"

#include <utility>

namespace tavo {

void clsCmdQueue::Push(const std::string& cmd) { queue_.Add(cmd); }

std::string clsCmdQueue::Pop() {
    if (queue_.Empty()) return {};
    std::string first = std::move(queue_.At(0));
    queue_.RemoveAt(0);
    return first;
}

}  // namespace tavo
