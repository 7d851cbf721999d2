#include "portlist/PortListLoader.h"

#include <dlfcn.h>

#include <memory>
#include <utility>

#include "link/PortMap.h"
#include "link/ProgramInfo.h"

namespace tavo {

std::string PortListFailureText() {
    std::string text = "Unable to query registry for configured serial ports!";
    // The library's result code does not carry the reason: a library that did
    // not load has its loader's, else the map is asked again.
    std::string why = PortListLoader::ProgramLibrary().LoadError();
    if (why.empty()) why = PortMapProblem();
    if (!why.empty()) text += "\r\n\r\n" + why;
    return text;
}

PortListLoader::PortListLoader(std::string libraryPath) : path_(std::move(libraryPath)) {}

PortListLoader::~PortListLoader() {
    if (handle_) ::dlclose(handle_);
}

PortListLoader& PortListLoader::ProgramLibrary() {
    static PortListLoader loader(InProgramFolder("libtavohwp.so"));
    return loader;
}

bool PortListLoader::Bind() {
    if (tried_) return function_ != nullptr;
    tried_ = true;
    handle_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = ::dlerror();
        loadError_ = why ? why : "cannot load " + path_;
        return false;
    }
    ::dlerror();
    function_ = reinterpret_cast<TavoGetComPortListFn>(::dlsym(handle_, "GetComPortList"));
    if (!function_) {
        const char* why = ::dlerror();
        loadError_ = why ? why : "no GetComPortList in " + path_;
    }
    return function_ != nullptr;
}

std::int32_t PortListLoader::GetComPortList(TavoStringArray** ports) {
    if (!Bind()) return kPortListNotLoaded;
    return function_(ports);
}

std::int32_t PortListLoader::GetComPortSlots(std::vector<std::string>& slots) {
    slots.clear();
    std::unique_ptr<TavoStringArray, decltype(&TavoStringArrayDestroy)> array(TavoStringArrayCreate(0, 1),
                                                                              &TavoStringArrayDestroy);
    if (!array) return TAVO_PORTLIST_NO_MEMORY;
    TavoStringArray* raw = array.get();
    std::int32_t result = GetComPortList(&raw);
    if (result < 0) return result;
    for (std::int64_t i = raw->lowerBound; i <= TavoStringArrayUpperBound(raw); ++i)
        slots.emplace_back(TavoStringArrayAt(raw, i));
    return result;
}

}  // namespace tavo
