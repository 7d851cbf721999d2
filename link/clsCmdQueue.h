#pragma once
// First-in, first-out list of the command words a device window sends.

#include <cstddef>
#include <string>

#include "link/KeyedCollection.h"

namespace tavo {

class clsCmdQueue {
  public:
    // Appends cmd at the end.
    void Push(const std::string& cmd);
    // Removes and returns the first word; an empty string when the queue is empty.
    std::string Pop();

    std::size_t Count() const { return queue_.Count(); }

  private:
    KeyedCollection<std::string> queue_;  // used without keys
};

}  // namespace tavo
