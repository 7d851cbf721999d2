#pragma once
// Binds GetComPortList of the serial port list library by name at the first
// call, as the programs that list ports do. A library or entry point that
// cannot be bound gives kPortListNotLoaded, which callers treat like any other
// negative result.

#include <cstdint>
#include <string>
#include <vector>

#include "portlist/tavohwp.h"

namespace tavo {

// Result when the library or its GetComPortList cannot be bound.
constexpr std::int32_t kPortListNotLoaded = -9;

// The message of a failed port list: "Unable to query registry for configured
// serial ports!", and after a blank line the loader's reason when the program's
// library could not be bound, else, when the port map cannot be read now, the
// path that fails and the system's reason.
std::string PortListFailureText();

class PortListLoader {
  public:
    explicit PortListLoader(std::string libraryPath);
    ~PortListLoader();
    PortListLoader(const PortListLoader&) = delete;
    PortListLoader& operator=(const PortListLoader&) = delete;

    // libtavohwp.so in the program folder, shared by the whole program.
    static PortListLoader& ProgramLibrary();

    // Calls the library's GetComPortList; the library is loaded at the first call only.
    std::int32_t GetComPortList(TavoStringArray** ports);

    // The port list as the programs use it: an array of one empty element at
    // index 0 handed to GetComPortList, then every slot from the lower to the
    // upper bound (empty slots included; callers skip them). On a negative
    // result slots is left empty.
    std::int32_t GetComPortSlots(std::vector<std::string>& slots);

    // Why the last binding failed (empty when it did not).
    const std::string& LoadError() const { return loadError_; }

  private:
    bool Bind();

    std::string path_;
    bool tried_ = false;
    void* handle_ = nullptr;
    TavoGetComPortListFn function_ = nullptr;
    std::string loadError_;
};

}  // namespace tavo
