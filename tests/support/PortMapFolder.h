#pragma once
// A port-map folder in a fresh temporary folder, installed as $TAVO_PORTS for
// its lifetime (the earlier value comes back at the end); its entries COM<n>
// are symbolic links.

#include <string>

#include "tests/support/TempFolder.h"

namespace tavo::test {

class PortMapFolder {
  public:
    PortMapFolder();
    ~PortMapFolder();
    PortMapFolder(const PortMapFolder&) = delete;
    PortMapFolder& operator=(const PortMapFolder&) = delete;

    // Points COM<number> at target, replacing an earlier entry.
    void Map(int number, const std::string& target);
    const std::string& Path() const { return folder_.Path(); }

  private:
    TempFolder folder_;
    std::string previous_;
    bool hadPrevious_ = false;
};

}  // namespace tavo::test
