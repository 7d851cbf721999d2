#include "tests/support/PortMapFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace tavo::test {

PortMapFolder::PortMapFolder() {
    if (const char* prev = std::getenv("TAVO_PORTS")) {
        previous_ = prev;
        hadPrevious_ = true;
    }
    ::setenv("TAVO_PORTS", Path().c_str(), 1);
}

PortMapFolder::~PortMapFolder() {
    if (hadPrevious_)
        ::setenv("TAVO_PORTS", previous_.c_str(), 1);
    else
        ::unsetenv("TAVO_PORTS");
}

void PortMapFolder::Map(int number, const std::string& target) {
    std::string link = folder_.File("COM" + std::to_string(number));
    ::unlink(link.c_str());
    if (::symlink(target.c_str(), link.c_str()) != 0) throw std::runtime_error("symlink failed");
}

}  // namespace tavo::test
